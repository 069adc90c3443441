#include "views/kind_properties.h"

#include "views/catalogues.h"
#include "views/common_properties.h"

namespace zorv::views {

using devices::DeviceKindId;

void ShowKindProperties(DeviceKindId kind, const DeviceObjectSource& deviceObject,
                        CommonPropertiesView& common, SpecificPropertiesView& specific) {
    ShowCommonProperties(deviceObject().Get(), common, specific);
    RunCatalogue(CatalogueOf(kind), deviceObject, specific);
}

void ShowScannerProperties(const DeviceObjectSource& deviceObject, CommonPropertiesView& common,
                           SpecificPropertiesView& specific) {
    ShowKindProperties(DeviceKindId::Scanner, deviceObject, common, specific);
}

void ShowPrinterProperties(const DeviceObjectSource& deviceObject, CommonPropertiesView& common,
                           SpecificPropertiesView& specific) {
    ShowKindProperties(DeviceKindId::Printer, deviceObject, common, specific);
}

void ShowLineDisplayProperties(const DeviceObjectSource& deviceObject, CommonPropertiesView& common,
                               SpecificPropertiesView& specific) {
    ShowKindProperties(DeviceKindId::LineDisplay, deviceObject, common, specific);
}

void ShowKeylockProperties(const DeviceObjectSource& deviceObject, CommonPropertiesView& common,
                           SpecificPropertiesView& specific) {
    ShowKindProperties(DeviceKindId::Keylock, deviceObject, common, specific);
}

void ShowMSRProperties(const DeviceObjectSource& deviceObject, CommonPropertiesView& common,
                       SpecificPropertiesView& specific) {
    ShowKindProperties(DeviceKindId::MSR, deviceObject, common, specific);
}

void ShowPOSKeyboardProperties(const DeviceObjectSource& deviceObject, CommonPropertiesView& common,
                               SpecificPropertiesView& specific) {
    ShowKindProperties(DeviceKindId::POSKeyboard, deviceObject, common, specific);
}

void ShowCashDrawerProperties(const DeviceObjectSource& deviceObject, CommonPropertiesView& common,
                              SpecificPropertiesView& specific) {
    ShowKindProperties(DeviceKindId::CashDrawer, deviceObject, common, specific);
}

} // namespace zorv::views
