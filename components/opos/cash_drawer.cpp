// The cash drawer: opened by the application, closed by a hand.
#include <utility>

#include "device.h"
#include "simulation_commands.h"

namespace zorv::opos {
namespace {

class CashDrawer final : public KindBehaviour {
public:
    void Opened(Device&) override { closesDuringWait_ = false; }

    std::optional<LONG> Simulate(Device& device, LONG command, LONG&, std::u16string&) override {
        if (command == kSimInput)
            Shut(device);
        else if (command == kSimArmWait)
            closesDuringWait_ = true;
        else
            return std::nullopt;
        return OPOS_SUCCESS;
    }

    LONG Open(Device& device) {
        if (const LONG refused = device.Refusal())
            return refused;
        if (!device.Bool(Prop::DrawerOpened)) {
            device.Set(Prop::DrawerOpened, true);
            device.StatusUpdate(CASH_SUE_DRAWEROPEN);
        }
        return OPOS_SUCCESS;
    }

    // Nobody can close the drawer while this thread waits, unless a close
    // was armed for the wait; otherwise the wait gives up at once.
    LONG WaitForClose(Device& device, LONG beepTimeout, LONG beepFrequency, LONG beepDuration,
                      LONG beepDelay) {
        if (const LONG refused = device.Refusal())
            return refused;
        if (beepTimeout < OPOS_FOREVER || beepFrequency < 0 || beepDuration < 0 || beepDelay < 0)
            return OPOS_E_ILLEGAL;
        if (device.Bool(Prop::DrawerOpened) && std::exchange(closesDuringWait_, false))
            Shut(device);
        return device.Bool(Prop::DrawerOpened) ? OPOS_E_TIMEOUT : OPOS_SUCCESS;
    }

private:
    void Shut(Device& device) {
        if (!device.Bool(Prop::DrawerOpened))
            return;
        device.Set(Prop::DrawerOpened, false);
        device.StatusUpdate(CASH_SUE_DRAWERCLOSED);
    }

    bool closesDuringWait_ = false;
};

CashDrawer& Drawer(Device& device) {
    return static_cast<CashDrawer&>(device.Behaviour());
}

LONG OpenDrawer(Device& device, const com::DispatchArgs& args) {
    args.ExpectCount(0, 0);
    return device.Finish(Drawer(device).Open(device));
}

LONG WaitForDrawerClose(Device& device, const com::DispatchArgs& args) {
    args.ExpectCount(4, 4);
    return device.Finish(
        Drawer(device).WaitForClose(device, args.Long(0), args.Long(1), args.Long(2), args.Long(3)));
}

constexpr PropertyRow kProperties[] = {
    {Prop::CapStatus, Flag(true)},
    {Prop::DrawerOpened, Flag(false)},
};

constexpr MethodRow kMethods[] = {
    {u"OpenDrawer", OpenDrawer},
    {u"WaitForDrawerClose", WaitForDrawerClose},
};

} // namespace

KindRows CashDrawerRows() {
    return {kProperties, kMethods, [] { return std::unique_ptr<KindBehaviour>(new CashDrawer); }};
}

} // namespace zorv::opos
