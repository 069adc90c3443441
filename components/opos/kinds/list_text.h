#pragma once
// The comma-separated number lists that OPOS list properties hold ("42,56").
#include <string_view>

#include "platform/com/types.h"

namespace zorv::opos {

bool ListHolds(std::u16string_view list, LONG value);
// The largest number in the list; 0 for an empty list.
LONG ListLargest(std::u16string_view list);

} // namespace zorv::opos
