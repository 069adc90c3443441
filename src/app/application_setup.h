#pragma once
// What the program sets on the application before any window exists.
class QApplication;

namespace zorv::app {

// The window's font for every widget and box, and Qt's own texts (standard
// buttons, input boxes) in French. Answers whether Qt's French texts were found.
bool SetUpApplication(QApplication& application);

} // namespace zorv::app
