#pragma once
// OPOS constants of the POS keyboard.
#include "platform/com/types.h"

namespace zorv::views::opos {

// EventTypes
constexpr LONG KBD_ET_DOWN = 1;
constexpr LONG KBD_ET_DOWN_UP = 2;

} // namespace zorv::views::opos
