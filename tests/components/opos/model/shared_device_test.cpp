// A logical device is one physical device: objects opened on the same name
// see the same hardware, each with its own open, claim and enable state,
// and every enabled object hears of changes.
#include <gtest/gtest.h>

#include "opos_test_support.h"
#include "platform/com/apartment.h"

using namespace opos_test;
using zorv::com::DrainPostedCalls;

namespace {

class Shared : public ::testing::Test {
protected:
    void TearDown() override { DrainPostedCalls(); }
};

std::vector<LONG> Statuses(const Sink& sink) {
    std::vector<LONG> statuses;
    for (const ReceivedEvent& e : sink.received)
        statuses.push_back(e.numbers.at(0));
    return statuses;
}

} // namespace

TEST_F(Shared, TheKeyTurnsForEveryObjectAndEveryEnabledOneHearsIt) {
    auto first = Create(u"OPOS.Keylock");
    auto second = Create(u"OPOS.Keylock");
    auto third = Create(u"OPOS.Keylock");
    auto firstSink = AdviseSink(first.Get());
    auto secondSink = AdviseSink(second.Get());
    auto thirdSink = AdviseSink(third.Get());
    OpenReady(first.Get(), u"SimKeylock", false);
    OpenReady(second.Get(), u"simkeylock", false);
    ASSERT_EQ(Call(third.Get(), u"Open", {u"SimKeylock"}), 0) << "open but not enabled";

    const DirectIOResult turned = DirectIO(first.Get(), kInput, 3);
    EXPECT_EQ(turned.code, 0);
    EXPECT_EQ(turned.data, 2) << "two enabled objects were told";
    for (IDispatch* device : {first.Get(), second.Get(), third.Get()})
        EXPECT_EQ(Long(device, u"KeyPosition"), 3);
    DrainPostedCalls();
    EXPECT_EQ(Statuses(*firstSink), std::vector<LONG>{3});
    EXPECT_EQ(Statuses(*secondSink), std::vector<LONG>{3});
    EXPECT_TRUE(thirdSink->received.empty());

    // An object opened later finds the key where it is.
    auto late = Create(u"OPOS.Keylock");
    ASSERT_EQ(Call(late.Get(), u"Open", {u"SimKeylock"}), 0);
    EXPECT_EQ(Long(late.Get(), u"KeyPosition"), 3);
}

TEST_F(Shared, TheDrawerOneObjectOpensIsOpenForTheOther) {
    auto first = Create(u"OPOS.CashDrawer");
    auto second = Create(u"OPOS.CashDrawer");
    auto secondSink = AdviseSink(second.Get());
    OpenReady(first.Get(), u"SimCashDrawer", false);
    OpenReady(second.Get(), u"SimCashDrawer", false);
    ASSERT_EQ(Call(first.Get(), u"OpenDrawer"), 0);
    EXPECT_TRUE(Bool(second.Get(), u"DrawerOpened"));
    ASSERT_EQ(DirectIO(second.Get(), kInput).code, 0);
    EXPECT_FALSE(Bool(first.Get(), u"DrawerOpened"));
    DrainPostedCalls();
    EXPECT_EQ(Statuses(*secondSink), (std::vector<LONG>{1, 0}));
}

TEST_F(Shared, PaperSensorsAndScreenAreTheDevicesNotTheObjects) {
    auto printer = Create(u"OPOS.POSPrinter");
    auto watcher = Create(u"OPOS.POSPrinter");
    OpenReady(printer.Get(), u"SimPrinter");
    ASSERT_EQ(Call(watcher.Get(), u"Open", {u"SimPrinter"}), 0);
    ASSERT_EQ(Call(printer.Get(), u"PrintNormal", {LONG{2}, u"shared\n"}), 0);
    EXPECT_EQ(DirectIO(watcher.Get(), kReadBack, 2).text, u"shared\n") << "the same paper";
    ASSERT_EQ(DirectIO(watcher.Get(), kSensor, 0, u"open").code, 0);
    EXPECT_TRUE(Bool(printer.Get(), u"CoverOpen"));
    EXPECT_EQ(Call(printer.Get(), u"PrintNormal", {LONG{2}, u"x"}), 114);
    EXPECT_EQ(Call(watcher.Get(), u"PrintNormal", {LONG{2}, u"x"}), 102) << "claims still exclude";
    ASSERT_EQ(DirectIO(watcher.Get(), kSensor, 0, u"closed").code, 0);

    auto display = Create(u"OPOS.LineDisplay");
    auto reader = Create(u"OPOS.LineDisplay");
    OpenReady(display.Get(), u"SimLineDisplay");
    ASSERT_EQ(Call(display.Get(), u"DisplayText", {u"Total 12.50"}), 0);
    ASSERT_EQ(Call(reader.Get(), u"Open", {u"SimLineDisplay"}), 0);
    EXPECT_EQ(DirectIO(reader.Get(), kReadBack).text, u"Total 12.50\n\n");
}

TEST_F(Shared, InputGoesOnlyToAnEnabledObject) {
    auto scanner = Create(u"OPOS.Scanner");
    auto idle = Create(u"OPOS.Scanner");
    ASSERT_EQ(Call(idle.Get(), u"Open", {u"SimScanner"}), 0);
    OpenReady(scanner.Get(), u"SimScanner");
    const DirectIOResult read = DirectIO(idle.Get(), kInput, 0, u"12345670");
    EXPECT_EQ(read.code, 0);
    EXPECT_EQ(read.data, 1);
    EXPECT_EQ(Long(scanner.Get(), u"DataCount"), 1);
    EXPECT_EQ(Long(idle.Get(), u"DataCount"), 0);
    // Closing one object leaves the device to the other.
    ASSERT_EQ(Call(idle.Get(), u"Close"), 0);
    EXPECT_EQ(DirectIO(scanner.Get(), kInput, 0, u"12345670").data, 1);
}
