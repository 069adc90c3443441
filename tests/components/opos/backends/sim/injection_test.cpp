// Each kind's simulated input through DirectIO, as a script would drive it.
#include <gtest/gtest.h>

#include "opos_test_support.h"
#include "platform/com/apartment.h"

using namespace opos_test;
using zorv::com::DrainPostedCalls;

namespace {

class Injection : public ::testing::Test {
protected:
    void TearDown() override { DrainPostedCalls(); }
};

} // namespace

TEST_F(Injection, ScannerFillsItsDataAsDecodingSays) {
    struct Case {
        LONG symbology;
        const char16_t* label;
        bool decode;
        const char16_t* scanData;
        const char16_t* scanLabel;
        LONG type;
    };
    const Case cases[] = {
        {0, u"012345678905", true, u"]E0012345678905", u"012345678905", 101},
        {0, u"4006381333931", true, u"]E04006381333931", u"4006381333931", 104},
        {103, u"96385074", true, u"]E496385074", u"96385074", 103},
        {110, u"ABC-123", true, u"]C0ABC-123", u"ABC-123", 110},
        {0, u"012345678905", false, u"]E0012345678905", u"", 0},
        {999, u"XYZ", true, u"XYZ", u"XYZ", 999},
    };
    auto scanner = Create(u"OPOS.Scanner");
    OpenReady(scanner.Get(), u"SimScanner");
    for (const Case& c : cases) {
        ASSERT_EQ(Put(scanner.Get(), u"DecodeData", c.decode), 0);
        ASSERT_EQ(DirectIO(scanner.Get(), kInput, c.symbology, c.label).code, 0);
        ASSERT_EQ(Put(scanner.Get(), u"DataEventEnabled", true), 0);
        DrainPostedCalls();
        EXPECT_EQ(Text(scanner.Get(), u"ScanData"), c.scanData);
        EXPECT_EQ(Text(scanner.Get(), u"ScanDataLabel"), c.scanLabel);
        EXPECT_EQ(Long(scanner.Get(), u"ScanDataType"), c.type);
    }
    EXPECT_EQ(DirectIO(scanner.Get(), kInput, 0, u"").code, 106);
}

TEST_F(Injection, KeylockTurnsAndWaits) {
    auto keylock = Create(u"OPOS.Keylock");
    auto sink = AdviseSink(keylock.Get());
    OpenReady(keylock.Get(), u"SimKeylock", false);
    EXPECT_EQ(Long(keylock.Get(), u"PositionCount"), 3);
    EXPECT_EQ(DirectIO(keylock.Get(), kInput, 3).code, 0);
    EXPECT_EQ(Long(keylock.Get(), u"KeyPosition"), 3);
    EXPECT_EQ(DirectIO(keylock.Get(), kInput, 4).code, 106);
    EXPECT_EQ(DirectIO(keylock.Get(), kInput, 0).code, 106);

    EXPECT_EQ(Call(keylock.Get(), u"WaitForKeylockChange", {LONG{3}, LONG{100}}), 0) << "already there";
    EXPECT_EQ(Call(keylock.Get(), u"WaitForKeylockChange", {LONG{1}, LONG{100}}), 112);
    EXPECT_EQ(DirectIO(keylock.Get(), kArmWait, 1).code, 0);
    EXPECT_EQ(Call(keylock.Get(), u"WaitForKeylockChange", {LONG{1}, LONG{-1}}), 0);
    EXPECT_EQ(Long(keylock.Get(), u"KeyPosition"), 1);
    EXPECT_EQ(Call(keylock.Get(), u"WaitForKeylockChange", {LONG{0}, LONG{-5}}), 106);

    DrainPostedCalls();
    ASSERT_EQ(sink->received.size(), 2u);
    EXPECT_EQ(sink->received[0].numbers, std::vector<LONG>{3});
    EXPECT_EQ(sink->received[1].numbers, std::vector<LONG>{1});
}

TEST_F(Injection, POSKeyboardReportsDownAndUpAsAsked) {
    auto keyboard = Create(u"OPOS.POSKeyboard");
    auto sink = AdviseSink(keyboard.Get());
    OpenReady(keyboard.Get(), u"SimPOSKeyboard");
    IDispatch* raw = keyboard.Get();
    std::vector<std::pair<LONG, LONG>> seen;
    sink->reaction = [&](const ReceivedEvent&) {
        seen.emplace_back(Long(raw, u"POSKeyData"), Long(raw, u"POSKeyEventType"));
        Put(raw, u"DataEventEnabled", true);
    };
    ASSERT_EQ(Put(raw, u"DataEventEnabled", true), 0);
    ASSERT_EQ(DirectIO(raw, kInput, 42).code, 0);
    ASSERT_EQ(Put(raw, u"EventTypes", LONG{2}), 0);
    ASSERT_EQ(DirectIO(raw, kInput, 7).code, 0);
    ASSERT_EQ(DirectIO(raw, kInput, 8, u"down").code, 0);
    EXPECT_EQ(Put(raw, u"EventTypes", LONG{3}), 106);
    DrainPostedCalls();
    EXPECT_EQ(seen, (std::vector<std::pair<LONG, LONG>>{{42, 1}, {7, 1}, {7, 2}, {8, 1}}));
    sink->reaction = nullptr;
}

TEST_F(Injection, CashDrawerOpensClosesAndWaits) {
    auto drawer = Create(u"OPOS.CashDrawer");
    auto sink = AdviseSink(drawer.Get());
    ASSERT_EQ(Call(drawer.Get(), u"Open", {u"SimCashDrawer"}), 0);
    EXPECT_EQ(Call(drawer.Get(), u"OpenDrawer"), 105);
    ASSERT_EQ(Put(drawer.Get(), u"DeviceEnabled", true), 0);
    EXPECT_EQ(Call(drawer.Get(), u"OpenDrawer"), 0);
    EXPECT_TRUE(Bool(drawer.Get(), u"DrawerOpened"));
    EXPECT_EQ(Call(drawer.Get(), u"WaitForDrawerClose", {LONG{100}, LONG{800}, LONG{100}, LONG{100}}), 112);
    EXPECT_EQ(DirectIO(drawer.Get(), kArmWait).code, 0);
    EXPECT_EQ(Call(drawer.Get(), u"WaitForDrawerClose", {LONG{100}, LONG{800}, LONG{100}, LONG{100}}), 0);
    EXPECT_FALSE(Bool(drawer.Get(), u"DrawerOpened"));
    EXPECT_EQ(Call(drawer.Get(), u"OpenDrawer"), 0);
    EXPECT_EQ(DirectIO(drawer.Get(), kInput).code, 0);
    EXPECT_FALSE(Bool(drawer.Get(), u"DrawerOpened"));
    // The waits ran the apartment, which delivered what was raised so far.
    DrainPostedCalls();
    std::vector<LONG> statuses;
    for (const ReceivedEvent& e : sink->received) {
        EXPECT_EQ(e.id, 2);
        statuses.push_back(e.numbers.at(0));
    }
    EXPECT_EQ(statuses, (std::vector<LONG>{1, 0, 1, 0}));
}

TEST_F(Injection, LineDisplayShowsWrapsScrollsAndClears) {
    auto display = Create(u"OPOS.LineDisplay");
    OpenReady(display.Get(), u"SimLineDisplay");
    auto shown = [&] { return DirectIO(display.Get(), kReadBack).text; };
    EXPECT_EQ(Call(display.Get(), u"DisplayText", {u"Hello", LONG{0}}), 0);
    EXPECT_EQ(shown(), u"Hello\n\n");
    EXPECT_EQ(Long(display.Get(), u"CursorColumn"), 5);
    EXPECT_EQ(Call(display.Get(), u"DisplayTextAt", {LONG{1}, LONG{15}, u"World", LONG{0}}), 0);
    EXPECT_EQ(shown(), u"Hello\n               World\n");
    EXPECT_EQ(Call(display.Get(), u"DisplayText", {u"!", LONG{0}}), 0);
    EXPECT_EQ(shown(), u"               World\n!\n") << "past the last row the text scrolls up";
    EXPECT_EQ(Call(display.Get(), u"ClearText"), 0);
    EXPECT_EQ(shown(), u"\n\n");
    EXPECT_EQ(Long(display.Get(), u"CursorRow"), 0);

    EXPECT_EQ(Call(display.Get(), u"DisplayTextAt", {LONG{2}, LONG{0}, u"x", LONG{0}}), 106);
    EXPECT_EQ(Call(display.Get(), u"DisplayTextAt", {LONG{0}, LONG{20}, u"x", LONG{0}}), 106);
    EXPECT_EQ(Call(display.Get(), u"DisplayText", {u"x", LONG{7}}), 106);
    EXPECT_EQ(Put(display.Get(), u"CursorRow", LONG{2}), 106);
    EXPECT_EQ(Put(display.Get(), u"CursorColumn", LONG{20}), 0);
    EXPECT_EQ(Put(display.Get(), u"CharacterSet", LONG{437}), 106);
}
