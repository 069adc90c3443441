#pragma once
// What each button of the simulator panel plays, shown as its tooltip.
#include <QString>

namespace zorv::app {

// Empty for a button the table does not know.
QString SimulatorButtonTip(const QString& buttonName);

} // namespace zorv::app
