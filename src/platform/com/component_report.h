#pragma once
// The component folders as the operator reads them: what each folder serves,
// then every problem met. zorv-vbs --components prints it; the window's About
// box shows it.
#include <string>
#include <vector>

namespace zorv::com {

std::vector<std::string> ComponentReportLines();

} // namespace zorv::com
