#pragma once
// The installed OPOS as zorv-vbs --components prints it on Windows, in French:
// the registered control ProgIDs, then the logical devices by kind.
#include <string>

#include "hardware/discovery/installed/installed_opos.h"

namespace zorv::opos::installed {

// "32 bits", "64 bits" or "32 et 64 bits".
std::string ViewsText(unsigned views);

// Every line ends with a newline; an empty part says that nothing was found.
std::string FormatInstallation(const OposInstallation& installation);

} // namespace zorv::opos::installed
