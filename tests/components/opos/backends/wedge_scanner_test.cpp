// A keyboard-wedge scanner on an input node, with a packet pipe for the
// node: typed labels in the US and French layouts become DataEvents, a
// label while disabled is dropped, a label too long or garbled by an
// unknown key is one input error, and the node going away is told as power.
#include <gtest/gtest.h>

#include <linux/input-event-codes.h>

#include "platform/com/apartment.h"
#include "real_device_support.h"

using namespace opos_test;

namespace {

constexpr DISPID kDataEvent = 1, kErrorEvent = 3, kStatusUpdateEvent = 4;
constexpr LONG kPowerOnline = 2001, kPowerOffOffline = 2004;

class WedgeScanner : public ::testing::Test {
protected:
    void Open(const std::string& settings) {
        profiles.Write("[TestWedgeScanner]\nkind = Scanner\nconnection = input:" + node.Path() + "\n" +
                       settings);
        scanner = Create(u"OPOS.Scanner");
        sink = AdviseSink(scanner.Get());
        ASSERT_EQ(Call(scanner.Get(), u"Open", {u"TestWedgeScanner"}), 0);
        ASSERT_EQ(Call(scanner.Get(), u"ClaimDevice", {LONG{1000}}), 0);
        ASSERT_EQ(Put(scanner.Get(), u"PowerNotify", LONG{1}), 0);
        ASSERT_EQ(Put(scanner.Get(), u"DeviceEnabled", true), 0);
        ASSERT_EQ(Put(scanner.Get(), u"DecodeData", true), 0);
        ASSERT_EQ(Put(scanner.Get(), u"DataEventEnabled", true), 0);
    }
    void TearDown() override {
        if (scanner)
            Call(scanner.Get(), u"Close");
        zorv::com::DrainPostedCalls();
    }
    std::u16string NextData(std::size_t nth) {
        if (!WaitForEvents(*sink, kDataEvent, nth))
            return u"(nothing)";
        const std::u16string data = Text(scanner.Get(), u"ScanData");
        Put(scanner.Get(), u"DataEventEnabled", true);
        return data;
    }

    ProfileFileOwner profiles;
    StandInNode node;
    ComPtr<IDispatch> scanner;
    ComPtr<Sink> sink;
};

} // namespace

TEST_F(WedgeScanner, TypedLabelsBecomeDataEventsThroughTheLayout) {
    Open("layout = us\nprefix = aim\n");
    node.Type(u"]E05901234123457");
    EXPECT_EQ(NextData(1), u"]E05901234123457");
    EXPECT_EQ(Text(scanner.Get(), u"ScanDataLabel"), u"5901234123457");
    EXPECT_EQ(Long(scanner.Get(), u"ScanDataType"), 104);
    node.Type(u"]C0Ab-9/x?");
    EXPECT_EQ(NextData(2), u"]C0Ab-9/x?");
    EXPECT_EQ(Long(scanner.Get(), u"ScanDataType"), 110);
    EXPECT_EQ(CountEvents(*sink, kErrorEvent), 0u);
}

TEST_F(WedgeScanner, AFrenchKeyboardScannerTypesThroughAzerty) {
    Open("layout = fr\n");
    node.Type(u"AZERTY-123", true, true);
    EXPECT_EQ(NextData(1), u"AZERTY-123");
    node.Type(u"5901234123457", true, true);
    EXPECT_EQ(NextData(2), u"5901234123457");
    EXPECT_EQ(Long(scanner.Get(), u"ScanDataType"), 104) << "the type inferred from the check digit";
    // The same keys read through the US layout would have been "QWERTY" and shifted digits.
    EXPECT_EQ(CountEvents(*sink, kErrorEvent), 0u);
}

TEST_F(WedgeScanner, ALabelWhileDisabledIsNotQueued) {
    Open("");
    ASSERT_EQ(Put(scanner.Get(), u"DeviceEnabled", false), 0);
    node.Type(u"DROPPED");
    PumpFor(200);
    ASSERT_EQ(Put(scanner.Get(), u"DeviceEnabled", true), 0);
    EXPECT_EQ(Long(scanner.Get(), u"DataCount"), 0);
    node.Type(u"KEPT");
    EXPECT_EQ(NextData(1), u"KEPT");
    PumpFor(100);
    EXPECT_EQ(CountEvents(*sink, kDataEvent), 1u);
}

TEST_F(WedgeScanner, ALabelTooLongOrGarbledIsOneInputErrorAndTheNextArrives) {
    Open("max_length = 16\n");
    node.Type(u"12345678901234567890");
    ASSERT_TRUE(WaitForEvents(*sink, kErrorEvent, 1));
    EXPECT_EQ(sink->received.back().numbers.at(0), 111);
    EXPECT_EQ(sink->received.back().numbers.at(2), 2) << "locus input";
    ASSERT_EQ(Put(scanner.Get(), u"DataEventEnabled", true), 0);

    // F5 and a key code past every layout: the label they fall in is lost, once.
    node.Type(u"AB", false);
    node.Key(KEY_F5, 1);
    node.Key(KEY_F5, 0);
    node.Key(0x2ff, 1);
    node.Type(u"CD");
    ASSERT_TRUE(WaitForEvents(*sink, kErrorEvent, 2));
    ASSERT_EQ(Put(scanner.Get(), u"DataEventEnabled", true), 0);
    node.Type(u"GOOD");
    EXPECT_EQ(NextData(1), u"GOOD");
    PumpFor(100);
    EXPECT_EQ(CountEvents(*sink, kErrorEvent), 2u);
    EXPECT_EQ(CountEvents(*sink, kDataEvent), 1u);
}

TEST_F(WedgeScanner, TheNodeGoingAwayIsOfflineUntilItComesBack) {
    Open("");
    EXPECT_EQ(Long(scanner.Get(), u"PowerState"), kPowerOnline);
    node.Type(u"HALF", false);
    PumpFor(50);
    node.Unplug();
    ASSERT_TRUE(WaitForEvents(*sink, kStatusUpdateEvent, 1));
    EXPECT_EQ(sink->received.back().numbers.at(0), kPowerOffOffline);
    EXPECT_EQ(Call(scanner.Get(), u"CheckHealth", {LONG{1}}), 111);

    node.Plug();
    ASSERT_TRUE(WaitForEvents(*sink, kStatusUpdateEvent, 2));
    EXPECT_EQ(sink->received.back().numbers.at(0), kPowerOnline);
    node.Type(u"AGAIN");
    EXPECT_EQ(NextData(1), u"AGAIN") << "the half label is not joined to the next";
    EXPECT_EQ(Call(scanner.Get(), u"CheckHealth", {LONG{1}}), 0);
}
