// Statistics in the standard's XML, kept per logical device in a file beside
// the component; health checks at each level; firmware comparison and update.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "opos_test_support.h"
#include "platform/com/apartment.h"

using namespace opos_test;
using zorv::com::DrainPostedCalls;

namespace {

const std::filesystem::path kStatisticsFolder =
    std::filesystem::path(ZORV_COMPONENTS_DIR) / "zorv_opos.statistics";

std::u16string Retrieve(IDispatch* device, std::u16string_view request, LONG& code) {
    zorv::com::Bstr buffer(request);
    code = Call(device, u"RetrieveStatistics", {Arg::Ref(buffer)});
    return buffer.Str();
}

// The value the document gives a statistic, or -1.
long long ValueOf(const std::u16string& xml, std::u16string_view name) {
    const std::u16string tag = u"<Name>" + std::u16string(name) + u"</Name>";
    const auto at = xml.find(tag);
    if (at == std::u16string::npos)
        return -1;
    const auto value = xml.find(u"<Value>", at);
    return std::stoll(zorv::com::Utf16ToUtf8(xml.substr(value + 7, xml.find(u'<', value + 7) - value - 7)));
}

class Statistics : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::remove(kStatisticsFolder / "SimScanner.xml");
        scanner = Create(u"OPOS.Scanner");
        OpenReady(scanner.Get(), u"SimScanner");
    }
    void TearDown() override { DrainPostedCalls(); }

    ComPtr<IDispatch> scanner;
};

} // namespace

TEST_F(Statistics, RetrievedAsTheStandardsDocument) {
    EXPECT_TRUE(Bool(scanner.Get(), u"CapStatisticsReporting"));
    EXPECT_TRUE(Bool(scanner.Get(), u"CapUpdateStatistics"));
    ASSERT_EQ(DirectIO(scanner.Get(), kInput, 0, u"12345670").code, 0);
    ASSERT_EQ(DirectIO(scanner.Get(), kInput, 0, u"96385074").code, 0);
    LONG code = -1;
    const std::u16string all = Retrieve(scanner.Get(), u"", code);
    ASSERT_EQ(code, 0);
    for (const char16_t* part : {u"<UPOSStat version=\"1.14.1\"", u"<DeviceCategory UPOS=\"Scanner\"/>",
                                 u"<SerialNumber>SimScanner</SerialNumber>", u"<UnifiedPOSVersion>"})
        EXPECT_NE(all.find(part), std::u16string::npos) << zorv::com::Utf16ToUtf8(part);
    EXPECT_EQ(ValueOf(all, u"GoodScanCount"), 2);
    EXPECT_EQ(ValueOf(all, u"HoursPoweredCount"), 0);

    const std::u16string one = Retrieve(scanner.Get(), u"NoReadCount", code);
    EXPECT_EQ(ValueOf(one, u"NoReadCount"), 0);
    EXPECT_EQ(ValueOf(one, u"GoodScanCount"), -1) << "only what was asked";
    Retrieve(scanner.Get(), u"NoSuchCount", code);
    EXPECT_EQ(code, 106);
}

TEST_F(Statistics, ResetAndUpdateFollowTheRules) {
    ASSERT_EQ(DirectIO(scanner.Get(), kInput, 0, u"12345670").code, 0);
    EXPECT_EQ(Call(scanner.Get(), u"UpdateStatistics", {u"GoodScanCount=40,NoReadCount=2"}), 0);
    LONG code = -1;
    EXPECT_EQ(ValueOf(Retrieve(scanner.Get(), u"GoodScanCount", code), u"GoodScanCount"), 40);
    EXPECT_EQ(Call(scanner.Get(), u"UpdateStatistics", {u"HoursPoweredCount=9"}), 106) << "not resettable";
    EXPECT_EQ(Call(scanner.Get(), u"UpdateStatistics", {u"GoodScanCount"}), 106);
    EXPECT_EQ(Call(scanner.Get(), u"ResetStatistics", {u"NoReadCount"}), 0);
    EXPECT_EQ(ValueOf(Retrieve(scanner.Get(), u"", code), u"NoReadCount"), 0);
    EXPECT_EQ(ValueOf(Retrieve(scanner.Get(), u"", code), u"GoodScanCount"), 40);
    EXPECT_EQ(Call(scanner.Get(), u"ResetStatistics", {u""}), 0);
    EXPECT_EQ(ValueOf(Retrieve(scanner.Get(), u"", code), u"GoodScanCount"), 0);
    ASSERT_EQ(Put(scanner.Get(), u"DeviceEnabled", false), 0);
    EXPECT_EQ(Call(scanner.Get(), u"ResetStatistics", {u""}), 105);
}

TEST_F(Statistics, SurviveARestartInTheirFile) {
    ASSERT_EQ(Call(scanner.Get(), u"UpdateStatistics", {u"GoodScanCount=7"}), 0);
    ASSERT_EQ(Call(scanner.Get(), u"Close"), 0);
    EXPECT_TRUE(std::filesystem::exists(kStatisticsFolder / "SimScanner.xml"));

    auto again = Create(u"OPOS.Scanner");
    OpenReady(again.Get(), u"SimScanner");
    EXPECT_EQ(Text(again.Get(), u"CheckHealthText"), u"") << "a good file is no news";
    ASSERT_EQ(DirectIO(again.Get(), kInput, 0, u"12345670").code, 0);
    LONG code = -1;
    EXPECT_EQ(ValueOf(Retrieve(again.Get(), u"GoodScanCount", code), u"GoodScanCount"), 8);
}

TEST_F(Statistics, ADamagedOrMissingFileStartsAfreshAndSaysSo) {
    ASSERT_EQ(Call(scanner.Get(), u"Close"), 0);
    const char* const damaged[] = {"<UPOSStat><Parameter><Name>GoodScanCount</Name><Value>x</Value>",
                                   "not xml at all",
                                   "<UPOSStat><Parameter><Name>Bogus</Name><Value>1</Value>"
                                   "</Parameter></UPOSStat>"};
    for (const char* text : damaged) {
        std::ofstream(kStatisticsFolder / "SimScanner.xml", std::ios::trunc) << text;
        auto device = Create(u"OPOS.Scanner");
        ASSERT_EQ(Call(device.Get(), u"Open", {u"SimScanner"}), 0) << text;
        EXPECT_NE(Text(device.Get(), u"CheckHealthText").find(u"damaged"), std::u16string::npos) << text;
        ASSERT_EQ(Call(device.Get(), u"Claim", {LONG{0}}), 0);
        ASSERT_EQ(Put(device.Get(), u"DeviceEnabled", true), 0);
        EXPECT_EQ(Call(device.Get(), u"CheckHealth", {LONG{1}}), 0);
        EXPECT_NE(Text(device.Get(), u"CheckHealthText").find(u"started afresh"), std::u16string::npos);
        LONG code = -1;
        EXPECT_EQ(ValueOf(Retrieve(device.Get(), u"GoodScanCount", code), u"GoodScanCount"), 0);
        ASSERT_EQ(Call(device.Get(), u"Close"), 0);
    }
    std::filesystem::remove(kStatisticsFolder / "SimScanner.xml");
    auto fresh = Create(u"OPOS.Scanner");
    ASSERT_EQ(Call(fresh.Get(), u"Open", {u"SimScanner"}), 0);
    EXPECT_NE(Text(fresh.Get(), u"CheckHealthText").find(u"started afresh"), std::u16string::npos);
}

TEST(KindStatistics, EachKindCountsWhatItDoes) {
    std::filesystem::remove(kStatisticsFolder / "SimPrinter.xml");
    std::filesystem::remove(kStatisticsFolder / "SimCashDrawer.xml");
    auto printer = Create(u"OPOS.POSPrinter");
    OpenReady(printer.Get(), u"SimPrinter");
    ASSERT_EQ(Call(printer.Get(), u"PrintNormal", {LONG{2}, u"\x1b|bCab\ncd\n"}), 0);
    ASSERT_EQ(Call(printer.Get(), u"CutPaper", {LONG{100}}), 0);
    LONG code = -1;
    const std::u16string xml = Retrieve(printer.Get(), u"", code);
    EXPECT_EQ(ValueOf(xml, u"ReceiptLinePrintedCount"), 2);
    EXPECT_EQ(ValueOf(xml, u"ReceiptCharacterPrintedCount"), 4) << "escape sequences print nothing";
    EXPECT_EQ(ValueOf(xml, u"PaperCutCount"), 1);

    auto drawer = Create(u"OPOS.CashDrawer");
    OpenReady(drawer.Get(), u"SimCashDrawer", false);
    ASSERT_EQ(Call(drawer.Get(), u"OpenDrawer"), 0);
    EXPECT_EQ(ValueOf(Retrieve(drawer.Get(), u"", code), u"DrawerGoodOpenCount"), 1);
    DrainPostedCalls();
}

TEST(Health, EachLevelSaysWhatItChecked) {
    auto printer = Create(u"OPOS.POSPrinter");
    OpenReady(printer.Get(), u"SimPrinter");
    struct Case {
        LONG level;
        const char16_t* text;
    };
    for (const Case& c : {Case{1, u"Internal HCheck: Successful"}, Case{2, u"External HCheck: Successful"},
                          Case{3, u"Interactive HCheck: Successful"}}) {
        EXPECT_EQ(Call(printer.Get(), u"CheckHealth", {c.level}), 0);
        EXPECT_EQ(Text(printer.Get(), u"CheckHealthText").rfind(c.text, 0), 0u) << c.level;
    }
    const std::u16string paper = DirectIO(printer.Get(), kReadBack, 2).text;
    EXPECT_NE(paper.find(u"External"), std::u16string::npos) << "the external check prints";
    EXPECT_EQ(paper.find(u"Internal"), std::u16string::npos) << "the internal one does not";

    ASSERT_EQ(DirectIO(printer.Get(), kPower, 2003).code, 0);
    EXPECT_EQ(Call(printer.Get(), u"CheckHealth", {LONG{1}}), 111);
    EXPECT_EQ(Text(printer.Get(), u"CheckHealthText").rfind(u"Internal HCheck: Failed", 0), 0u);
    DrainPostedCalls();
}

TEST(Firmware, ComparedAndUpdatedWithProgressReports) {
    const auto folder = std::filesystem::temp_directory_path() / "zorv_firmware_test";
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "newer.bin") << "ZORV firmware 1.2.0\n";
    std::ofstream(folder / "older.bin") << "ZORV firmware 0.9\n";
    std::ofstream(folder / "other.bin") << "some other vendor's image\n";
    auto scanner = Create(u"OPOS.Scanner");
    auto sink = AdviseSink(scanner.Get());
    OpenReady(scanner.Get(), u"SimScanner");
    auto compare = [&](const std::filesystem::path& file, LONG& result) {
        const std::u16string name = zorv::com::Utf8ToUtf16(file.string());
        return Call(scanner.Get(), u"CompareFirmwareVersion", {name, Arg::Ref(result)});
    };
    LONG result = 0;
    EXPECT_EQ(compare(folder / "newer.bin", result), 0);
    EXPECT_EQ(result, 3);
    EXPECT_EQ(compare(folder / "older.bin", result), 0);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(compare(folder / "other.bin", result), 0);
    EXPECT_EQ(result, 5);
    EXPECT_EQ(compare(folder / "missing.bin", result), 109);

    const std::u16string newer = zorv::com::Utf8ToUtf16((folder / "newer.bin").string());
    ASSERT_EQ(Call(scanner.Get(), u"UpdateFirmware", {std::u16string_view(newer)}), 0);
    EXPECT_EQ(Long(scanner.Get(), u"State"), 3) << "busy while updating";
    EXPECT_EQ(Call(scanner.Get(), u"UpdateFirmware", {std::u16string_view(newer)}), 106);
    DrainPostedCalls();
    std::vector<LONG> statuses;
    for (const ReceivedEvent& e : sink->received)
        statuses.push_back(e.numbers.at(0));
    EXPECT_EQ(statuses, (std::vector<LONG>{2125, 2150, 2175, 2200}));
    EXPECT_EQ(Long(scanner.Get(), u"State"), 2);
    EXPECT_EQ(compare(folder / "newer.bin", result), 0);
    EXPECT_EQ(result, 2) << "the device now runs that version";
    std::filesystem::remove_all(folder);
}

TEST(OpenResult, SaysWhyOpenFailed) {
    auto scanner = Create(u"OPOS.Scanner");
    EXPECT_EQ(Call(scanner.Get(), u"Open", {u"NoSuchDevice"}), 109);
    EXPECT_EQ(Long(scanner.Get(), u"OpenResult"), 302);
    EXPECT_EQ(Call(scanner.Get(), u"Open", {u"SimScanner"}), 0);
    EXPECT_EQ(Long(scanner.Get(), u"OpenResult"), 0);
    EXPECT_EQ(Call(scanner.Get(), u"Open", {u"SimScanner"}), 106);
    EXPECT_EQ(Long(scanner.Get(), u"OpenResult"), 301);
}
