#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "platform/com/apartment.h"

using namespace zorv::com;

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
    EXPECT_EQ(CoInitialize(nullptr), S_FALSE);
    CoUninitialize();
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

TEST(Apartment, AHostWaitLoopIsUsedWhileWaiting) {
    int slices = 0;
    SetWaitLoop([&](std::chrono::milliseconds slice) {
        EXPECT_LE(slice.count(), 50);
        ++slices;
    });
    EXPECT_TRUE(WaitPumping([&] { return slices == 3; }, std::chrono::seconds(-1)));
    SetWaitLoop(nullptr);
}
