#pragma once
// The catalogue routine of any kind (ShowScannerProperties ... ShowCashDrawerProperties
// are this one routine run on their kind's table): the common page, then the
// kind's specific rows.
#include "devices/device_kinds.h"
#include "views/common_properties_view.h"
#include "views/kind_properties_view.h"
#include "views/run_catalogue.h"

namespace zorv::views {

// Fetches the device object through `deviceObject` for the common part and
// again before each catalogue entry's read. A failure raises EOleError and
// ends the routine; the rows already added stay.
void ShowKindProperties(devices::DeviceKindId kind, const DeviceObjectSource& deviceObject,
                        CommonPropertiesView& common, SpecificPropertiesView& specific);

} // namespace zorv::views
