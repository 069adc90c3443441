#pragma once
// The message shown when start-up found no device kind at all, just before
// the program ends: which components were looked for, where, and what went
// wrong loading them.
#include <string>

namespace zorv::app {

std::u16string NoDeviceKindText();

} // namespace zorv::app
