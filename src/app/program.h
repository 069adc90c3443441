#pragma once
// ZORVApp once the application object, the apartment and the message-box seam
// are in place: the main window, the hidden logical-device-name dialog and
// the message loop.

namespace zorv::app {

// The process's exit status: the message loop's, or 1 when start-up found
// no device kind and the program ends without showing its window.
int RunProgram();

} // namespace zorv::app
