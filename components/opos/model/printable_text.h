#pragma once
// Texts that name what a user typed (a path, a connection) are shown on one
// line of a property page or a log: control characters in them are written
// as escapes (\n, \t, \x1B) rather than moving the cursor or ending the line.
#include <string>
#include <string_view>

namespace zorv::opos {

std::u16string EscapedControls(std::u16string_view text);

} // namespace zorv::opos
