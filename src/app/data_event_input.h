#pragma once
// What a data event brought, read from the device when the event comes, so
// that the event log shows it: the next input would replace it.
#include "devices/device_kinds.h"
#include "platform/com/dispatch.h"
#include "views/event_log.h"

namespace zorv::app {

// Fills `entry`'s input from `device` for the kinds whose data events carry
// one (scanner, MSR, POS keyboard); a property that cannot be read leaves it out.
void ReadDataEventInput(devices::DeviceKindId kind, IDispatch* device, views::EventLogEntry& entry);

} // namespace zorv::app
