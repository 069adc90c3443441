#include "component_listing.h"

#include <iostream>

#include "platform/com/apartment.h"
#include "platform/com/class_table.h"
#include "platform/com/component_report.h"

int ListComponents() {
    zorv::com::EnterApartment();
    for (const std::string& line : zorv::com::ComponentReportLines())
        std::cout << line << '\n';
    std::cout.flush();
    const bool clean = zorv::com::ComponentDiagnostics().empty();
    zorv::com::LeaveApartment();
    return clean ? 0 : 1;
}
