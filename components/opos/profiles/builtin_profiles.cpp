#include "model/opos_codes.h"
#include "model/profile.h"

namespace zorv::opos {
namespace {

Profile Simulated(Kind kind, std::u16string name, std::u16string description) {
    Profile profile;
    profile.name = std::move(name);
    profile.kind = kind;
    profile.description = std::move(description);
    return profile;
}

void Override(Profile& profile, Prop prop, Value value) {
    profile.overrides.emplace_back(prop, std::move(value));
}

} // namespace

std::vector<Profile> BuiltInProfiles() {
    std::vector<Profile> profiles = {
        Simulated(Kind::Scanner, u"SimScanner", u"ZORV simulated bar code scanner"),
        Simulated(Kind::Printer, u"SimPrinter", u"ZORV simulated POS printer (journal, receipt, slip)"),
        Simulated(Kind::LineDisplay, u"SimLineDisplay", u"ZORV simulated 2 x 20 line display"),
        Simulated(Kind::Keylock, u"SimKeylock", u"ZORV simulated three-position keylock"),
        Simulated(Kind::MSR, u"SimMSR", u"ZORV simulated magnetic stripe reader"),
        Simulated(Kind::POSKeyboard, u"SimPOSKeyboard", u"ZORV simulated POS keyboard"),
        Simulated(Kind::CashDrawer, u"SimCashDrawer", u"ZORV simulated cash drawer"),
    };
    Override(profiles[1], Prop::CapPowerReporting, OPOS_PR_ADVANCED);

    // Devices that refuse, so that an operator can watch the codes.
    Profile offline = Simulated(Kind::Scanner, u"SimScannerOffline", u"ZORV simulated scanner, offline");
    offline.power = OPOS_PS_OFFLINE;
    profiles.push_back(offline);

    Profile noPower =
        Simulated(Kind::Scanner, u"SimScannerNoPower", u"ZORV simulated scanner, no power reporting");
    Override(noPower, Prop::CapPowerReporting, OPOS_PR_NONE);
    profiles.push_back(noPower);

    Profile busy =
        Simulated(Kind::Scanner, u"SimScannerBusy", u"ZORV simulated scanner, claimed elsewhere 500 ms");
    busy.claimedByOther = true;
    busy.releaseAfterMs = 500;
    profiles.push_back(busy);

    Profile taken =
        Simulated(Kind::Printer, u"SimPrinterClaimed", u"ZORV simulated printer, claimed elsewhere");
    taken.claimedByOther = true;
    profiles.push_back(taken);

    Profile drawer =
        Simulated(Kind::CashDrawer, u"SimCashDrawerClaimed", u"ZORV simulated drawer, claimed elsewhere");
    drawer.claimedByOther = true;
    profiles.push_back(drawer);

    // A key of its own for each cashier instead of positions.
    Profile electronic =
        Simulated(Kind::Keylock, u"SimElectronicKeylock", u"ZORV simulated electronic keylock");
    Override(electronic, Prop::CapKeylockType, LOCK_KT_ELECTRONIC);
    Override(electronic, Prop::PositionCount, LONG{0});
    Override(electronic, Prop::KeyPosition, LOCK_KP_ELECTRONIC);
    profiles.push_back(electronic);

    Profile receipt = Simulated(Kind::Printer, u"SimReceiptPrinter", u"ZORV simulated receipt-only printer");
    for (Prop absent : {Prop::CapJrnPresent, Prop::CapSlpPresent, Prop::CapConcurrentJrnSlp,
                        Prop::CapConcurrentRecSlp, Prop::CapConcurrentJrnRec})
        Override(receipt, absent, false);
    profiles.push_back(receipt);
    return profiles;
}

} // namespace zorv::opos
