// The kinds' catalogues against a test device: rows, their order, their
// conversions, code tables and where a failure stops.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <optional>

#include "outside/ole_error.h"
#include "recording_views.h"
#include "test_device.h"
#include "views/kind_properties.h"
#include "views/property_rows.h"

using namespace zorv;
using namespace zorv::testing;
using devices::DeviceKindId;

namespace {

// A device with no power reporting: State to BinaryConversion and CapPowerReporting.
constexpr std::size_t kCommonReads = 17;

struct Shown {
    RecordingCommonView common;
    RecordingSpecificView specific;
};

void Show(DeviceKindId kind, TestDevice& device, Shown& shown) {
    views::ShowKindProperties(kind, device.Source(), shown.common, shown.specific);
}

std::vector<std::u16string> CatalogueReads(TestDevice& device) {
    const std::vector<std::u16string> reads = device.Reads();
    return {reads.begin() + std::min(kCommonReads, reads.size()), reads.end()};
}

std::u16string Lower(std::u16string text) {
    for (char16_t& c : text)
        c = static_cast<char16_t>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// Whether `shown` appear in the same relative order as they were read.
bool InReadOrder(const std::vector<std::u16string>& reads, const std::vector<std::u16string>& shown) {
    auto at = reads.begin();
    for (const std::u16string& name : shown) {
        at = std::find(at, reads.end(), name);
        if (at == reads.end())
            return false;
    }
    return true;
}

std::vector<std::u16string> CheckTexts(const RecordingSpecificView& view) {
    std::vector<std::u16string> texts;
    for (const CheckItem& item : view.checks)
        texts.push_back(item.text);
    return texts;
}

// Row captions without their " :".
std::vector<std::u16string> RowLabels(const RecordingSpecificView& view) {
    std::vector<std::u16string> labels;
    for (const ValueRow& row : view.rows)
        labels.push_back(row.caption.substr(0, row.caption.size() - 2));
    return labels;
}

} // namespace

TEST(PrinterCatalogue, ShowsFiftySixFlagsThenTwentySixTextsEachGroupAlphabetical) {
    TestDevice device;
    auto& p = device.Log().properties;
    p[u"CapRecNearEndSensor"] = com::Variant(true);
    p[u"JrnLineChars"] = com::Variant(LONG{42});
    p[u"FontTypefaceList"] = com::Variant(u"");
    p[u"CharacterSetList"] = com::Variant(u"998,999");
    Shown shown;
    views::ShowKindProperties(devices::DeviceKindId::Printer, device.Source(), shown.common, shown.specific);

    const auto& checks = shown.specific.checks;
    const auto& rows = shown.specific.rows;
    ASSERT_EQ(checks.size(), 56u);
    ASSERT_EQ(rows.size(), 26u);
    EXPECT_EQ(device.Fetches(), 1 + 82);

    const auto flags = CheckTexts(shown.specific);
    const auto labels = RowLabels(shown.specific);
    auto reads = flags;
    reads.insert(reads.end(), labels.begin(), labels.end());
    EXPECT_EQ(CatalogueReads(device), reads);
    const auto caseless = [](const std::u16string& a, const std::u16string& b) {
        return Lower(a) < Lower(b);
    };
    EXPECT_TRUE(std::is_sorted(flags.begin(), flags.end(), caseless));
    EXPECT_TRUE(std::is_sorted(labels.begin(), labels.end(), caseless));

    EXPECT_EQ(checks.front(), (CheckItem{u"CapConcurrentJrnSlp", false}));
    EXPECT_EQ(checks[22], (CheckItem{u"CapRecLeft90", false}));
    EXPECT_EQ(checks[23], (CheckItem{u"CapRecNearEndSensor", true}));
    EXPECT_EQ(checks[24], (CheckItem{u"CapRecPaperCut", false}));
    EXPECT_EQ(checks.back(), (CheckItem{u"SlpNearEnd", false}));
    EXPECT_EQ(rows.front(), (ValueRow{u"CharacterSetList :", u"998,999"}));
    EXPECT_EQ(rows.back().caption, u"SlpSidewaysMaxLines :");
    EXPECT_EQ(shown.specific.Row(u"JrnLineChars :")->value, u"42");
    EXPECT_EQ(shown.specific.Row(u"FontTypefaceList :")->value, u"");
}

TEST(Catalogues, EachKindShowsItsRowsInReadOrder) {
    // Every value left empty, so every code reads as 0.
    const struct {
        DeviceKindId kind;
        std::size_t checks;
        std::size_t rows;
    } cases[] = {
        {DeviceKindId::Scanner, 1, 3},    {DeviceKindId::Printer, 56, 26}, {DeviceKindId::LineDisplay, 6, 19},
        {DeviceKindId::Keylock, 0, 2},    {DeviceKindId::MSR, 5, 14},      {DeviceKindId::POSKeyboard, 1, 1},
        {DeviceKindId::CashDrawer, 2, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        TestDevice device;
        Shown shown;
        Show(c.kind, device, shown);
        EXPECT_EQ(shown.specific.checks.size(), c.checks);
        EXPECT_EQ(shown.specific.rows.size(), c.rows);
        const auto reads = CatalogueReads(device);
        EXPECT_EQ(device.Fetches(), 1 + static_cast<int>(reads.size()));
        EXPECT_TRUE(InReadOrder(reads, CheckTexts(shown.specific)));
        auto labels = RowLabels(shown.specific);
        std::replace(labels.begin(), labels.end(), std::u16string(u"MiddleName"),
                     std::u16string(u"MiddleInitial"));
        EXPECT_TRUE(InReadOrder(reads, labels));
    }
}

namespace {

struct ValueCase {
    DeviceKindId kind;
    std::u16string property;
    com::Variant value;
    std::u16string caption;
    std::optional<std::u16string> shown; // none: no row at all
};

const ValueCase kValueCases[] = {
    {DeviceKindId::LineDisplay, u"CapBlink", LONG{2}, u"CapBlink :", u"DISP_CB_BLINKEACH"},
    {DeviceKindId::LineDisplay, u"CapBlink", LONG{3}, u"CapBlink :", std::nullopt},
    {DeviceKindId::LineDisplay, u"CapCharacterSet", LONG{998}, u"CapCharacterSet :", u"DISP_CCS_ASCII"},
    {DeviceKindId::LineDisplay, u"CapCharacterSet", LONG{997}, u"CapCharacterSet :", std::nullopt},
    {DeviceKindId::LineDisplay, u"CharacterSet", LONG{437}, u"CharacterSet :", u"437"},
    {DeviceKindId::LineDisplay, u"CharacterSet", LONG{999}, u"CharacterSet :", u"DISP_CS_WINDOWS"},
    {DeviceKindId::LineDisplay, u"CharacterSet", LONG{-1}, u"CharacterSet :", u"-1"},
    {DeviceKindId::LineDisplay, u"Columns", u"20", u"Columns :", u"20"},
    {DeviceKindId::LineDisplay, u"DeviceBrightness", LONG{-3}, u"DeviceBrightness :", u"-3"},
    {DeviceKindId::LineDisplay, u"MarqueeFormat", LONG{1}, u"MarqueeFormat :", u"DISP_MF_PLACE"},
    {DeviceKindId::LineDisplay, u"MarqueeType", LONG{5}, u"MarqueeType :", u"DISP_MT_INIT"},
    {DeviceKindId::LineDisplay, u"MarqueeType", LONG{6}, u"MarqueeType :", std::nullopt},
    {DeviceKindId::LineDisplay, u"MarqueeType", LONG{-1}, u"MarqueeType :", std::nullopt},
    {DeviceKindId::Keylock, u"KeyPosition", LONG{0}, u"KeyPosition :", u"0"},
    {DeviceKindId::Keylock, u"KeyPosition", LONG{2}, u"KeyPosition :", u"LOCK_KP_NORM"},
    {DeviceKindId::Keylock, u"KeyPosition", LONG{4}, u"KeyPosition :", u"4"},
    {DeviceKindId::Keylock, u"KeyPosition", LONG{INT32_MIN}, u"KeyPosition :", u"-2147483648"},
    {DeviceKindId::MSR, u"TracksToRead", LONG{0}, u"TracksToRead :", std::nullopt},
    {DeviceKindId::MSR, u"TracksToRead", LONG{3}, u"TracksToRead :", u"MSR_TR_1_2"},
    {DeviceKindId::MSR, u"TracksToRead", LONG{4}, u"TracksToRead :", u"MSR_TR_3"},
    {DeviceKindId::MSR, u"ErrorReportingType", LONG{1}, u"ErrorReportingType :", u"MSR_ERT_TRACK"},
    {DeviceKindId::MSR, u"MiddleInitial", u"Q", u"MiddleName :", u"Q"},
    {DeviceKindId::MSR, u"MiddleInitial", u"Q", u"MiddleInitial :", std::nullopt},
    {DeviceKindId::POSKeyboard, u"EventTypes", LONG{1}, u"EventTypes :", u"KBD_ET_DOWN"},
    {DeviceKindId::POSKeyboard, u"POSKeyEventType", LONG{2}, u"POSKeyEventType :", u"KBD_ET_DOWN_UP"},
    {DeviceKindId::POSKeyboard, u"POSKeyEventType", LONG{3}, u"POSKeyEventType :", std::nullopt},
    {DeviceKindId::Scanner, u"ScanDataType", LONG{101}, u"ScanDataType :", u"101"},
    {DeviceKindId::Scanner, u"ScanData", u"", u"ScanData :", u""},
    {DeviceKindId::Printer, u"RecLineChars", true, u"RecLineChars :", u"True"},
};

} // namespace

TEST(Catalogues, ValuesAreConvertedAndCodesNamedPerEntry) {
    for (const ValueCase& c : kValueCases) {
        SCOPED_TRACE(std::string(c.caption.begin(), c.caption.end()));
        TestDevice device;
        device.Log().properties[c.property] = c.value;
        Shown shown;
        Show(c.kind, device, shown);
        const ValueRow* row = shown.specific.Row(c.caption);
        ASSERT_EQ(row != nullptr, c.shown.has_value());
        if (row) {
            EXPECT_EQ(row->value, *c.shown);
        }
    }
}

TEST(Catalogues, ALineDisplayCodeOutsideItsTableDropsOnlyItsOwnRow) {
    TestDevice device;
    device.Log().properties[u"CapBlink"] = com::Variant(LONG{3});
    device.Log().properties[u"MarqueeType"] = com::Variant(LONG{6});
    Shown shown;
    Show(DeviceKindId::LineDisplay, device, shown);
    const auto& rows = shown.specific.rows;
    ASSERT_EQ(rows.size(), 17u);
    EXPECT_EQ(rows.front(), (ValueRow{u"CapCharacterSet :", u"DISP_CCS_NUMERIC"}));
    EXPECT_EQ(rows[rows.size() - 2].caption, u"MarqueeUnitWait :");
    EXPECT_EQ(rows.back().caption, u"Rows :");
}

namespace {

enum class Fault { Missing, Raising, NotConvertible };

struct FailureCase {
    DeviceKindId kind;
    std::u16string property;
    Fault fault;
    std::size_t checksLeft;
    std::size_t rowsLeft;
};

const FailureCase kFailureCases[] = {
    {DeviceKindId::Printer, u"CapJrnBold", Fault::Missing, 4, 0},
    {DeviceKindId::Printer, u"CoverOpen", Fault::Missing, 46, 0},
    {DeviceKindId::Printer, u"CapRecNearEndSensor", Fault::NotConvertible, 23, 0},
    {DeviceKindId::LineDisplay, u"CapHMarquee", Fault::Raising, 2, 2},
    {DeviceKindId::LineDisplay, u"Columns", Fault::NotConvertible, 5, 4},
    {DeviceKindId::MSR, u"ParseDecodeData", Fault::Missing, 4, 0},
    {DeviceKindId::Keylock, u"KeyPosition", Fault::NotConvertible, 0, 0},
    {DeviceKindId::POSKeyboard, u"POSKeyEventType", Fault::Raising, 1, 1},
    {DeviceKindId::Scanner, u"ScanDataType", Fault::Missing, 1, 2},
    {DeviceKindId::CashDrawer, u"DrawerOpened", Fault::NotConvertible, 1, 0},
};

} // namespace

TEST(Catalogues, TheFirstFailingEntryEndsTheRoutineKeepingEarlierRows) {
    for (const FailureCase& c : kFailureCases) {
        SCOPED_TRACE(std::string(c.property.begin(), c.property.end()));
        TestDevice device;
        switch (c.fault) {
        case Fault::Missing:
            device.Log().behaviour.missingMembers.insert(c.property);
            break;
        case Fault::Raising:
            device.Log().behaviour.failingMembers[c.property] = u"Erreur matérielle";
            break;
        case Fault::NotConvertible:
            // Null converts to no boolean, number or text.
            device.Log().properties[c.property] = com::Variant::Null();
            break;
        }
        Shown shown;
        EXPECT_THROW(Show(c.kind, device, shown), outside::EOleError);
        EXPECT_EQ(shown.specific.checks.size(), c.checksLeft);
        EXPECT_EQ(shown.specific.rows.size(), c.rowsLeft);
        // Nothing after the failing entry is read; an unknown member fails at
        // the name lookup, after the fetch but before any call is recorded.
        const auto reads = CatalogueReads(device);
        EXPECT_EQ(std::count(reads.begin(), reads.end(), c.property), c.fault == Fault::Missing ? 0 : 1);
        EXPECT_TRUE(c.fault == Fault::Missing || reads.back() == c.property);
        EXPECT_EQ(device.Fetches(), 1 + static_cast<int>(reads.size()) + (c.fault == Fault::Missing ? 1 : 0));
    }
}

TEST(Catalogues, AFailureInTheCommonPartStopsBeforeAnyEntryIsRead) {
    TestDevice device;
    device.Log().behaviour.failingMembers[u"DeviceName"] = u"Absent";
    Shown shown;
    EXPECT_THROW(Show(DeviceKindId::Printer, device, shown), outside::EOleError);
    EXPECT_EQ(device.Reads().back(), u"DeviceName");
    EXPECT_EQ(device.Fetches(), 1);
    EXPECT_TRUE(shown.specific.checks.empty());
}

TEST(Catalogues, ARefreshStartsFromEmptyListsWhateverTheLastKindShowed) {
    TestDevice device;
    Shown shown;
    Show(DeviceKindId::Printer, device, shown);
    Show(DeviceKindId::CashDrawer, device, shown);
    EXPECT_EQ(CheckTexts(shown.specific), (std::vector<std::u16string>{u"CapStatus", u"DrawerOpened"}));
    EXPECT_TRUE(shown.specific.rows.empty());
}

TEST(PropertyRows, AValueRowShowsTheValueAsTextAfterItsCaption) {
    const std::pair<com::Variant, std::u16string> cases[] = {
        {com::Variant(u"Arial,Courier"), u"Arial,Courier"},
        {com::Variant(u""), u""},
        {com::Variant(LONG{-42}), u"-42"},
        {com::Variant(LONG{INT32_MIN}), u"-2147483648"},
        {com::Variant(SHORT{7}), u"7"},
        {com::Variant(true), u"True"},
        {com::Variant(false), u"False"},
    };
    RecordingSpecificView view;
    for (const auto& [value, text] : cases) {
        views::AddValueRow(view, u"Label", value);
        EXPECT_EQ(view.rows.back(), (ValueRow{u"Label :", text}));
    }
    EXPECT_THROW(views::AddValueRow(view, u"Null", com::Variant::Null()), outside::EOleError);
    EXPECT_EQ(view.rows.size(), std::size(cases));
}
