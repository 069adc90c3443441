#include "component_listing.h"

#include <iostream>

#include "platform/com/apartment.h"
#include "platform/com/class_table.h"
#include "platform/com/component_report.h"
#ifdef _WIN32
#include "hardware/discovery/installed/installed_opos_report.h"
#include "hardware/discovery/installed/windows_registry.h"
#endif

int ListComponents() {
    CoInitialize(nullptr);
    for (const std::string& line : zorv::com::ComponentReportLines())
        std::cout << line << '\n';
#ifdef _WIN32
    // On Windows the machine's own OPOS counts too: installed controls and
    // service objects are what the program drives before its own components.
    std::cout << zorv::opos::installed::FormatInstallation(
        zorv::opos::installed::InstalledOposOfThisMachine());
#endif
    std::cout.flush();
    const bool clean = zorv::com::ComponentDiagnostics().empty();
    CoUninitialize();
    return clean ? 0 : 1;
}
