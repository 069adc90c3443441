// Symbology from the AIM identifier, and inference from length and check digit.
#include <gtest/gtest.h>

#include "protocols/scan/symbology.h"

namespace {

using namespace zorv::opos::scan;

TEST(ScanSymbology, AimIdentifierGivesTypeAndLabel) {
    struct Case {
        std::string_view data;
        long type;
        std::string_view label;
    };
    const Case cases[] = {
        {"]E04006381333931", kSdtEan13, "4006381333931"},
        {"]E0036000291452", kSdtUpcA, "036000291452"},
        {"]E001234565", kSdtUpcE, "01234565"},
        {"]E496385074", kSdtEan8, "96385074"},
        {"]E3400638133393112", kSdtEan13S, "400638133393112"},
        {"]C0ABC-123", kSdtCode128, "ABC-123"},
        {"]C1"
         "0101234567890128",
         kSdtEan128, "0101234567890128"},
        {"]A0CODE39", kSdtCode39, "CODE39"},
        {"]I012345678", kSdtItf, "12345678"},
        {"]Q1https://example.org", kSdtQrCode, "https://example.org"},
        {"]d2"
         "0109501101530003",
         kSdtDataMatrix, "0109501101530003"},
        {"]L2PDF", kSdtPdf417, "PDF"},
        {"]X0vendor", kSdtUnknown, "vendor"}, // unknown identifier: type unknown, data kept
        {"]E0123", kSdtUnknown, "123"},       // EAN/UPC of no valid length
    };
    for (const Case& c : cases) {
        const DecodedLabel decoded = DecodeLabel(c.data, true);
        EXPECT_EQ(decoded.type, c.type) << c.data;
        EXPECT_EQ(decoded.label, c.label) << c.data;
        EXPECT_EQ(decoded.identifier, std::string(c.data.substr(0, 3))) << c.data;
    }
}

TEST(ScanSymbology, WithoutPrefixOnlyCertainRetailCodesAreNamed) {
    struct Case {
        std::string_view label;
        long type;
    };
    const Case cases[] = {
        {"4006381333931", kSdtEan13},
        {"4006381333932", kSdtUnknown}, // bad check digit
        {"036000291452", kSdtUpcA},
        {"036000291453", kSdtUnknown},
        {"96385074", kSdtEan8},
        {"04252614", kSdtUpcE},
        {"00000000", kSdtUnknown}, // valid both as EAN-8 and as UPC-E: not certain
        {"ABC12345", kSdtUnknown},
        {"123456", kSdtUnknown},
        {"", kSdtUnknown},
        {"]E04006381333931", kSdtUnknown}, // a prefix is data when prefixes are off
    };
    for (const Case& c : cases)
        EXPECT_EQ(DecodeLabel(c.label, false).type, c.type) << c.label;
}

TEST(ScanSymbology, UpcEExpandsByItsLastDigit) {
    EXPECT_EQ(ExpandUpcE("01234565"), "012345000065");
    EXPECT_EQ(ExpandUpcE("04252614"), "042100005264");
    EXPECT_EQ(ExpandUpcE("01234531"), "012300000451");
    EXPECT_EQ(ExpandUpcE("01234543"), "012340000053");
    EXPECT_EQ(ExpandUpcE("21234565"), ""); // number system 2 is not UPC-E
    EXPECT_EQ(ExpandUpcE("0123456"), "");
}

} // namespace
