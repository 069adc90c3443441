#include "devices/device_controls.h"

namespace zorv::devices {

template <class Control> TZORVDeviceControl* CreateControl(TComponent* owner) {
    return TOleControl::Create<Control>(owner);
}

template TZORVDeviceControl* CreateControl<TZORVScanner>(TComponent*);
template TZORVDeviceControl* CreateControl<TZORVPrinter>(TComponent*);
template TZORVDeviceControl* CreateControl<TZORVLineDisplay>(TComponent*);
template TZORVDeviceControl* CreateControl<TZORVKeylock>(TComponent*);
template TZORVDeviceControl* CreateControl<TZORVMSR>(TComponent*);
template TZORVDeviceControl* CreateControl<TZORVPOSKeyboard>(TComponent*);
template TZORVDeviceControl* CreateControl<TZORVCashDrawer>(TComponent*);

TZORVScanner::TZORVScanner(TComponent* owner)
    : TZORVDeviceControl(owner, KindOf(DeviceKindId::Scanner),
                         {&OnDataEvent, &OnDirectIOEvent, &OnErrorEvent, &OnStatusUpdateEvent}) {}

TZORVPrinter::TZORVPrinter(TComponent* owner)
    : TZORVDeviceControl(owner, KindOf(DeviceKindId::Printer),
                         {&OnDirectIOEvent, &OnErrorEvent, &OnOutputCompleteEvent, &OnStatusUpdateEvent}) {}

TZORVLineDisplay::TZORVLineDisplay(TComponent* owner)
    : TZORVDeviceControl(owner, KindOf(DeviceKindId::LineDisplay), {&OnDirectIOEvent, &OnStatusUpdateEvent}) {
}

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
