// Every property that the common page and the kind's catalogue read exists,
// closed or open, with the type the page converts it from.
#include <gtest/gtest.h>

#include <span>

#include "opos_test_support.h"

using namespace opos_test;

namespace {

struct Entry {
    const char16_t* name;
    VARTYPE type;
};

constexpr VARTYPE B = VT_BOOL, N = VT_I4, S = VT_BSTR;

const Entry kCommon[] = {
    {u"State", N},
    {u"ResultCode", N},
    {u"ResultCodeExtended", N},
    {u"DeviceName", S},
    {u"DeviceDescription", S},
    {u"ServiceObjectDescription", S},
    {u"ServiceObjectVersion", N},
    {u"ControlObjectDescription", S},
    {u"ControlObjectVersion", N},
    {u"Claimed", B},
    {u"DeviceEnabled", B},
    {u"DataEventEnabled", B},
    {u"FreezeEvents", B},
    {u"AutoDisable", B},
    {u"DataCount", N},
    {u"BinaryConversion", N},
    {u"CapPowerReporting", N},
    {u"PowerState", N},
};

const Entry kScanner[] = {{u"DecodeData", B}, {u"ScanData", S}, {u"ScanDataLabel", S}, {u"ScanDataType", N}};

const Entry kPrinter[] = {
    {u"CapConcurrentJrnSlp", B},
    {u"CapConcurrentRecSlp", B},
    {u"CapCoverSensor", B},
    {u"CapJrn2Color", B},
    {u"CapJrnBold", B},
    {u"CapJrnDhigh", B},
    {u"CapJrnDwide", B},
    {u"CapJrnDwideDhigh", B},
    {u"CapJrnEmptySensor", B},
    {u"CapJrnItalic", B},
    {u"CapJrnNearEndSensor", B},
    {u"CapJrnPresent", B},
    {u"CapJrnUnderline", B},
    {u"CapRec2Color", B},
    {u"CapRecBarCode", B},
    {u"CapRecBitmap", B},
    {u"CapRecBold", B},
    {u"CapRecDhigh", B},
    {u"CapRecDwide", B},
    {u"CapRecDwideDhigh", B},
    {u"CapRecEmptySensor", B},
    {u"CapRecItalic", B},
    {u"CapRecLeft90", B},
    {u"CapRecNearEndSensor", B},
    {u"CapRecPaperCut", B},
    {u"CapRecPresent", B},
    {u"CapRecRight90", B},
    {u"CapRecRotate180", B},
    {u"CapRecStamp", B},
    {u"CapRecUnderline", B},
    {u"CapSlp2Color", B},
    {u"CapSlpBitmap", B},
    {u"CapSlpBold", B},
    {u"CapSlpDhigh", B},
    {u"CapSlpDwide", B},
    {u"CapSlpDwideDhigh", B},
    {u"CapSlpEmptySensor", B},
    {u"CapSlpFullslip", B},
    {u"CapSlpItalic", B},
    {u"CapSlpLeft90", B},
    {u"CapSlpNearEndSensor", B},
    {u"CapSlpPresent", B},
    {u"CapSlpRight90", B},
    {u"CapSlpRotate180", B},
    {u"CapSlpUnderline", B},
    {u"CapTransaction", B},
    {u"CoverOpen", B},
    {u"FlagWhenIdle", B},
    {u"JrnEmpty", B},
    {u"JrnLetterQuality", B},
    {u"JrnNearEnd", B},
    {u"RecLetterQuality", B},
    {u"RecNearEnd", B},
    {u"SlpEmpty", B},
    {u"SlpLetterQuality", B},
    {u"SlpNearEnd", B},
    {u"CharacterSetList", S},
    {u"FontTypefaceList", S},
    {u"JrnLineChars", N},
    {u"JrnLineCharsList", S},
    {u"JrnLineHeight", N},
    {u"JrnLineSpacing", N},
    {u"JrnLineWidth", N},
    {u"RecBarCodeRotationList", S},
    {u"RecLineChars", N},
    {u"RecLineCharsList", S},
    {u"RecLineHeight", N},
    {u"RecLineSpacing", N},
    {u"RecLinesToPaperCut", N},
    {u"RecLineWidth", N},
    {u"RecSidewaysMaxChars", N},
    {u"RecSidewaysMaxLines", N},
    {u"SlpBarCodeRotationList", S},
    {u"SlpLineChars", N},
    {u"SlpLineCharsList", S},
    {u"SlpLineHeight", N},
    {u"SlpLinesNearEndToEnd", N},
    {u"SlpLineSpacing", N},
    {u"SlpLineWidth", N},
    {u"SlpMaxLines", N},
    {u"SlpSidewaysMaxChars", N},
    {u"SlpSidewaysMaxLines", N},
};

const Entry kLineDisplay[] = {
    {u"CapBlink", N},
    {u"CapBrightness", B},
    {u"CapCharacterSet", N},
    {u"CapDescriptors", B},
    {u"CapHMarquee", B},
    {u"CapICharWait", B},
    {u"CapVMarquee", B},
    {u"CharacterSet", N},
    {u"CharacterSetList", S},
    {u"Columns", N},
    {u"CurrentWindow", N},
    {u"CursorColumn", N},
    {u"CursorRow", N},
    {u"CursorUpdate", B},
    {u"DeviceBrightness", N},
    {u"DeviceColumns", N},
    {u"DeviceDescriptors", N},
    {u"DeviceRows", N},
    {u"DeviceWindows", N},
    {u"InterCharacterWait", N},
    {u"MarqueeFormat", N},
    {u"MarqueeRepeatWait", N},
    {u"MarqueeType", N},
    {u"MarqueeUnitWait", N},
    {u"Rows", N},
};

const Entry kKeylock[] = {{u"KeyPosition", N}, {u"PositionCount", N}};

const Entry kMSR[] = {
    {u"CapISO", B},
    {u"CapJISOne", B},
    {u"CapJISTwo", B},
    {u"DecodeData", B},
    {u"ParseDecodeData", B},
    {u"TracksToRead", N},
    {u"ErrorReportingType", N},
    {u"Track1Data", S},
    {u"Track2Data", S},
    {u"Track3Data", S},
    {u"AccountNumber", S},
    {u"ExpirationDate", S},
    {u"Title", S},
    {u"FirstName", S},
    {u"MiddleInitial", S},
    {u"Surname", S},
    {u"Suffix", S},
    {u"ServiceCode", S},
    {u"Track1DiscretionaryData", S},
    {u"Track2DiscretionaryData", S},
};

const Entry kPOSKeyboard[] = {
    {u"CapKeyUp", B}, {u"EventTypes", N}, {u"POSKeyData", N}, {u"POSKeyEventType", N}};

const Entry kCashDrawer[] = {{u"CapStatus", B}, {u"DrawerOpened", B}};

struct Catalogue {
    const char16_t* progId;
    const char16_t* device;
    std::span<const Entry> entries;
};

const Catalogue kCatalogues[] = {
    {u"OPOS.Scanner", u"SimScanner", kScanner},
    {u"OPOS.POSPrinter", u"SimPrinter", kPrinter},
    {u"OPOS.LineDisplay", u"SimLineDisplay", kLineDisplay},
    {u"OPOS.Keylock", u"SimKeylock", kKeylock},
    {u"OPOS.MSR", u"SimMSR", kMSR},
    {u"OPOS.POSKeyboard", u"SimPOSKeyboard", kPOSKeyboard},
    {u"OPOS.CashDrawer", u"SimCashDrawer", kCashDrawer},
};

void ExpectTypes(IDispatch* device, std::span<const Entry> entries, const char* when) {
    for (const Entry& entry : entries) {
        Variant value;
        ASSERT_NO_THROW(value = zorv::outside::GetProperty(device, entry.name))
            << zorv::com::Utf16ToUtf8(entry.name) << " " << when;
        EXPECT_EQ(value.vt, entry.type) << zorv::com::Utf16ToUtf8(entry.name) << " " << when;
    }
}

class EveryCatalogue : public ::testing::TestWithParam<Catalogue> {};

} // namespace

TEST_P(EveryCatalogue, ReadsEveryPropertyWithItsTypeClosedAndOpen) {
    const Catalogue catalogue = GetParam();
    auto device = Create(catalogue.progId);
    ExpectTypes(device.Get(), kCommon, "closed");
    ExpectTypes(device.Get(), catalogue.entries, "closed");
    OpenReady(device.Get(), catalogue.device, std::u16string_view(catalogue.progId) != u"OPOS.Keylock");
    ExpectTypes(device.Get(), kCommon, "open");
    ExpectTypes(device.Get(), catalogue.entries, "open");
}

INSTANTIATE_TEST_SUITE_P(Kinds, EveryCatalogue, ::testing::ValuesIn(kCatalogues));

TEST(Catalogue, PropertiesOfOtherKindsAreNotMembers) {
    auto scanner = Create(u"OPOS.Scanner");
    EXPECT_THROW(zorv::outside::GetProperty(scanner.Get(), u"CapRecPresent"), zorv::outside::EOleError);
    EXPECT_THROW(Call(scanner.Get(), u"PrintNormal", {LONG{2}, u"x"}), zorv::outside::EOleError);
}

TEST(Catalogue, ReadOnlyPropertiesRefuseAPut) {
    auto printer = Create(u"OPOS.POSPrinter");
    ASSERT_EQ(Call(printer.Get(), u"Open", {u"SimPrinter"}), 0);
    EXPECT_THROW(zorv::outside::PutProperty(printer.Get(), u"State", LONG{2}), zorv::outside::EOleError);
    EXPECT_THROW(zorv::outside::PutProperty(printer.Get(), u"CapRecNearEndSensor", false),
                 zorv::outside::EOleError);
    EXPECT_TRUE(Bool(printer.Get(), u"CapRecNearEndSensor"));
}
