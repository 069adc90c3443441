// The shared OPOS rules: open, claim, enable, release, close, health and
// power, with the result codes each refusal gives.
#include <gtest/gtest.h>

#include "opos_test_support.h"
#include "platform/com/apartment.h"

using namespace opos_test;

namespace {

struct KindCase {
    const char16_t* progId;
    const char16_t* device;
    bool exclusive;
    // The keylock is only ever shared: Claim is illegal.
    bool claimable = true;
};

const KindCase kKinds[] = {
    {u"OPOS.Scanner", u"SimScanner", true},
    {u"OPOS.POSPrinter", u"SimPrinter", true},
    {u"OPOS.LineDisplay", u"SimLineDisplay", true},
    {u"OPOS.Keylock", u"SimKeylock", false, false},
    {u"OPOS.MSR", u"SimMSR", true},
    {u"OPOS.POSKeyboard", u"SimPOSKeyboard", true},
    {u"OPOS.CashDrawer", u"SimCashDrawer", false},
};

class EveryKind : public ::testing::TestWithParam<KindCase> {
protected:
    void TearDown() override { zorv::com::DrainPostedCalls(); }
};

} // namespace

TEST_P(EveryKind, OpensUnderItsOwnNameOnlyAndOnlyOnce) {
    const KindCase kind = GetParam();
    auto device = Create(kind.progId);
    EXPECT_EQ(Call(device.Get(), u"Open", {u"NoSuchDevice"}), 109);
    EXPECT_EQ(Call(device.Get(), u"Open", {u""}), 109);
    const bool scanner = std::u16string_view(kind.device) == u"SimScanner";
    EXPECT_EQ(Call(device.Get(), u"Open", {scanner ? u"SimPrinter" : u"SimScanner"}), 109);
    EXPECT_EQ(Long(device.Get(), u"State"), 1);
    EXPECT_EQ(Long(device.Get(), u"ResultCode"), 109);

    EXPECT_EQ(Call(device.Get(), u"Open", {kind.device}), 0);
    EXPECT_EQ(Long(device.Get(), u"State"), 2);
    EXPECT_EQ(Text(device.Get(), u"DeviceName"), kind.device);
    EXPECT_EQ(Call(device.Get(), u"Open", {kind.device}), 106);
    EXPECT_EQ(Long(device.Get(), u"State"), 2);
}

TEST_P(EveryKind, ClosedDeviceAnswersClosedToEveryCall) {
    auto device = Create(GetParam().progId);
    EXPECT_EQ(Call(device.Get(), u"Close"), 101);
    EXPECT_EQ(Call(device.Get(), u"Claim", {LONG{1000}}), 101);
    EXPECT_EQ(Call(device.Get(), u"Release"), 101);
    EXPECT_EQ(Call(device.Get(), u"CheckHealth", {LONG{1}}), 101);
    EXPECT_EQ(Call(device.Get(), u"ClearInput"), 101);
    EXPECT_EQ(Call(device.Get(), u"ClearOutput"), 101);
    EXPECT_EQ(DirectIO(device.Get(), kInput).code, 101);
    EXPECT_EQ(Put(device.Get(), u"DeviceEnabled", true), 101);
    EXPECT_FALSE(Bool(device.Get(), u"DeviceEnabled"));
}

TEST_P(EveryKind, EnablingNeedsAClaimOnlyWhereTheKindIsExclusive) {
    const KindCase kind = GetParam();
    auto device = Create(kind.progId);
    ASSERT_EQ(Call(device.Get(), u"Open", {kind.device}), 0);
    EXPECT_EQ(Put(device.Get(), u"DeviceEnabled", true), kind.exclusive ? 103 : 0);
    EXPECT_EQ(Bool(device.Get(), u"DeviceEnabled"), !kind.exclusive);
    EXPECT_EQ(Call(device.Get(), u"Claim", {LONG{1000}}), kind.claimable ? 0 : 106);
    EXPECT_EQ(Bool(device.Get(), u"Claimed"), kind.claimable);
    EXPECT_EQ(Put(device.Get(), u"DeviceEnabled", true), 0);
    EXPECT_TRUE(Bool(device.Get(), u"DeviceEnabled"));
}

TEST_P(EveryKind, CloseReleasesDisablesAndReportsClosed) {
    const KindCase kind = GetParam();
    auto device = Create(kind.progId);
    OpenReady(device.Get(), kind.device, kind.claimable);
    EXPECT_EQ(Call(device.Get(), u"Close"), 0);
    EXPECT_EQ(Long(device.Get(), u"State"), 1);
    EXPECT_FALSE(Bool(device.Get(), u"Claimed"));
    EXPECT_FALSE(Bool(device.Get(), u"DeviceEnabled"));
    // The claim went with it: another object may now claim the device.
    auto other = Create(kind.progId);
    ASSERT_EQ(Call(other.Get(), u"Open", {kind.device}), 0);
    EXPECT_EQ(Call(other.Get(), u"Claim", {LONG{0}}), kind.claimable ? 0 : 106);
}

TEST_P(EveryKind, ReportsSimulatedVersionsAndDescriptions) {
    const KindCase kind = GetParam();
    auto device = Create(kind.progId);
    ASSERT_EQ(Call(device.Get(), u"Open", {kind.device}), 0);
    EXPECT_EQ(Long(device.Get(), u"ControlObjectVersion"), 1014001);
    EXPECT_EQ(Long(device.Get(), u"ServiceObjectVersion"), 1014001);
    for (const char16_t* description :
         {u"ControlObjectDescription", u"ServiceObjectDescription", u"DeviceDescription"})
        EXPECT_NE(Text(device.Get(), description).find(u"simulated"), std::u16string::npos)
            << zorv::com::Utf16ToUtf8(description);
}

INSTANTIATE_TEST_SUITE_P(Kinds, EveryKind, ::testing::ValuesIn(kKinds));

TEST(Claim, AnotherApplicationHoldingTheDeviceGivesClaimedOrTimeout) {
    auto printer = Create(u"OPOS.POSPrinter");
    ASSERT_EQ(Call(printer.Get(), u"Open", {u"SimPrinterClaimed"}), 0);
    EXPECT_EQ(Call(printer.Get(), u"Claim", {LONG{0}}), 102);
    EXPECT_EQ(Call(printer.Get(), u"Claim", {LONG{1000}}), 112);
    EXPECT_EQ(Call(printer.Get(), u"Claim", {LONG{-1}}), 112);
    EXPECT_EQ(Put(printer.Get(), u"DeviceEnabled", true), 102);

    auto drawer = Create(u"OPOS.CashDrawer");
    ASSERT_EQ(Call(drawer.Get(), u"Open", {u"SimCashDrawerClaimed"}), 0);
    EXPECT_EQ(Put(drawer.Get(), u"DeviceEnabled", true), 102);
    EXPECT_EQ(Call(drawer.Get(), u"OpenDrawer"), 102);
}

TEST(Claim, AnApplicationThatLetsGoInTimeIsWaitedFor) {
    auto scanner = Create(u"OPOS.Scanner");
    ASSERT_EQ(Call(scanner.Get(), u"Open", {u"SimScannerBusy"}), 0);
    EXPECT_EQ(Call(scanner.Get(), u"Claim", {LONG{100}}), 112);
    EXPECT_EQ(Call(scanner.Get(), u"Claim", {LONG{1000}}), 0);
    EXPECT_EQ(Call(scanner.Get(), u"Claim", {LONG{0}}), 0) << "claiming again is no error";
}

TEST(Claim, TwoObjectsOnOneDeviceExcludeEachOther) {
    auto first = Create(u"OPOS.Scanner");
    auto second = Create(u"OPOS.Scanner");
    OpenReady(first.Get(), u"SimScanner");
    ASSERT_EQ(Call(second.Get(), u"Open", {u"simscanner"}), 0);
    EXPECT_EQ(Call(second.Get(), u"Claim", {LONG{500}}), 112);
    EXPECT_EQ(Put(second.Get(), u"DeviceEnabled", true), 102);
    EXPECT_EQ(Call(first.Get(), u"Release"), 0);
    EXPECT_FALSE(Bool(first.Get(), u"DeviceEnabled")) << "release disables an exclusive device";
    EXPECT_EQ(Call(first.Get(), u"Release"), 106) << "releasing a claim one does not hold is illegal";
    EXPECT_EQ(Call(second.Get(), u"Claim", {LONG{500}}), 0);
}

TEST(Claim, TimeoutsBelowForeverAreIllegal) {
    auto scanner = Create(u"OPOS.Scanner");
    ASSERT_EQ(Call(scanner.Get(), u"Open", {u"SimScanner"}), 0);
    EXPECT_EQ(Call(scanner.Get(), u"Claim", {LONG{-2}}), 106);
    EXPECT_EQ(Call(scanner.Get(), u"Claim", {LONG{INT32_MIN}}), 106);
    EXPECT_FALSE(Bool(scanner.Get(), u"Claimed"));
}

TEST(CheckHealth, NeedsAnEnabledDeviceAndALevel) {
    auto scanner = Create(u"OPOS.Scanner");
    ASSERT_EQ(Call(scanner.Get(), u"Open", {u"SimScanner"}), 0);
    ASSERT_EQ(Call(scanner.Get(), u"Claim", {LONG{0}}), 0);
    EXPECT_EQ(Call(scanner.Get(), u"CheckHealth", {LONG{1}}), 105);
    ASSERT_EQ(Put(scanner.Get(), u"DeviceEnabled", true), 0);
    EXPECT_EQ(Call(scanner.Get(), u"CheckHealth", {LONG{9}}), 106);
    EXPECT_EQ(Call(scanner.Get(), u"CheckHealth", {LONG{1}}), 0);
    EXPECT_EQ(Text(scanner.Get(), u"CheckHealthText"), u"Internal HCheck: Successful");
}

TEST(Power, OfflineDeviceIsRefusedUnlessPowerIsReported) {
    auto scanner = Create(u"OPOS.Scanner");
    ASSERT_EQ(Call(scanner.Get(), u"Open", {u"SimScannerOffline"}), 0);
    ASSERT_EQ(Call(scanner.Get(), u"Claim", {LONG{0}}), 0);
    EXPECT_EQ(Put(scanner.Get(), u"DeviceEnabled", true), 108);
    EXPECT_EQ(Put(scanner.Get(), u"PowerNotify", LONG{1}), 0);
    EXPECT_EQ(Put(scanner.Get(), u"DeviceEnabled", true), 0);
    EXPECT_EQ(Long(scanner.Get(), u"PowerState"), 2004) << "a standard reporter joins off and offline";
}

TEST(Power, NotificationRulesFollowTheCapability) {
    auto none = Create(u"OPOS.Scanner");
    ASSERT_EQ(Call(none.Get(), u"Open", {u"SimScannerNoPower"}), 0);
    EXPECT_EQ(Long(none.Get(), u"CapPowerReporting"), 0);
    EXPECT_EQ(Put(none.Get(), u"PowerNotify", LONG{1}), 106);

    auto scanner = Create(u"OPOS.Scanner");
    OpenReady(scanner.Get(), u"SimScanner");
    EXPECT_EQ(Put(scanner.Get(), u"PowerNotify", LONG{1}), 106) << "only while disabled";
    EXPECT_EQ(Long(scanner.Get(), u"PowerState"), 2000);
}

TEST(Power, ChangesRaiseStatusUpdatesWhileNotificationIsOn) {
    struct Case {
        const char16_t* progId;
        const char16_t* device;
        LONG reportedOffline;
    };
    for (const Case& c :
         {Case{u"OPOS.Scanner", u"SimScanner", 2004}, Case{u"OPOS.POSPrinter", u"SimPrinter", 2003}}) {
        auto device = Create(c.progId);
        auto sink = AdviseSink(device.Get());
        ASSERT_EQ(Call(device.Get(), u"Open", {c.device}), 0);
        ASSERT_EQ(Call(device.Get(), u"Claim", {LONG{0}}), 0);
        ASSERT_EQ(Put(device.Get(), u"PowerNotify", LONG{1}), 0);
        ASSERT_EQ(Put(device.Get(), u"DeviceEnabled", true), 0);
        EXPECT_EQ(Long(device.Get(), u"PowerState"), 2001);
        EXPECT_EQ(DirectIO(device.Get(), kPower, 2003).code, 0);
        EXPECT_EQ(DirectIO(device.Get(), kPower, 2001).code, 0);
        EXPECT_EQ(DirectIO(device.Get(), kPower, 1999).code, 106);
        zorv::com::DrainPostedCalls();
        ASSERT_EQ(sink->received.size(), 2u);
        EXPECT_EQ(sink->received[0].id, 4) << "StatusUpdateEvent is the fourth slot for both kinds";
        EXPECT_EQ(sink->received[0].numbers, std::vector<LONG>{c.reportedOffline});
        EXPECT_EQ(sink->received[1].numbers, std::vector<LONG>{2001});
    }
}
