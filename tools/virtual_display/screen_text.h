#pragma once
// The screen as text for a terminal: the rows in a frame, then the cursor and
// settings on one line.
#include <string>

#include "protocols/display/screen.h"

namespace zorv::tools {

std::string FramedScreen(const opos::display::Screen& screen);

} // namespace zorv::tools
