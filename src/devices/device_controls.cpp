#include "devices/device_controls.h"

namespace zorv::devices {

TZORVScanner::TZORVScanner(TComponent* owner)
    : TZORVDeviceControl(owner, KindOf(DeviceKindId::Scanner),
                         {&OnDataEvent, &OnDirectIOEvent, &OnErrorEvent, &OnStatusUpdateEvent}) {}

TZORVPrinter::TZORVPrinter(TComponent* owner)
    : TZORVDeviceControl(owner, KindOf(DeviceKindId::Printer),
                         {&OnDirectIOEvent, &OnErrorEvent, &OnOutputCompleteEvent, &OnStatusUpdateEvent}) {}

TZORVLineDisplay::TZORVLineDisplay(TComponent* owner)
    : TZORVDeviceControl(owner, KindOf(DeviceKindId::LineDisplay), {&OnDirectIOEvent, &OnStatusUpdateEvent}) {}

TZORVKeylock::TZORVKeylock(TComponent* owner)
    : TZORVDeviceControl(owner, KindOf(DeviceKindId::Keylock),
                         {&OnStatusUpdateEvent, &OnDirectIOEvent, &OnDataEvent}) {}

TZORVMSR::TZORVMSR(TComponent* owner)
    : TZORVDeviceControl(owner, KindOf(DeviceKindId::MSR), {&OnDataEvent, &OnDirectIOEvent, &OnErrorEvent}) {}

TZORVPOSKeyboard::TZORVPOSKeyboard(TComponent* owner)
    : TZORVDeviceControl(owner, KindOf(DeviceKindId::POSKeyboard),
                         {&OnDataEvent, &OnDirectIOEvent, &OnErrorEvent, &OnStatusUpdateEvent}) {}

TZORVCashDrawer::TZORVCashDrawer(TComponent* owner)
    : TZORVDeviceControl(owner, KindOf(DeviceKindId::CashDrawer), {&OnDirectIOEvent, &OnStatusUpdateEvent}) {}

} // namespace zorv::devices
