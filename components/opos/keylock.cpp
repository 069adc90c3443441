// The keylock: positions reported as status updates, and a wait for the key
// to reach one.
#include "device.h"

namespace zorv::opos {
namespace {

// The wait runs the apartment meanwhile, so a turn reported by the back
// end (a hand, the simulator panel, a turn armed for the wait) ends it.
LONG Wait(Device& device, LONG position, LONG timeout) {
    if (const LONG refused = device.Refusal())
        return refused;
    if (timeout < OPOS_FOREVER || position < LOCK_KP_ANY || position > device.Long(Prop::PositionCount))
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

LONG WaitForKeylockChange(Device& device, const com::DispatchArgs& args) {
    args.ExpectCount(2, 2);
    return device.Finish(Wait(device, args.Long(0), args.Long(1)));
}

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
    return {kProperties, kMethods, [] { return std::make_unique<KindBehaviour>(); }};
}

} // namespace zorv::opos
