#pragma once
// A 32-bit code or number as the pages write it: "-" for a negative value,
// then the digits, no leading zeros, no grouping.
#include <string>

#include "platform/com/types.h"

namespace zorv::views {

std::u16string DecimalText(LONG value);

} // namespace zorv::views
