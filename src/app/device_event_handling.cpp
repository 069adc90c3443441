#include "app/device_event_handling.h"

namespace zorv::app {

void ConnectDeviceEventHandlers(devices::TZORVDeviceControl& control, const DeviceEventHandler& handler) {
    const devices::DeviceKind& kind = control.Kind();
    const auto& slots = control.HandlerSlots();
    for (std::size_t i = 0; i < slots.size() && i < kind.events.size(); ++i) {
        const devices::DeviceEventId event = kind.events[i];
        slots[i]->BindObserving(
            [handler, id = kind.id, event](devices::TOleControl*, const devices::EventValues& values) {
                handler(id, event, values);
            });
    }
}

} // namespace zorv::app
