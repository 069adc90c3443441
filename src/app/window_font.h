#pragma once
#include <QFont>

namespace zorv::app {

// "MS Sans Serif" at 8 points where it exists; the platform's sans-serif otherwise.
QFont WindowFont();

} // namespace zorv::app
