// The cash drawer: opened by a pulse the back end sends, closed by a hand,
// with a wait that beeps while the drawer stays open.
#include <algorithm>
#include <chrono>

#include "kinds/kind_table.h"
#include "model/device.h"

namespace zorv::opos {
namespace {

// A drawer left open beeps this many times before the wait gives up: the
// standard's wait has no end of its own, and a wait here must have one.
constexpr int kBeepsBeforeGivingUp = 5;

LONG OpenTheDrawer(Device& device) {
    if (const LONG refused = device.Refusal())
        return refused;
    const Outcome sent = device.SendNow(Output::Of(Output::What::OpenDrawer));
    device.Hardware().Stats().Add(sent.code == OPOS_SUCCESS ? u"DrawerGoodOpenCount"
                                                            : u"DrawerFailedOpenCount");
    return sent.code;
}

bool Closed(Device& device) {
    return !device.Bool(Prop::DrawerOpened);
}

// Waits for the drawer to close while the apartment runs; from beepTimeout
// on, the drawer beeps for beepDuration every beepDuration + beepDelay.
LONG WaitForClose(Device& device, LONG beepTimeout, LONG frequency, LONG duration, LONG delay) {
    if (const LONG refused = device.Refusal())
        return refused;
    if (beepTimeout < OPOS_FOREVER || frequency < 0 || duration < 0 || delay < 0)
        return OPOS_E_ILLEGAL;
    if (device.WaitFor([&] { return Closed(device); }, beepTimeout))
        return OPOS_SUCCESS;
    const LONG cycle = std::max<LONG>(duration + delay, 1);
    for (int beep = 0; beep < kBeepsBeforeGivingUp; ++beep) {
        Output sound = Output::Of(Output::What::Beep);
        sound.params[0] = frequency;
        sound.params[1] = duration;
        device.SendLater(device.NewTicket(), sound);
        if (device.WaitFor([&] { return Closed(device); }, cycle))
            return OPOS_SUCCESS;
    }
    return OPOS_E_TIMEOUT;
}

LONG OpenDrawer(Device& device, const com::DispatchArgs& args) {
    args.ExpectCount(0, 0);
    return device.Finish(OpenTheDrawer(device));
}

LONG WaitForDrawerClose(Device& device, const com::DispatchArgs& args) {
    args.ExpectCount(4, 4);
    return device.Finish(WaitForClose(device, args.Long(0), args.Long(1), args.Long(2), args.Long(3)));
}

constexpr PropertyRow kProperties[] = {
    {Prop::CapStatus, Flag(true)},
    {Prop::CapStatusMultiDrawerDetect, Flag(false)},
    {Prop::DrawerOpened, Flag(false)},
};

constexpr MethodRow kMethods[] = {
    {u"OpenDrawer", OpenDrawer},
    {u"WaitForDrawerClose", WaitForDrawerClose},
};

} // namespace

KindRows CashDrawerRows() {
    return {kProperties, kMethods, [] { return std::make_unique<KindBehaviour>(); }};
}

} // namespace zorv::opos
