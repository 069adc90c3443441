// The keylock: positions, or an electronic key's value, reported as status
// updates, and a wait for the key to reach a position or to change. The
// device is only ever shared: no application may claim it.
#include "kinds/kind_table.h"
#include "model/device.h"

namespace zorv::opos {
namespace {

bool Electronic(const Device& device) {
    return device.Long(Prop::CapKeylockType) == LOCK_KT_ELECTRONIC;
}

// The waits run the apartment meanwhile, so a change reported by the back
// end (a hand, the simulator panel, a change armed for the wait) ends them.
LONG WaitForPosition(Device& device, LONG position, LONG timeout) {
    if (position < LOCK_KP_ANY || position > device.Long(Prop::PositionCount))
        return OPOS_E_ILLEGAL;
    const LONG start = device.Long(Prop::KeyPosition);
    if (position != LOCK_KP_ANY && start == position)
        return OPOS_SUCCESS;
    const bool reached = device.WaitFor(
        [&] {
            const LONG now = device.Long(Prop::KeyPosition);
            return position == LOCK_KP_ANY ? now != start : now == position;
        },
        timeout);
    return reached ? OPOS_SUCCESS : OPOS_E_TIMEOUT;
}

// An electronic keylock has no positions to reach: only a new key value ends the wait.
LONG WaitForKey(Device& device, LONG position, LONG timeout) {
    if (position != LOCK_KP_ELECTRONIC)
        return OPOS_E_ILLEGAL;
    const std::u16string start = device.Text(Prop::ElectronicKeyValue);
    const bool changed =
        device.WaitFor([&] { return device.Text(Prop::ElectronicKeyValue) != start; }, timeout);
    return changed ? OPOS_SUCCESS : OPOS_E_TIMEOUT;
}

LONG Wait(Device& device, LONG position, LONG timeout) {
    if (const LONG refused = device.Refusal())
        return refused;
    if (timeout < OPOS_FOREVER)
        return OPOS_E_ILLEGAL;
    return Electronic(device) ? WaitForKey(device, position, timeout)
                              : WaitForPosition(device, position, timeout);
}

LONG WaitForKeylockChange(Device& device, const com::DispatchArgs& args) {
    args.ExpectCount(2, 2);
    return device.Finish(Wait(device, args.Long(0), args.Long(1)));
}

class Keylock final : public KindBehaviour {
public:
    bool Claimable() const override { return false; }

    // KeyPosition and PositionCount mean nothing to an electronic keylock
    // and read 0, whatever the profile says.
    void Opened(Device& device) override {
        device.Set(Prop::KeylockType, device.Long(Prop::CapKeylockType));
        if (Electronic(device)) {
            device.Set(Prop::PositionCount, LONG{0});
            device.Set(Prop::KeyPosition, LOCK_KP_ELECTRONIC);
        }
    }
};

constexpr PropertyRow kProperties[] = {
    {Prop::KeyPosition, Long(LOCK_KP_NORM)},        {Prop::PositionCount, Long(3)},
    {Prop::CapKeylockType, Long(LOCK_KT_STANDARD)}, {Prop::KeylockType, Long(LOCK_KT_STANDARD)},
    {Prop::ElectronicKeyValue, Text(u"")},
};

constexpr MethodRow kMethods[] = {
    {u"WaitForKeylockChange", WaitForKeylockChange},
};

} // namespace

KindRows KeylockRows() {
    return {kProperties, kMethods, [] { return std::unique_ptr<KindBehaviour>(new Keylock); }};
}

} // namespace zorv::opos
