// WaitForKeylockChange and WaitForDrawerClose run the apartment while they
// wait: a change posted meanwhile (a hand, the simulator panel) ends them,
// a change armed with DirectIO 8 happens during them, and nothing else does.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "opos_test_support.h"
#include "platform/com/apartment.h"

using namespace opos_test;
using zorv::com::DrainPostedCalls;
using Clock = std::chrono::steady_clock;

namespace {

long long MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

class Waits : public ::testing::Test {
protected:
    void TearDown() override { DrainPostedCalls(); }
};

} // namespace

TEST_F(Waits, AKeyTurnPostedMeanwhileEndsTheWait) {
    auto keylock = Create(u"OPOS.Keylock");
    auto hand = Create(u"OPOS.Keylock");
    OpenReady(keylock.Get(), u"SimKeylock", false);
    ASSERT_EQ(Call(hand.Get(), u"Open", {u"SimKeylock"}), 0);
    IDispatch* turner = hand.Get();
    zorv::com::PostCall([turner] { DirectIO(turner, kInput, 1); });
    const auto start = Clock::now();
    EXPECT_EQ(Call(keylock.Get(), u"WaitForKeylockChange", {LONG{1}, LONG{5000}}), 0);
    EXPECT_LT(MillisecondsSince(start), 2000);
    EXPECT_EQ(Long(keylock.Get(), u"KeyPosition"), 1);

    zorv::com::PostCall([turner] { DirectIO(turner, kInput, 3); });
    EXPECT_EQ(Call(keylock.Get(), u"WaitForKeylockChange", {LONG{0}, LONG{5000}}), 0) << "any position";
}

TEST_F(Waits, WithoutAChangeTheWaitLastsItsTimeout) {
    auto keylock = Create(u"OPOS.Keylock");
    OpenReady(keylock.Get(), u"SimKeylock", false);
    const auto start = Clock::now();
    EXPECT_EQ(Call(keylock.Get(), u"WaitForKeylockChange", {LONG{1}, LONG{150}}), 112);
    EXPECT_GE(MillisecondsSince(start), 140);
    EXPECT_EQ(Call(keylock.Get(), u"WaitForKeylockChange", {LONG{1}, LONG{0}}), 112);
}

TEST_F(Waits, TheDrawerBeepsUntilShutThenTheWaitEnds) {
    auto drawer = Create(u"OPOS.CashDrawer");
    auto other = Create(u"OPOS.CashDrawer");
    OpenReady(drawer.Get(), u"SimCashDrawer", false);
    ASSERT_EQ(Call(other.Get(), u"Open", {u"SimCashDrawer"}), 0);
    ASSERT_EQ(Call(drawer.Get(), u"OpenDrawer"), 0);
    const LONG beepsBefore = DirectIO(drawer.Get(), kReadBack).data;

    // A hand shuts it from another thread after about two beeps: 20 ms
    // before beeping, then one beep every 40 ms.
    IDispatch* shutter = other.Get();
    std::thread hand([shutter] {
        std::this_thread::sleep_for(std::chrono::milliseconds(90));
        zorv::com::PostCall([shutter] { DirectIO(shutter, kInput); });
    });
    EXPECT_EQ(Call(drawer.Get(), u"WaitForDrawerClose", {LONG{20}, LONG{800}, LONG{20}, LONG{20}}), 0);
    hand.join();
    EXPECT_FALSE(Bool(drawer.Get(), u"DrawerOpened"));
    const LONG beeps = DirectIO(drawer.Get(), kReadBack).data - beepsBefore;
    EXPECT_GE(beeps, 1);
    EXPECT_LE(beeps, 5);

    ASSERT_EQ(Call(drawer.Get(), u"OpenDrawer"), 0);
    EXPECT_EQ(Call(drawer.Get(), u"WaitForDrawerClose", {LONG{10}, LONG{800}, LONG{5}, LONG{5}}), 112)
        << "nobody shuts it: the wait gives up after its beeps";
    EXPECT_EQ(DirectIO(drawer.Get(), kReadBack).data - beepsBefore, beeps + 5);
    EXPECT_EQ(DirectIO(drawer.Get(), kArmWait).code, 0);
    EXPECT_EQ(Call(drawer.Get(), u"WaitForDrawerClose", {LONG{1000}, LONG{800}, LONG{100}, LONG{100}}), 0)
        << "a close armed for the wait happens during it";
}
