#include <gtest/gtest.h>

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
