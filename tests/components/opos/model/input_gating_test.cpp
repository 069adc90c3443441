// Input waits in a queue until the application wants it: DataEventEnabled,
// FreezeEvents, AutoDisable, DataCount and ClearInput, and input errors with
// the application's response.
#include <gtest/gtest.h>

#include "opos_test_support.h"
#include "platform/com/apartment.h"

using namespace opos_test;
using zorv::com::DrainPostedCalls;

namespace {

class Gating : public ::testing::Test {
protected:
    void SetUp() override {
        scanner = Create(u"OPOS.Scanner");
        sink = AdviseSink(scanner.Get());
        OpenReady(scanner.Get(), u"SimScanner");
    }
    void TearDown() override { DrainPostedCalls(); }

    LONG Scan(const char16_t* label) { return DirectIO(scanner.Get(), kInput, 0, label).code; }

    ComPtr<IDispatch> scanner;
    ComPtr<Sink> sink;
};

} // namespace

TEST_F(Gating, DataWaitsForDataEventEnabledAndDisarmsIt) {
    ASSERT_EQ(Scan(u"12345670"), 0);
    DrainPostedCalls();
    EXPECT_TRUE(sink->received.empty());
    EXPECT_EQ(Long(scanner.Get(), u"DataCount"), 1);
    EXPECT_EQ(Text(scanner.Get(), u"ScanData"), u"");

    ASSERT_EQ(Put(scanner.Get(), u"DataEventEnabled", true), 0);
    DrainPostedCalls();
    ASSERT_EQ(sink->received.size(), 1u);
    EXPECT_FALSE(Bool(scanner.Get(), u"DataEventEnabled"));
    EXPECT_EQ(Long(scanner.Get(), u"DataCount"), 0);
    EXPECT_EQ(Text(scanner.Get(), u"ScanData"), u"]E412345670");
}

TEST_F(Gating, FrozenEventsWaitForTheThaw) {
    ASSERT_EQ(Put(scanner.Get(), u"FreezeEvents", true), 0);
    ASSERT_EQ(Put(scanner.Get(), u"DataEventEnabled", true), 0);
    ASSERT_EQ(Scan(u"12345670"), 0);
    DrainPostedCalls();
    EXPECT_TRUE(sink->received.empty());
    ASSERT_EQ(Put(scanner.Get(), u"FreezeEvents", false), 0);
    DrainPostedCalls();
    EXPECT_EQ(sink->received.size(), 1u);
}

TEST_F(Gating, AutoDisableTurnsTheDeviceOffAfterOneInput) {
    ASSERT_EQ(Put(scanner.Get(), u"AutoDisable", true), 0);
    ASSERT_EQ(Scan(u"12345670"), 0);
    EXPECT_FALSE(Bool(scanner.Get(), u"DeviceEnabled"));
    const DirectIOResult ignored = DirectIO(scanner.Get(), kInput, 0, u"96385074");
    EXPECT_EQ(ignored.code, 0) << "the label was read; nobody was listening";
    EXPECT_EQ(ignored.data, 0) << "no object queued it";
    EXPECT_EQ(Long(scanner.Get(), u"DataCount"), 1);
}

TEST_F(Gating, ClearInputEmptiesTheQueue) {
    ASSERT_EQ(Scan(u"12345670"), 0);
    ASSERT_EQ(Scan(u"96385074"), 0);
    EXPECT_EQ(Long(scanner.Get(), u"DataCount"), 2);
    EXPECT_EQ(Call(scanner.Get(), u"ClearInput"), 0);
    EXPECT_EQ(Long(scanner.Get(), u"DataCount"), 0);
    ASSERT_EQ(Put(scanner.Get(), u"DataEventEnabled", true), 0);
    DrainPostedCalls();
    EXPECT_TRUE(sink->received.empty());
}

TEST_F(Gating, InputErrorWaitsForDataEventsToo) {
    ASSERT_EQ(DirectIO(scanner.Get(), kError, 0).code, 0);
    DrainPostedCalls();
    EXPECT_TRUE(sink->received.empty());
    EXPECT_EQ(Long(scanner.Get(), u"State"), 4);
    ASSERT_EQ(Put(scanner.Get(), u"DataEventEnabled", true), 0);
    DrainPostedCalls();
    ASSERT_EQ(sink->received.size(), 1u);
    EXPECT_EQ(sink->received[0].id, 3);
    EXPECT_EQ(Long(scanner.Get(), u"State"), 2);
}

// Responses, with data queued (locus input-data, ahead of the data) and without.
TEST(InputErrors, ResponsesAreHonoured) {
    struct Case {
        const char* what;
        bool dataQueued;
        LONG response; // 0: leave the proposed one
        LONG locus;
        std::vector<DISPID> events;
    };
    const Case cases[] = {
        {"continue lets queued data through, then the error comes back", true, 0, 3, {3, 1, 3}},
        {"clear drops queued data", true, 12, 3, {3}},
        {"clear is proposed without data", false, 0, 2, {3}},
        {"retry brings the input back", false, 11, 2, {3, 1}},
    };
    for (const Case& c : cases) {
        auto device = Create(u"OPOS.Scanner");
        auto events = AdviseSink(device.Get());
        OpenReady(device.Get(), u"SimScanner");
        IDispatch* raw = device.Get();
        events->errorResponse = c.response;
        events->reaction = [raw](const ReceivedEvent&) { Put(raw, u"DataEventEnabled", true); };
        if (c.dataQueued) {
            ASSERT_EQ(DirectIO(raw, kInput, 0, u"12345670").code, 0);
        }
        ASSERT_EQ(DirectIO(raw, kError, 0, u"96385074").code, 0);
        ASSERT_EQ(Put(raw, u"DataEventEnabled", true), 0);
        DrainPostedCalls();
        std::vector<DISPID> ids;
        for (const ReceivedEvent& e : events->received)
            ids.push_back(e.id);
        EXPECT_EQ(ids, c.events) << c.what;
        ASSERT_FALSE(events->received.empty());
        EXPECT_EQ(events->received[0].numbers[2], c.locus) << c.what;
        EXPECT_EQ(Long(raw, u"DataCount"), 0) << c.what;
        events->reaction = nullptr;
    }
}
