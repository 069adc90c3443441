#pragma once
// A kind's catalogue routine: the common page, then the kind's specific rows.
#include "devices/device_kinds.h"
#include "views/common_properties_view.h"
#include "views/run_catalogue.h"
#include "views/kind_properties_view.h"

namespace zorv::views {

// Fetches the device object through `deviceObject` for the common part and
// again before each catalogue entry's read. A failure raises EOleError and
// ends the routine; the rows already added stay.
void ShowKindProperties(devices::DeviceKindId kind, const DeviceObjectSource& deviceObject,
                        CommonPropertiesView& common, SpecificPropertiesView& specific);

void ShowScannerProperties(const DeviceObjectSource& deviceObject, CommonPropertiesView& common,
                           SpecificPropertiesView& specific);
void ShowPrinterProperties(const DeviceObjectSource& deviceObject, CommonPropertiesView& common,
                           SpecificPropertiesView& specific);
void ShowLineDisplayProperties(const DeviceObjectSource& deviceObject, CommonPropertiesView& common,
                               SpecificPropertiesView& specific);
void ShowKeylockProperties(const DeviceObjectSource& deviceObject, CommonPropertiesView& common,
                           SpecificPropertiesView& specific);
void ShowMSRProperties(const DeviceObjectSource& deviceObject, CommonPropertiesView& common,
                       SpecificPropertiesView& specific);
void ShowPOSKeyboardProperties(const DeviceObjectSource& deviceObject, CommonPropertiesView& common,
                               SpecificPropertiesView& specific);
void ShowCashDrawerProperties(const DeviceObjectSource& deviceObject, CommonPropertiesView& common,
                              SpecificPropertiesView& specific);

} // namespace zorv::views
