#pragma once
// OPOS constants of the cash drawer.
#include "platform/com/types.h"

namespace zorv::views::opos {

// StatusUpdateEvent
constexpr LONG CASH_SUE_DRAWERCLOSED = 0;
constexpr LONG CASH_SUE_DRAWEROPEN = 1;

} // namespace zorv::views::opos
