#include "app/device_event_handling.h"

#include "devices/olectrls2/handler_slot.h"

namespace zorv::app {
namespace {

using devices::DeviceKindId;

struct EventHandling {
    DeviceKindId kind;
    bool rearm;
};

// All handlers of one kind do the same: the kind decides.
constexpr EventHandling kHandling[] = {
    {DeviceKindId::Scanner, true},     {DeviceKindId::Printer, false}, {DeviceKindId::LineDisplay, true},
    {DeviceKindId::Keylock, true},     {DeviceKindId::MSR, true},      {DeviceKindId::POSKeyboard, true},
    {DeviceKindId::CashDrawer, false},
};

} // namespace

bool RearmsDataEvents(DeviceKindId kind) {
    for (const EventHandling& handling : kHandling)
        if (handling.kind == kind)
            return handling.rearm;
    return false;
}

void ConnectDeviceEventHandlers(devices::TZORVDeviceControl& control,
                                const std::function<void(DeviceKindId kind)>& handler) {
    const DeviceKindId kind = control.Kind().id;
    for (devices::HandlerSlotBase* slot : control.HandlerSlots())
        slot->BindSenderOnly([handler, kind](devices::TOleControl*) { handler(kind); });
}

} // namespace zorv::app
