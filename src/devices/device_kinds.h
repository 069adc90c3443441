#pragma once
// The device kinds, one row each, in the order every loop over kinds visits
// them. A row holds all the program knows of its kind; adding a kind is
// adding a row (and its control class).
#include <cstddef>
#include <iterator>
#include <span>
#include <string_view>

namespace zorv::devices {

class TComponent;
class TZORVDeviceControl;

enum class OpenStep { Claim, EnableDevice, EnableDataEvents };

enum class DeviceKindId { Scanner, Printer, LineDisplay, Keylock, MSR, POSKeyboard, CashDrawer };

// The events a kind's control object raises.
enum class DeviceEventId { DataEvent, DirectIOEvent, ErrorEvent, OutputCompleteEvent, StatusUpdateEvent };

// Constructs the kind's control and creates its object; raises what the creation raises.
using ControlFactory = TZORVDeviceControl* (*)(TComponent* owner);

struct DeviceKind {
    DeviceKindId id;
    // The kind's key everywhere: menu caption, current device, script file
    // name, script variable name. Compared exactly.
    std::u16string_view displayName;
    // "OPOS " followed by the display name: the name the device object is published under.
    std::u16string_view registryName;
    std::u16string_view progId;
    // What OpenDevice does after Open, in this order.
    std::span<const OpenStep> openSteps;
    // The events in slot order: dispatch identifiers 1, 2, ...
    std::span<const DeviceEventId> events;
    // Whether the window sets DataEventEnabled back to true on each of its events.
    bool rearmsDataEvents;
    ControlFactory create;
};

// Defined beside the control classes.
template <class Control> TZORVDeviceControl* CreateControl(TComponent* owner);
class TZORVScanner;
class TZORVPrinter;
class TZORVLineDisplay;
class TZORVKeylock;
class TZORVMSR;
class TZORVPOSKeyboard;
class TZORVCashDrawer;

namespace kind_rows {

using enum OpenStep;
using enum DeviceEventId;

inline constexpr OpenStep kClaimEnableArm[] = {Claim, EnableDevice, EnableDataEvents};
inline constexpr OpenStep kClaimEnable[] = {Claim, EnableDevice};
inline constexpr OpenStep kEnable[] = {EnableDevice};

inline constexpr DeviceEventId kScannerEvents[] = {DataEvent, DirectIOEvent, ErrorEvent, StatusUpdateEvent};
inline constexpr DeviceEventId kPrinterEvents[] = {DirectIOEvent, ErrorEvent, OutputCompleteEvent,
                                                   StatusUpdateEvent};
inline constexpr DeviceEventId kDirectIOStatusEvents[] = {DirectIOEvent, StatusUpdateEvent};
inline constexpr DeviceEventId kKeylockEvents[] = {StatusUpdateEvent, DirectIOEvent, DataEvent};
inline constexpr DeviceEventId kMSREvents[] = {DataEvent, DirectIOEvent, ErrorEvent};

inline constexpr DeviceKind kKinds[] = {
    {DeviceKindId::Scanner, u"Scanner", u"OPOS Scanner", u"OPOS.Scanner", kClaimEnableArm, kScannerEvents,
     true, CreateControl<TZORVScanner>},
    {DeviceKindId::Printer, u"Printer", u"OPOS Printer", u"OPOS.POSPrinter", kClaimEnable, kPrinterEvents,
     false, CreateControl<TZORVPrinter>},
    {DeviceKindId::LineDisplay, u"LineDisplay", u"OPOS LineDisplay", u"OPOS.LineDisplay", kClaimEnable,
     kDirectIOStatusEvents, true, CreateControl<TZORVLineDisplay>},
    {DeviceKindId::Keylock, u"Keylock", u"OPOS Keylock", u"OPOS.Keylock", kEnable, kKeylockEvents, true,
     CreateControl<TZORVKeylock>},
    {DeviceKindId::MSR, u"MSR", u"OPOS MSR", u"OPOS.MSR", kClaimEnableArm, kMSREvents, true,
     CreateControl<TZORVMSR>},
    {DeviceKindId::POSKeyboard, u"POSKeyboard", u"OPOS POSKeyboard", u"OPOS.POSKeyboard", kClaimEnableArm,
     kScannerEvents, true, CreateControl<TZORVPOSKeyboard>},
    {DeviceKindId::CashDrawer, u"CashDrawer", u"OPOS CashDrawer", u"OPOS.CashDrawer", kEnable,
     kDirectIOStatusEvents, false, CreateControl<TZORVCashDrawer>},
};

// KindOf indexes the rows by identifier.
consteval bool RowsInIdentifierOrder() {
    for (std::size_t i = 0; i < std::size(kKinds); ++i)
        if (static_cast<std::size_t>(kKinds[i].id) != i)
            return false;
    return true;
}
static_assert(RowsInIdentifierOrder());

} // namespace kind_rows

inline constexpr std::size_t kKindCount = std::size(kind_rows::kKinds);

constexpr std::span<const DeviceKind, kKindCount> DeviceKinds() {
    return kind_rows::kKinds;
}
constexpr const DeviceKind& KindOf(DeviceKindId id) {
    return kind_rows::kKinds[static_cast<std::size_t>(id)];
}
constexpr std::size_t IndexOf(DeviceKindId id) {
    return static_cast<std::size_t>(id);
}
// The kind whose display name is exactly `displayName`, or none.
const DeviceKind* FindKind(std::u16string_view displayName);
// "DataEvent", "DirectIOEvent", ...
std::u16string_view EventName(DeviceEventId event);

} // namespace zorv::devices
