#pragma once
// The window's handling of device events: every slot of every kind gets a
// handler; the kinds whose row says so first set DataEventEnabled of the
// device that raised the event back to true; then the current kind is
// refreshed.
#include <functional>

#include "devices/device_control.h"
#include "devices/olectrls2/handler_slot.h"

namespace zorv::app {

using DeviceEventHandler = std::function<void(devices::DeviceKindId kind, devices::DeviceEventId event,
                                              const devices::EventValues& values)>;

// Binds `handler` to every handler slot of `control`, with the control's kind
// and the slot's event.
void ConnectDeviceEventHandlers(devices::TZORVDeviceControl& control, const DeviceEventHandler& handler);

} // namespace zorv::app
