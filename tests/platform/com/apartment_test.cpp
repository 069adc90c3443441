#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <thread>
#include <vector>

#include "platform/com/apartment.h"

using namespace zorv::com;

namespace {

void PumpFor(int milliseconds) {
    WaitPumping([] { return false; }, std::chrono::milliseconds(milliseconds));
}

} // namespace

TEST(Apartment, PostedCallsRunLaterInOrderAndNestedDrainsKeepTheOrder) {
    std::vector<int> order;
    PostCall([&] {
        order.push_back(1);
        PostCall([&] { order.push_back(3); });
        DrainPostedCalls(); // a modal loop inside a call
        order.push_back(4);
    });
    PostCall([&] { order.push_back(2); });
    EXPECT_TRUE(order.empty()) << "posting never runs the call";
    EXPECT_EQ(PendingPostedCalls(), 2u);
    EXPECT_EQ(DrainPostedCalls(), 1u);
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(PendingPostedCalls(), 0u);
}

TEST(Apartment, TheHookHearsOfTheFirstCallPostedToAnEmptyQueue) {
    int woken = 0;
    SetPostedCallHook([&] { ++woken; });
    PostCall([] {});
    PostCall([] {});
    EXPECT_EQ(woken, 1);
    DrainPostedCalls();
    PostCall([] { throw 42; });
    EXPECT_EQ(woken, 2);
    EXPECT_EQ(DrainPostedCalls(), 1u) << "a throwing call is dropped";
    SetPostedCallHook(nullptr);
}

TEST(Apartment, EnteringAgainAnswersSFalse) {
    EXPECT_TRUE(ApartmentEntered());
    EXPECT_EQ(EnterApartment(), S_FALSE);
    LeaveApartment();
    EXPECT_TRUE(ApartmentEntered());
}

TEST(Apartment, CallsPostedFromAnotherThreadRunOnTheWaitingThreadInOrder) {
    const std::thread::id self = std::this_thread::get_id();
    std::vector<int> order;
    bool allOnThisThread = true;
    std::thread poster([&] {
        for (int i = 0; i < 100; ++i)
            PostCall([&, i] {
                order.push_back(i);
                allOnThisThread = allOnThisThread && std::this_thread::get_id() == self;
            });
    });
    EXPECT_TRUE(WaitPumping([&] { return order.size() == 100; }, std::chrono::seconds(10)));
    poster.join();
    DrainPostedCalls();
    ASSERT_EQ(order.size(), 100u);
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(order[i], i);
    EXPECT_TRUE(allOnThisThread);
}

TEST(Apartment, AWaitEndsAtItsTimeoutWhenNothingHappensAndRunsWhatIsPostedMeanwhile) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(WaitPumping([] { return false; }, std::chrono::milliseconds(120)));
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(120));
    EXPECT_LT(waited, std::chrono::seconds(5));

    bool closed = false;
    std::thread sensor([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        PostCall([] {});
    });
    PostCall([&] { closed = true; });
    EXPECT_TRUE(WaitPumping([&] { return closed; }, std::chrono::seconds(10)));
    sensor.join();
    DrainPostedCalls();
}

// An event whose handler raises the next one keeps the queue from ever
// emptying: a wait still ends at its deadline, or once its condition holds.
TEST(Apartment, AWaitEndsOnTimeWhileACallKeepsPostingItself) {
    bool stop = false;
    std::size_t ran = 0;
    std::function<void()> again = [&] {
        ++ran;
        if (!stop)
            PostCall(again);
    };
    PostCall(again);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(WaitPumping([] { return false; }, std::chrono::milliseconds(200)));
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(200));
    EXPECT_LT(waited, std::chrono::milliseconds(1000));
    EXPECT_GT(ran, 100u) << "the calls did run meanwhile";

    const std::size_t before = ran;
    EXPECT_TRUE(WaitPumping([&] { return ran >= before + 1000; }, std::chrono::seconds(-1)))
        << "a wait for ever ends when its condition holds";
    stop = true;
    DrainPostedCalls();
}

// The window and the runner drain between their own work: a drain must give
// the thread back however many calls keep coming.
TEST(Apartment, ADrainReturnsWhileACallKeepsPostingItselfAndLeavesItPending) {
    bool stop = false;
    std::function<void()> again = [&] {
        if (!stop)
            PostCall(again);
    };
    PostCall(again);
    EXPECT_GT(DrainPostedCalls(), 1u) << "the calls posted meanwhile ran too";
    EXPECT_EQ(PendingPostedCalls(), 1u) << "the last one waits for the next drain";
    stop = true;
    DrainPostedCalls();
    EXPECT_EQ(PendingPostedCalls(), 0u);
}

TEST(Apartment, AHostWaitLoopIsUsedWhileWaiting) {
    int slices = 0;
    SetWaitLoop([&](std::chrono::milliseconds slice) {
        EXPECT_LE(slice.count(), 50);
        ++slices;
    });
    EXPECT_TRUE(WaitPumping([&] { return slices == 3; }, std::chrono::seconds(-1)));
    SetWaitLoop(nullptr);
}

TEST(ApartmentTimers, DueTimersRunByDueTimeThenByAgeAndNeverBeforeTheirTime) {
    std::vector<int> order;
    PostDelayedCall([&] { order.push_back(3); }, std::chrono::milliseconds(40));
    PostDelayedCall([&] { order.push_back(1); }, std::chrono::milliseconds(0));
    PostDelayedCall([&] { order.push_back(2); }, std::chrono::milliseconds(0));
    EXPECT_TRUE(order.empty()) << "making a timer never runs it";
    ASSERT_TRUE(TimeToNextTimer().has_value());
    EXPECT_TRUE(WaitPumping([&] { return order.size() == 2; }, std::chrono::seconds(5)));
    EXPECT_EQ(order, (std::vector<int>{1, 2})) << "the later one is not due yet";
    EXPECT_TRUE(WaitPumping([&] { return order.size() == 3; }, std::chrono::seconds(5)));
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
    EXPECT_FALSE(TimeToNextTimer().has_value()) << "one-shot timers are gone once run";
}

TEST(ApartmentTimers, ATimerThatMakesTimersDoesNotHoldADrain) {
    int runs = 0;
    TimerId last = 0;
    std::function<void()> again = [&] {
        ++runs;
        last = PostDelayedCall(again, std::chrono::milliseconds(0));
    };
    last = PostDelayedCall(again, std::chrono::milliseconds(0));
    EXPECT_TRUE(WaitPumping([&] { return runs >= 1; }, std::chrono::seconds(5)));
    const int before = runs;
    DrainPostedCalls();
    EXPECT_LE(runs, before + 1) << "each drain runs only what was due when it began";
    EXPECT_TRUE(CancelTimer(last));
    EXPECT_FALSE(TimeToNextTimer().has_value());
}

TEST(ApartmentTimers, RepeatingTimersBeatUntilCancelledEvenFromTheirOwnCall) {
    int beats = 0;
    TimerId id = 0;
    id = StartTimer(
        [&] {
            if (++beats == 3) {
                EXPECT_TRUE(CancelTimer(id));
            }
        },
        std::chrono::milliseconds(5));
    EXPECT_NE(id, 0u);
    EXPECT_TRUE(WaitPumping([&] { return beats == 3; }, std::chrono::seconds(5)));
    PumpFor(30);
    EXPECT_EQ(beats, 3) << "no beat after the cancel";
    EXPECT_FALSE(CancelTimer(id));

    bool ran = false;
    const TimerId once = PostDelayedCall([&] { ran = true; }, std::chrono::milliseconds(5));
    EXPECT_TRUE(CancelTimer(once));
    PumpFor(30);
    EXPECT_FALSE(ran);
}

TEST(ApartmentTimers, AWaitSleepsUntilTheTimerWithoutSpinningTheHostLoop) {
    std::vector<long> slices;
    SetWaitLoop([&](std::chrono::milliseconds slice) {
        slices.push_back(static_cast<long>(slice.count()));
        std::this_thread::sleep_for(slice);
    });
    bool fired = false;
    PostDelayedCall([&] { fired = true; }, std::chrono::milliseconds(120));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(WaitPumping([&] { return fired; }, std::chrono::seconds(5)));
    const auto waited = std::chrono::steady_clock::now() - start;
    SetWaitLoop(nullptr);
    EXPECT_GE(waited, std::chrono::milliseconds(110));
    EXPECT_LT(waited, std::chrono::seconds(2));
    EXPECT_LE(slices.size(), 6u) << "slices of up to 50 ms, the last one cut to the timer";
    EXPECT_TRUE(std::all_of(slices.begin(), slices.end(), [](long s) { return s > 0; }))
        << "no zero-length slice while the timer is not due";
}

TEST(ApartmentTimers, ATimerMadeOnAnotherThreadWakesASleepingWaitAndTheHookHearsOfIt) {
    int hooked = 0;
    SetTimerHook([&] { ++hooked; });
    bool fired = false;
    std::thread maker([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        PostDelayedCall([&] { fired = true; }, std::chrono::milliseconds(0));
    });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(WaitPumping([&] { return fired; }, std::chrono::seconds(5)));
    maker.join();
    SetTimerHook(nullptr);
    EXPECT_EQ(hooked, 1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}
