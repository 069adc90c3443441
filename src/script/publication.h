#pragma once
// Publication of a device object to the object registry, so that every
// script engine can fetch the very object the window drives.
#include <string_view>

#include "platform/com/dispatch.h"

namespace zorv::script {

inline constexpr std::u16string_view kRegistryProgId = u"Morvel.Registry";

// Calls AddObject(registry name, device object), both by reference. A
// refusal is shown here (error icon, "<registry name> : <error's text>") and
// never goes further.
void PublishDeviceObject(IDispatch* registry, std::u16string_view registryName, IDispatch* deviceObject) noexcept;

} // namespace zorv::script
