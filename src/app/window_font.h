#pragma once
#include <QFont>

namespace zorv::app {

// "MS Sans Serif" at 8 points where it exists, a face of like metrics otherwise.
QFont WindowFont();

} // namespace zorv::app
