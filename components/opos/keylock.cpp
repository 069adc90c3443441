// The keylock: three positions, a key turn reported as a status update.
#include <utility>

#include "device.h"
#include "simulation_commands.h"

namespace zorv::opos {
namespace {

class Keylock final : public KindBehaviour {
public:
    void Opened(Device&) override { armed_ = 0; }

    std::optional<LONG> Simulate(Device& device, LONG command, LONG& data, std::u16string&) override {
        if (command != kSimInput && command != kSimArmWait)
            return std::nullopt;
        if (data < LOCK_KP_LOCK || data > device.Long(Prop::PositionCount))
            return OPOS_E_ILLEGAL;
        if (command == kSimArmWait)
            armed_ = data;
        else
            Turn(device, data);
        return OPOS_SUCCESS;
    }

    // The key can only move during the wait if a turn was armed for it: in
    // one thread nothing else happens meanwhile, so the wait ends at once.
    LONG Wait(Device& device, LONG position, LONG timeout) {
        if (const LONG refused = device.Refusal())
            return refused;
        if (timeout < OPOS_FOREVER || position < LOCK_KP_ANY || position > device.Long(Prop::PositionCount))
            return OPOS_E_ILLEGAL;
        if (position != LOCK_KP_ANY && device.Long(Prop::KeyPosition) == position)
            return OPOS_SUCCESS;
        if (armed_ != 0)
            Turn(device, std::exchange(armed_, 0));
        else
            return OPOS_E_TIMEOUT;
        return position == LOCK_KP_ANY || device.Long(Prop::KeyPosition) == position ? OPOS_SUCCESS
                                                                                     : OPOS_E_TIMEOUT;
    }

private:
    // The key moves whether or not anyone listens; only an enabled device tells.
    void Turn(Device& device, LONG position) {
        if (device.Long(Prop::KeyPosition) == position)
            return;
        device.Set(Prop::KeyPosition, position);
        device.StatusUpdate(position);
    }

    LONG armed_ = 0;
};

LONG WaitForKeylockChange(Device& device, const com::DispatchArgs& args) {
    args.ExpectCount(2, 2);
    auto& keylock = static_cast<Keylock&>(device.Behaviour());
    return device.Finish(keylock.Wait(device, args.Long(0), args.Long(1)));
}

constexpr PropertyRow kProperties[] = {
    {Prop::KeyPosition, Long(LOCK_KP_NORM)},
    {Prop::PositionCount, Long(3)},
};

constexpr MethodRow kMethods[] = {
    {u"WaitForKeylockChange", WaitForKeylockChange},
};

} // namespace

KindRows KeylockRows() {
    return {kProperties, kMethods, [] { return std::unique_ptr<KindBehaviour>(new Keylock); }};
}

} // namespace zorv::opos
