#pragma once
// The profile keys of devices read from Linux input nodes: `layout`,
// `key_map` and `positions`. Windows has no such devices, and there these
// keys make the profile unusable with the reason.
#include <string>
#include <string_view>

#include "kinds/kind_table.h"

namespace zorv::opos::real {

// Empty when the value is usable.
std::string CheckLayout(Kind kind, std::string_view text);
std::string CheckKeyMap(Kind kind, std::string_view text);
std::string CheckPositions(Kind kind, std::string_view text);
// A keylock has as many positions as its highest configured one, at least
// the standard three.
LONG KeylockPositionCount(std::string_view positions);

} // namespace zorv::opos::real
