// A scanner on a serial line, with a pseudo-terminal for the line: labels
// framed at the suffix become DataEvents with their symbology, what arrives
// while disabled is dropped, faults in the stream are input errors, and the
// far end going away and coming back is told as power.
#include <gtest/gtest.h>

#include "platform/com/apartment.h"
#include "real_device_support.h"

using namespace opos_test;

namespace {

constexpr DISPID kDataEvent = 1, kErrorEvent = 3, kStatusUpdateEvent = 4;
constexpr LONG kPowerOnline = 2001, kPowerOffOffline = 2004;

class SerialScanner : public ::testing::Test {
protected:
    void SetUp() override {
        profiles.Write("[TestSerialScanner]\nkind = Scanner\nconnection = serial:" + line.Path() +
                       ",115200\nsuffix = CRLF\nprefix = aim\n" + extra);
        scanner = Create(u"OPOS.Scanner");
        sink = AdviseSink(scanner.Get());
        ASSERT_EQ(Call(scanner.Get(), u"Open", {u"TestSerialScanner"}), 0);
        ASSERT_EQ(Call(scanner.Get(), u"ClaimDevice", {LONG{1000}}), 0);
        ASSERT_EQ(Put(scanner.Get(), u"PowerNotify", LONG{1}), 0);
        ASSERT_EQ(Put(scanner.Get(), u"DeviceEnabled", true), 0);
        ASSERT_EQ(Put(scanner.Get(), u"DecodeData", true), 0);
        ASSERT_EQ(Put(scanner.Get(), u"DataEventEnabled", true), 0);
    }
    void TearDown() override {
        Call(scanner.Get(), u"Close");
        zorv::com::DrainPostedCalls();
    }

    // Takes the next DataEvent's label and re-arms, as an application does.
    std::u16string NextData(std::size_t nth) {
        if (!WaitForEvents(*sink, kDataEvent, nth))
            return u"(nothing)";
        const std::u16string data = Text(scanner.Get(), u"ScanData");
        Put(scanner.Get(), u"DataEventEnabled", true);
        return data;
    }

    std::string extra;
    ProfileFileOwner profiles;
    StandInLine line;
    ComPtr<IDispatch> scanner;
    ComPtr<Sink> sink;
};

} // namespace

TEST_F(SerialScanner, EachFramedLabelIsOneDataEventWithItsSymbology) {
    line.Send("]E05901234123457\r\n");
    ASSERT_TRUE(WaitForEvents(*sink, kDataEvent, 1));
    EXPECT_EQ(Text(scanner.Get(), u"ScanData"), u"]E05901234123457");
    EXPECT_EQ(Text(scanner.Get(), u"ScanDataLabel"), u"5901234123457");
    EXPECT_EQ(Long(scanner.Get(), u"ScanDataType"), 104);
    ASSERT_EQ(Put(scanner.Get(), u"DataEventEnabled", true), 0);

    // Reads split a label anywhere; several labels may come in one read.
    line.Send("]C0ABC");
    PumpFor(50);
    line.Send("-42\r");
    line.Send("\n]A0CODE39\r\n]E412345670\r\n");
    EXPECT_EQ(NextData(2), u"]C0ABC-42");
    EXPECT_EQ(Long(scanner.Get(), u"ScanDataType"), 110);
    EXPECT_EQ(NextData(3), u"]A0CODE39");
    EXPECT_EQ(Text(scanner.Get(), u"ScanDataLabel"), u"CODE39");
    EXPECT_EQ(NextData(4), u"]E412345670");
    EXPECT_EQ(Long(scanner.Get(), u"ScanDataType"), 103);
    EXPECT_EQ(CountEvents(*sink, kErrorEvent), 0u);
}

TEST_F(SerialScanner, WithoutDecodeDataOnlyTheRawBytesAreGiven) {
    ASSERT_EQ(Put(scanner.Get(), u"DecodeData", false), 0);
    line.Send("]E05901234123457\r\n");
    ASSERT_TRUE(WaitForEvents(*sink, kDataEvent, 1));
    EXPECT_EQ(Text(scanner.Get(), u"ScanData"), u"]E05901234123457");
    EXPECT_EQ(Text(scanner.Get(), u"ScanDataLabel"), u"");
    EXPECT_EQ(Long(scanner.Get(), u"ScanDataType"), 0);
}

TEST_F(SerialScanner, ALabelWhileDisabledIsNotQueued) {
    ASSERT_EQ(Put(scanner.Get(), u"DeviceEnabled", false), 0);
    line.Send("]C0DROPPED\r\n");
    PumpFor(300);
    ASSERT_EQ(Put(scanner.Get(), u"DeviceEnabled", true), 0);
    EXPECT_EQ(Long(scanner.Get(), u"DataCount"), 0);
    line.Send("]C0KEPT\r\n");
    ASSERT_TRUE(WaitForEvents(*sink, kDataEvent, 1));
    PumpFor(100);
    EXPECT_EQ(CountEvents(*sink, kDataEvent), 1u);
    EXPECT_EQ(Text(scanner.Get(), u"ScanData"), u"]C0KEPT");
}

// A 64 KB label without a suffix, binary noise, and garbage at the wrong
// baud rate each make one input error; the label after them still arrives.
TEST_F(SerialScanner, FaultsInTheStreamAreInputErrorsAndReadingGoesOn) {
    line.Send(std::string(16 * 1024, '7') + "\r\n");
    ASSERT_TRUE(WaitForEvents(*sink, kErrorEvent, 1));
    EXPECT_EQ(sink->received.back().numbers.at(0), 111);
    EXPECT_EQ(sink->received.back().numbers.at(2), 2) << "locus input";
    EXPECT_EQ(Put(scanner.Get(), u"DataEventEnabled", true), 0);

    line.Send(std::string("\x01\x7f\x02\xfe\x03", 5));
    line.Send("\x80\x91\x1b\r\n");
    ASSERT_TRUE(WaitForEvents(*sink, kErrorEvent, 2));
    PumpFor(100);
    EXPECT_EQ(Put(scanner.Get(), u"DataEventEnabled", true), 0);
    line.Send("]C0GOOD\r\n");
    ASSERT_TRUE(WaitForEvents(*sink, kDataEvent, 1));
    EXPECT_EQ(Text(scanner.Get(), u"ScanData"), u"]C0GOOD");
    EXPECT_GE(CountEvents(*sink, kErrorEvent), 2u);
    EXPECT_EQ(CountEvents(*sink, kDataEvent), 1u) << "no fault becomes data";
}

// A burst the program does not take in time overflows the link's buffer:
// what was lost is an input error, and the labels after it still arrive.
TEST_F(SerialScanner, LabelsLostInABurstAreAnInputErrorNotSilence) {
    const std::string label = "]C0" + std::string(1000, '1') + "\r\n";
    std::string burst;
    for (int i = 0; i < 200; ++i)
        burst += label;
    line.Send(burst); // nothing takes it meanwhile: the apartment is not pumped
    for (int round = 0; round < 400 && CountEvents(*sink, kErrorEvent) == 0; ++round) {
        Put(scanner.Get(), u"DataEventEnabled", true);
        PumpFor(5);
    }
    EXPECT_GE(CountEvents(*sink, kErrorEvent), 1u) << "the loss was told";
    EXPECT_LT(CountEvents(*sink, kDataEvent), 200u) << "some labels were lost";
    // Once the burst is over, a label sent after it arrives whole.
    for (int round = 0, quiet = 0; round < 2000 && quiet < 40; ++round) {
        const std::size_t seen = sink->received.size();
        Put(scanner.Get(), u"DataEventEnabled", true);
        PumpFor(5);
        quiet = sink->received.size() == seen ? quiet + 1 : 0;
    }
    line.Send("]C0AFTER\r\n");
    for (int round = 0; round < 400 && Text(scanner.Get(), u"ScanData") != u"]C0AFTER"; ++round) {
        Put(scanner.Get(), u"DataEventEnabled", true);
        PumpFor(5);
    }
    EXPECT_EQ(Text(scanner.Get(), u"ScanData"), u"]C0AFTER");
}

TEST_F(SerialScanner, TheFarEndClosingIsOfflineUntilThePathComesBack) {
    EXPECT_EQ(Long(scanner.Get(), u"PowerState"), kPowerOnline);
    line.Send("]C0HALF");
    PumpFor(50);
    line.Unplug();
    ASSERT_TRUE(WaitForEvents(*sink, kStatusUpdateEvent, 1));
    EXPECT_EQ(sink->received.back().numbers.at(0), kPowerOffOffline);
    EXPECT_EQ(Long(scanner.Get(), u"PowerState"), kPowerOffOffline);
    EXPECT_EQ(Call(scanner.Get(), u"CheckHealth", {LONG{1}}), 111);

    line.Plug();
    ASSERT_TRUE(WaitForEvents(*sink, kStatusUpdateEvent, 2));
    EXPECT_EQ(sink->received.back().numbers.at(0), kPowerOnline);
    line.Send("]C0AGAIN\r\n");
    ASSERT_TRUE(WaitForEvents(*sink, kDataEvent, 1));
    EXPECT_EQ(Text(scanner.Get(), u"ScanData"), u"]C0AGAIN") << "the half label is not joined to the next";
    EXPECT_EQ(Call(scanner.Get(), u"CheckHealth", {LONG{1}}), 0);
}

TEST(SerialScannerProfile, ASettingThatCannotBeUsedIsRefusedAtOpenRatherThanSimulated) {
    ProfileFileOwner profiles;
    StandInLine line;
    profiles.Write("[TestBadSuffix]\nkind = Scanner\nconnection = serial:" + line.Path() +
                   "\nsuffix = SEMICOLON\n[TestBadLine]\nkind = Scanner\nconnection = serial:\n"
                   "[TestNetScanner]\nkind = Scanner\nconnection = tcp:127.0.0.1:9\n");
    for (const char16_t* name : {u"TestBadSuffix", u"TestBadLine", u"TestNetScanner"}) {
        auto scanner = Create(u"OPOS.Scanner");
        EXPECT_EQ(Call(scanner.Get(), u"Open", {name}), 107);
        EXPECT_FALSE(Text(scanner.Get(), u"CheckHealthText").empty());
    }
    zorv::com::DrainPostedCalls();
}
