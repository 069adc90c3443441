#pragma once
// The handler types of the device events: every handler receives the device
// control that raised the event, then the event's values. By-reference
// values are references: what the handler writes goes back to the device.
#include <string>

#include "devices/olectrls2/handler_slot.h"

namespace zorv::devices {

// Status
using DataEventHandler = HandlerSlot<LONG>;
// EventNumber, pData, pString
using DirectIOEventHandler = HandlerSlot<LONG, LONG&, std::u16string&>;
// ResultCode, ResultCodeExtended, ErrorLocus, pErrorResponse
using ErrorEventHandler = HandlerSlot<LONG, LONG, LONG, LONG&>;
// OutputID
using OutputCompleteEventHandler = HandlerSlot<LONG>;
// Data (Status for the line display and the printer)
using StatusUpdateEventHandler = HandlerSlot<LONG>;
// The scanner passes its direct-I/O data by value: EventNumber, Data, pString.
using ScannerDirectIOEventHandler = HandlerSlot<LONG, LONG, std::u16string&>;

using TZORVScannerDataEvent = DataEventHandler;
using TZORVScannerDirectIOEvent = ScannerDirectIOEventHandler;
using TZORVScannerErrorEvent = ErrorEventHandler; // its response is named pResponse
using TZORVScannerStatusUpdateEvent = StatusUpdateEventHandler;

using TZORVPrinterDirectIOEvent = DirectIOEventHandler;
using TZORVPrinterErrorEvent = ErrorEventHandler;
using TZORVPrinterOutputCompleteEvent = OutputCompleteEventHandler;
using TZORVPrinterStatusUpdateEvent = StatusUpdateEventHandler;

using TZORVLineDisplayDirectIOEvent = DirectIOEventHandler;
using TZORVLineDisplayStatusUpdateEvent = StatusUpdateEventHandler;

using TZORVKeylockStatusUpdateEvent = StatusUpdateEventHandler;
using TZORVKeylockDirectIOEvent = DirectIOEventHandler;
using TZORVKeylockDataEvent = DataEventHandler;

using TZORVMSRDataEvent = DataEventHandler;
using TZORVMSRDirectIOEvent = DirectIOEventHandler;
using TZORVMSRErrorEvent = ErrorEventHandler;

using TZORVPOSKeyboardDataEvent = DataEventHandler;
using TZORVPOSKeyboardDirectIOEvent = DirectIOEventHandler;
using TZORVPOSKeyboardErrorEvent = ErrorEventHandler;
using TZORVPOSKeyboardStatusUpdateEvent = StatusUpdateEventHandler;

using TZORVCashDrawerDirectIOEvent = DirectIOEventHandler;
using TZORVCashDrawerStatusUpdateEvent = StatusUpdateEventHandler;

} // namespace zorv::devices
