#pragma once
// OPOS constants of the keylock.
#include "platform/com/types.h"

namespace zorv::views::opos {

// KeyPosition
constexpr LONG LOCK_KP_LOCK = 1;
constexpr LONG LOCK_KP_NORM = 2;
constexpr LONG LOCK_KP_SUPR = 3;

} // namespace zorv::views::opos
