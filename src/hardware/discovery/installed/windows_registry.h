#pragma once
// The system's registry as a RegistryReader, one view each (Windows only).
#include <memory>

#include "hardware/discovery/installed/installed_opos.h"

namespace zorv::opos::installed {

// Reads HKEY_CLASSES_ROOT and HKEY_LOCAL_MACHINE in the 32-bit or the 64-bit view.
std::unique_ptr<RegistryReader> MakeWindowsRegistry(unsigned view);

// The views this machine has: both on 64-bit Windows, whichever kind of
// program asks; only the 32-bit one on 32-bit Windows.
unsigned MachineViews();

// What this machine has installed, in every view it has.
OposInstallation InstalledOposOfThisMachine();

} // namespace zorv::opos::installed
