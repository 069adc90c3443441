#pragma once
// The window's handling of device events: every slot of every kind gets a
// handler; the scanner, line display, keylock, MSR and POS keyboard first set
// DataEventEnabled of the device that raised the event back to true, the
// printer and the cash drawer do not; then the current kind is refreshed.
#include <functional>

#include "devices/device_control.h"

namespace zorv::app {

bool RearmsDataEvents(devices::DeviceKindId kind);

// Binds `handler` to every handler slot of `control`, with the control's kind.
void ConnectDeviceEventHandlers(devices::TZORVDeviceControl& control,
                                const std::function<void(devices::DeviceKindId kind)>& handler);

} // namespace zorv::app
