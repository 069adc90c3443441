#pragma once
// The seven device control classes: each is its kind's row of the kind table
// and its handler slots, in slot order (dispatch identifiers 1, 2, 3, 4).
#include "devices/device_control.h"
#include "devices/event_handlers.h"

namespace zorv::devices {

class TZORVScanner final : public TZORVDeviceControl {
public:
    explicit TZORVScanner(TComponent* owner);
    TZORVScannerDataEvent OnDataEvent;
    TZORVScannerDirectIOEvent OnDirectIOEvent;
    TZORVScannerErrorEvent OnErrorEvent;
    TZORVScannerStatusUpdateEvent OnStatusUpdateEvent;
};

class TZORVPrinter final : public TZORVDeviceControl {
public:
    explicit TZORVPrinter(TComponent* owner);
    TZORVPrinterDirectIOEvent OnDirectIOEvent;
    TZORVPrinterErrorEvent OnErrorEvent;
    TZORVPrinterOutputCompleteEvent OnOutputCompleteEvent;
    TZORVPrinterStatusUpdateEvent OnStatusUpdateEvent;
};

class TZORVLineDisplay final : public TZORVDeviceControl {
public:
    explicit TZORVLineDisplay(TComponent* owner);
    TZORVLineDisplayDirectIOEvent OnDirectIOEvent;
    TZORVLineDisplayStatusUpdateEvent OnStatusUpdateEvent;
};

class TZORVKeylock final : public TZORVDeviceControl {
public:
    explicit TZORVKeylock(TComponent* owner);
    TZORVKeylockStatusUpdateEvent OnStatusUpdateEvent;
    TZORVKeylockDirectIOEvent OnDirectIOEvent;
    TZORVKeylockDataEvent OnDataEvent;
};

class TZORVMSR final : public TZORVDeviceControl {
public:
    explicit TZORVMSR(TComponent* owner);
    TZORVMSRDataEvent OnDataEvent;
    TZORVMSRDirectIOEvent OnDirectIOEvent;
    TZORVMSRErrorEvent OnErrorEvent;
};

class TZORVPOSKeyboard final : public TZORVDeviceControl {
public:
    explicit TZORVPOSKeyboard(TComponent* owner);
    TZORVPOSKeyboardDataEvent OnDataEvent;
    TZORVPOSKeyboardDirectIOEvent OnDirectIOEvent;
    TZORVPOSKeyboardErrorEvent OnErrorEvent;
    TZORVPOSKeyboardStatusUpdateEvent OnStatusUpdateEvent;
};

class TZORVCashDrawer final : public TZORVDeviceControl {
public:
    explicit TZORVCashDrawer(TComponent* owner);
    TZORVCashDrawerDirectIOEvent OnDirectIOEvent;
    TZORVCashDrawerStatusUpdateEvent OnStatusUpdateEvent;
};

} // namespace zorv::devices
