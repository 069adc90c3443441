#include "devices/device_kinds.h"

namespace zorv::devices {
namespace {

constexpr OpenStep kClaimEnableArm[] = {OpenStep::Claim, OpenStep::EnableDevice, OpenStep::EnableDataEvents};
constexpr OpenStep kClaimEnable[] = {OpenStep::Claim, OpenStep::EnableDevice};
constexpr OpenStep kEnable[] = {OpenStep::EnableDevice};

constexpr std::array<DeviceKind, 7> kKinds{{
    {DeviceKindId::Scanner, u"Scanner", u"OPOS Scanner", u"OPOS.Scanner", kClaimEnableArm},
    {DeviceKindId::Printer, u"Printer", u"OPOS Printer", u"OPOS.POSPrinter", kClaimEnable},
    {DeviceKindId::LineDisplay, u"LineDisplay", u"OPOS LineDisplay", u"OPOS.LineDisplay", kClaimEnable},
    {DeviceKindId::Keylock, u"Keylock", u"OPOS Keylock", u"OPOS.Keylock", kEnable},
    {DeviceKindId::MSR, u"MSR", u"OPOS MSR", u"OPOS.MSR", kClaimEnableArm},
    {DeviceKindId::POSKeyboard, u"POSKeyboard", u"OPOS POSKeyboard", u"OPOS.POSKeyboard", kClaimEnableArm},
    {DeviceKindId::CashDrawer, u"CashDrawer", u"OPOS CashDrawer", u"OPOS.CashDrawer", kEnable},
}};

} // namespace

const std::array<DeviceKind, 7>& DeviceKinds() { return kKinds; }

const DeviceKind& KindOf(DeviceKindId id) { return kKinds[static_cast<std::size_t>(id)]; }

const DeviceKind* FindKind(std::u16string_view displayName) {
    for (const DeviceKind& kind : kKinds)
        if (kind.displayName == displayName)
            return &kind;
    return nullptr;
}

} // namespace zorv::devices
