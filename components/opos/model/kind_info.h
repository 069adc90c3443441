#pragma once
// What the model knows of a device kind: what tells the seven apart is data
// (ProgID, class and event identifiers, events in slot order, exclusive use,
// property rows, methods) plus a small behaviour object for what is truly
// their own. The table itself is filled by kinds/kind_table.cpp.
#include <memory>
#include <span>
#include <string_view>

#include "platform/com/dispatch_args.h"
#include "platform/com/guid.h"
#include "model/property_names.h"
#include "model/value.h"

namespace zorv::opos {

class Device;
class KindBehaviour;

enum class Kind : std::uint8_t { Scanner, Printer, LineDisplay, Keylock, MSR, POSKeyboard, CashDrawer };

enum class Event : std::uint8_t { Data, DirectIO, Error, OutputComplete, StatusUpdate };

// How a property may be written: never (the put is refused as a missing
// member), freely, within [min, max], or by a rule of the device or its kind.
enum class Access : std::uint8_t { ReadOnly, Writable, Ranged, Custom };

struct PropertyRow {
    Prop prop;
    Initial initial;
    Access access = Access::ReadOnly;
    LONG min = 0;
    LONG max = 0;
};

// A method answers its OPOS result code, already recorded in ResultCode.
using MethodFunction = LONG (*)(Device& device, const com::DispatchArgs& args);

struct MethodRow {
    std::u16string_view name;
    MethodFunction call;
};

// What a kind's own file contributes to the table.
struct KindRows {
    std::span<const PropertyRow> properties;
    std::span<const MethodRow> methods;
    std::unique_ptr<KindBehaviour> (*makeBehaviour)();
};

struct KindInfo {
    Kind kind;
    std::u16string_view displayName;
    std::u16string_view progId;
    CLSID clsid;
    IID eventIid;
    // Slot order: the event at index i is fired with dispatch identifier i + 1.
    std::span<const Event> events;
    bool exclusive;
    KindRows rows;
};

std::span<const KindInfo> Kinds();
const KindInfo& InfoOf(Kind kind);
// The row of a property in the common table or the kind's own; none when
// the kind does not have it.
const PropertyRow* FindRow(const KindInfo& kind, Prop prop);
// 0 when the kind has no such event.
DISPID EventDispId(const KindInfo& kind, Event event);

// The rows every kind shares (kinds/common_rows.cpp).
std::span<const PropertyRow> CommonProperties();
std::span<const MethodRow> CommonMethods();

} // namespace zorv::opos
