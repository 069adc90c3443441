#pragma once
// The text every new script engine receives before the operator's: the
// script's own registry object, then one variable per present kind holding
// the device object published under the kind's registry name.
#include <string>
#include <vector>

#include "devices/device_kinds.h"

namespace zorv::script {

// `present`: the kinds whose control exists, in kind order. Every line ends with CR LF.
std::u16string BuildPreamble(const std::vector<const devices::DeviceKind*>& present);

} // namespace zorv::script
