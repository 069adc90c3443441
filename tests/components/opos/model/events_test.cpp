// Events: posted rather than fired inside the call that caused them, one per
// posted call and in order, with each kind's dispatch identifiers and the
// argument types the hosts expect; what a sink writes back is honoured.
#include <gtest/gtest.h>

#include "opos_test_support.h"
#include "platform/com/apartment.h"
#include "platform/com/ole_control.h"

using namespace opos_test;
using zorv::com::DrainPostedCalls;

namespace {

constexpr VARTYPE kI4 = VT_I4;
constexpr VARTYPE kI4Ref = VT_BYREF | VT_I4;
constexpr VARTYPE kTextRef = VT_BYREF | VT_BSTR;

class Events : public ::testing::Test {
protected:
    void TearDown() override { DrainPostedCalls(); }
};

} // namespace

TEST_F(Events, AreDeliveredOnlyWhenTheQueueIsDrained) {
    auto scanner = Create(u"OPOS.Scanner");
    auto sink = AdviseSink(scanner.Get());
    OpenReady(scanner.Get(), u"SimScanner");
    ASSERT_EQ(Put(scanner.Get(), u"DataEventEnabled", true), 0);
    ASSERT_EQ(DirectIO(scanner.Get(), kInput, 0, u"012345678905").code, 0);
    EXPECT_TRUE(sink->received.empty());
    EXPECT_GT(zorv::com::PendingPostedCalls(), 0u);
    DrainPostedCalls();
    ASSERT_EQ(sink->received.size(), 1u);
    EXPECT_EQ(sink->received[0].id, 1);
    EXPECT_EQ(sink->received[0].types, std::vector<VARTYPE>{kI4});
}

// A handler that re-arms data events, as the program's does, must not be
// called again from inside itself.
TEST_F(Events, ComeOneAtATimeInOrderWhenTheHandlerReArms) {
    auto scanner = Create(u"OPOS.Scanner");
    auto sink = AdviseSink(scanner.Get());
    OpenReady(scanner.Get(), u"SimScanner");
    IDispatch* raw = scanner.Get();
    int depth = 0;
    int deepest = 0;
    std::vector<std::u16string> labels;
    sink->reaction = [&](const ReceivedEvent&) {
        deepest = std::max(deepest, ++depth);
        labels.push_back(Text(raw, u"ScanData"));
        Put(raw, u"DataEventEnabled", true);
        --depth;
    };
    for (const char16_t* label : {u"1111", u"2222", u"3333"})
        ASSERT_EQ(DirectIO(scanner.Get(), kInput, 110, label).code, 0);
    EXPECT_EQ(Long(scanner.Get(), u"DataCount"), 3);
    ASSERT_EQ(Put(scanner.Get(), u"DataEventEnabled", true), 0);
    EXPECT_TRUE(labels.empty());
    DrainPostedCalls();
    EXPECT_EQ(labels, (std::vector<std::u16string>{u"]C01111", u"]C02222", u"]C03333"}));
    EXPECT_EQ(deepest, 1);
    EXPECT_EQ(Long(scanner.Get(), u"DataCount"), 0);
}

// Every kind's DirectIOEvent, at the slot its class expects, with pData and
// pString by reference.
TEST_F(Events, DirectIOEventUsesEachKindsSlot) {
    const std::pair<const char16_t*, DISPID> kinds[] = {
        {u"OPOS.Scanner", 2}, {u"OPOS.POSPrinter", 1},  {u"OPOS.LineDisplay", 1}, {u"OPOS.Keylock", 2},
        {u"OPOS.MSR", 2},     {u"OPOS.POSKeyboard", 2}, {u"OPOS.CashDrawer", 1},
    };
    const std::pair<const char16_t*, const char16_t*> names[] = {
        {u"OPOS.Scanner", u"SimScanner"},
        {u"OPOS.POSPrinter", u"SimPrinter"},
        {u"OPOS.LineDisplay", u"SimLineDisplay"},
        {u"OPOS.Keylock", u"SimKeylock"},
        {u"OPOS.MSR", u"SimMSR"},
        {u"OPOS.POSKeyboard", u"SimPOSKeyboard"},
        {u"OPOS.CashDrawer", u"SimCashDrawer"},
    };
    for (std::size_t i = 0; i < std::size(kinds); ++i) {
        auto device = Create(kinds[i].first);
        auto sink = AdviseSink(device.Get());
        ASSERT_EQ(Call(device.Get(), u"Open", {names[i].second}), 0);
        ASSERT_EQ(DirectIO(device.Get(), kDirectIOEvent, 42, u"ping").code, 0);
        DrainPostedCalls();
        ASSERT_EQ(sink->received.size(), 1u) << i;
        EXPECT_EQ(sink->received[0].id, kinds[i].second) << i;
        EXPECT_EQ(sink->received[0].types, (std::vector<VARTYPE>{kI4, kI4Ref, kTextRef})) << i;
        EXPECT_EQ(sink->received[0].text, u"ping");
    }
}

TEST_F(Events, WhatTheSinkWritesIntoDirectIOEventComesBack) {
    auto drawer = Create(u"OPOS.CashDrawer");
    auto sink = AdviseSink(drawer.Get());
    sink->replyData = 77;
    sink->replyText = u"pong";
    ASSERT_EQ(Call(drawer.Get(), u"Open", {u"SimCashDrawer"}), 0);
    DirectIO(drawer.Get(), kDirectIOEvent, 5, u"ping");
    DrainPostedCalls();
    const DirectIOResult reply = DirectIO(drawer.Get(), kDirectIOReply);
    EXPECT_EQ(reply.data, 77);
    EXPECT_EQ(reply.text, u"pong");
}

TEST_F(Events, ErrorEventCarriesResponseByReference) {
    auto keyboard = Create(u"OPOS.POSKeyboard");
    auto sink = AdviseSink(keyboard.Get());
    OpenReady(keyboard.Get(), u"SimPOSKeyboard");
    ASSERT_EQ(Put(keyboard.Get(), u"DataEventEnabled", true), 0);
    ASSERT_EQ(DirectIO(keyboard.Get(), kError, 0).code, 0);
    EXPECT_EQ(Long(keyboard.Get(), u"State"), 4);
    DrainPostedCalls();
    ASSERT_EQ(sink->received.size(), 1u);
    EXPECT_EQ(sink->received[0].id, 3);
    EXPECT_EQ(sink->received[0].types, (std::vector<VARTYPE>{kI4, kI4, kI4, kI4Ref}));
    EXPECT_EQ(sink->received[0].numbers, (std::vector<LONG>{111, 0, 2, 12}));
    EXPECT_EQ(Long(keyboard.Get(), u"State"), 2);
}

TEST_F(Events, HostFreezeHoldsEventsUntilThaw) {
    auto keylock = Create(u"OPOS.Keylock");
    auto sink = AdviseSink(keylock.Get());
    OpenReady(keylock.Get(), u"SimKeylock", false);
    ComPtr<IOleControl> control;
    ASSERT_EQ(keylock->QueryInterface(IID_IOleControl, control.ReleaseAndGetVoidAddress()), S_OK);
    control->FreezeEvents(TRUE);
    ASSERT_EQ(DirectIO(keylock.Get(), kInput, 3).code, 0);
    DrainPostedCalls();
    EXPECT_TRUE(sink->received.empty());
    control->FreezeEvents(FALSE);
    DrainPostedCalls();
    ASSERT_EQ(sink->received.size(), 1u);
    EXPECT_EQ(sink->received[0].id, 1) << "the keylock's status update is its first slot";
    EXPECT_EQ(sink->received[0].numbers, std::vector<LONG>{3});
}

TEST_F(Events, ObjectOutlivesItsLastReferenceUntilItsEventsAreOut) {
    auto keylock = Create(u"OPOS.Keylock");
    auto sink = AdviseSink(keylock.Get());
    OpenReady(keylock.Get(), u"SimKeylock", false);
    ASSERT_EQ(DirectIO(keylock.Get(), kInput, 1).code, 0);
    keylock.Reset();
    DrainPostedCalls();
    EXPECT_EQ(sink->received.size(), 1u);
}
