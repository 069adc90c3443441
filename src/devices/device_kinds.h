#pragma once
// The seven device kinds, in the order every loop over kinds visits them.
#include <array>
#include <span>
#include <string_view>

namespace zorv::devices {

enum class OpenStep { Claim, EnableDevice, EnableDataEvents };

enum class DeviceKindId { Scanner, Printer, LineDisplay, Keylock, MSR, POSKeyboard, CashDrawer };

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
};

const std::array<DeviceKind, 7>& DeviceKinds();
const DeviceKind& KindOf(DeviceKindId id);
// The kind whose display name is exactly `displayName`, or none.
const DeviceKind* FindKind(std::u16string_view displayName);

} // namespace zorv::devices
