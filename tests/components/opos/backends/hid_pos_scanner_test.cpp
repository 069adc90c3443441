// A HID point-of-sale scanner on a hidraw node, played by a packet pipe that
// keeps report boundaries: scanned-data reports give the symbology and the
// label, a long label spans reports, and a report of the wrong size or with
// a length past its data is one input error without ending the reading.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/com/apartment.h"
#include "real_device_support.h"

using namespace opos_test;

namespace {

constexpr DISPID kDataEvent = 1, kErrorEvent = 3;

std::vector<std::uint8_t> Report(std::string_view identifier, std::string_view data, bool more = false) {
    std::vector<std::uint8_t> report(64, 0);
    report[0] = 2;
    report[1] = static_cast<std::uint8_t>(data.size());
    std::copy(identifier.begin(), identifier.end(), report.begin() + 2);
    std::copy(data.begin(), data.end(), report.begin() + 5);
    report[63] = more ? 1 : 0;
    return report;
}

class HidPosScanner : public ::testing::Test {
protected:
    void SetUp() override {
        profiles.Write("[TestHidScanner]\nkind = Scanner\nconnection = hidraw:" + node.Path() + "\n");
        scanner = Create(u"OPOS.Scanner");
        sink = AdviseSink(scanner.Get());
        ASSERT_EQ(Call(scanner.Get(), u"Open", {u"TestHidScanner"}), 0);
        ASSERT_EQ(Call(scanner.Get(), u"ClaimDevice", {LONG{1000}}), 0);
        ASSERT_EQ(Put(scanner.Get(), u"DeviceEnabled", true), 0);
        ASSERT_EQ(Put(scanner.Get(), u"DecodeData", true), 0);
        ASSERT_EQ(Put(scanner.Get(), u"DataEventEnabled", true), 0);
    }
    void TearDown() override {
        Call(scanner.Get(), u"Close");
        zorv::com::DrainPostedCalls();
    }
    void Send(const std::vector<std::uint8_t>& report) { node.Send(report.data(), report.size()); }

    ProfileFileOwner profiles;
    StandInNode node;
    ComPtr<IDispatch> scanner;
    ComPtr<Sink> sink;
};

} // namespace

TEST_F(HidPosScanner, ScannedDataReportsGiveTheSymbologyAndTheLabel) {
    Send(Report("]E0", "5901234123457"));
    ASSERT_TRUE(WaitForEvents(*sink, kDataEvent, 1));
    EXPECT_EQ(Text(scanner.Get(), u"ScanData"), u"]E05901234123457");
    EXPECT_EQ(Text(scanner.Get(), u"ScanDataLabel"), u"5901234123457");
    EXPECT_EQ(Long(scanner.Get(), u"ScanDataType"), 104);
    ASSERT_EQ(Put(scanner.Get(), u"DataEventEnabled", true), 0);

    // 70 characters: two reports, the first saying more follows.
    const std::string longLabel(70, 'Q');
    Send(Report("]C0", std::string_view(longLabel).substr(0, 56), true));
    Send(Report("", std::string_view(longLabel).substr(56)));
    ASSERT_TRUE(WaitForEvents(*sink, kDataEvent, 2));
    EXPECT_EQ(Text(scanner.Get(), u"ScanDataLabel"), std::u16string(70, u'Q'));
    EXPECT_EQ(Long(scanner.Get(), u"ScanDataType"), 110);
    EXPECT_EQ(CountEvents(*sink, kErrorEvent), 0u);
}

TEST_F(HidPosScanner, AReportOfTheWrongSizeIsAnInputErrorAndReadingGoesOn) {
    Send(Report("]C0", "FIRSTHALF", true));
    const std::vector<std::uint8_t> shortReport(20, 2);
    Send(shortReport);
    ASSERT_TRUE(WaitForEvents(*sink, kErrorEvent, 1));
    EXPECT_EQ(sink->received.back().numbers.at(0), 111);
    ASSERT_EQ(Put(scanner.Get(), u"DataEventEnabled", true), 0);

    std::vector<std::uint8_t> badLength = Report("]C0", "X");
    badLength[1] = 200;
    Send(badLength);
    ASSERT_TRUE(WaitForEvents(*sink, kErrorEvent, 2));
    ASSERT_EQ(Put(scanner.Get(), u"DataEventEnabled", true), 0);

    std::vector<std::uint8_t> status = Report("", "");
    status[0] = 5; // another report of the scanner: not scanned data
    Send(status);
    Send(Report("]C0", "AFTER"));
    ASSERT_TRUE(WaitForEvents(*sink, kDataEvent, 1));
    EXPECT_EQ(Text(scanner.Get(), u"ScanData"), u"]C0AFTER") << "the half label before the fault is dropped";
    PumpFor(100);
    EXPECT_EQ(CountEvents(*sink, kErrorEvent), 2u);
}
