// Bar code data checked per symbology, and the GS k / GS ( k bytes.
#include <gtest/gtest.h>

#include "protocols/escpos/barcodes.h"
#include "escpos_test_support.h"

using namespace zorv::opos::escpos;
using escpos_test::Hex;
using escpos_test::Transcript;

namespace {

struct DataCase {
    Symbology symbology;
    std::string data;
    std::string reasonPart; // empty: accepted
};

TEST(EscPosBarcodes, DataIsCheckedPerSymbology) {
    const std::vector<DataCase> cases{
        {Symbology::UpcA, "03600029145", ""},
        {Symbology::UpcA, "036000291452", ""},
        {Symbology::UpcA, "036000291453", "check digit should be 2"},
        {Symbology::UpcA, "0360002914", "takes 11 digits"},
        {Symbology::UpcA, "03600A29145", "digits only"},
        {Symbology::UpcE, "123456", ""},
        {Symbology::UpcE, "01234565", ""},
        {Symbology::UpcE, "11234565", "number system"},
        {Symbology::UpcE, "01234500006", ""},
        {Symbology::UpcE, "012345000065", ""},
        {Symbology::UpcE, "012345000064", "check digit should be 5"},
        {Symbology::UpcE, "012345678905", "no zero-suppressed"},
        {Symbology::UpcE, "11234500006", "number system"},
        {Symbology::UpcE, "12345", "6 to 8 digits"},
        {Symbology::Ean8, "9638507", ""},
        {Symbology::Ean8, "96385074", ""},
        {Symbology::Ean8, "96385075", "check digit"},
        {Symbology::Ean13, "400638133393", ""},
        {Symbology::Ean13, "4006381333931", ""},
        {Symbology::Ean13, "4006381333932", "should be 1"},
        {Symbology::Code39, "ABC-123 $/+%.", ""},
        {Symbology::Code39, "*ABC*", ""},
        {Symbology::Code39, "abc", "capital"},
        {Symbology::Code39, "A*B", "capital"},
        {Symbology::Code39, "**", "at least one"},
        {Symbology::Itf, "1234", ""},
        {Symbology::Itf, "123", "even"},
        {Symbology::Itf, "12a4", "digits only"},
        {Symbology::Codabar, "A40156B", ""},
        {Symbology::Codabar, "a1-2$3:4/5.6+d", ""},
        {Symbology::Codabar, "40156", "starts and ends"},
        {Symbology::Codabar, "A12X3B", "between"},
        {Symbology::Code93, "Any text 123", ""},
        {Symbology::Code93, "caf\xC3\xA9", "ASCII"},
        {Symbology::Code93, "", "at least one"},
        {Symbology::Code128, "Hello {world}", ""},
        {Symbology::Code128, "{C\x0C\x22", ""},
        {Symbology::Code128, "{X12", "code set"},
        {Symbology::Code128, "ab\x01", "mix"},
        {Symbology::Code128, std::string(300, 'A'), "too long"},
        {Symbology::Qr, "https://example.com/\xC3\xA9", ""},
        {Symbology::Qr, "", "needs data"},
        {Symbology::Pdf417, std::string(1851, 'x'), "1850"},
    };
    for (const DataCase& c : cases) {
        const EncodedBarcode encoded = EncodeBarcode(c.symbology, c.data);
        if (c.reasonPart.empty()) {
            EXPECT_TRUE(encoded.ok()) << SymbologyName(c.symbology) << " " << c.data << ": " << encoded.error;
        } else {
            EXPECT_NE(encoded.error.find(c.reasonPart), std::string::npos)
                << SymbologyName(c.symbology) << " " << c.data << ": \"" << encoded.error << "\"";
            EXPECT_TRUE(encoded.bytes.empty());
        }
    }
}

TEST(EscPosBarcodes, QrCapacityDependsOnTheCorrectionLevel) {
    const std::string data(2400, 'x');
    BarcodeOptions options;
    options.qrCorrection = QrCorrection::L;
    EXPECT_TRUE(EncodeBarcode(Symbology::Qr, data, options).ok());
    options.qrCorrection = QrCorrection::H;
    EXPECT_NE(EncodeBarcode(Symbology::Qr, data, options).error.find("1273"), std::string::npos);
}

TEST(EscPosBarcodes, OneDimensionalBytes) {
    BarcodeOptions options;
    options.height = 100;
    options.moduleWidth = 3;
    options.hri = HriPosition::Above;
    EXPECT_EQ(Hex(EncodeBarcode(Symbology::Ean13, "4006381333931", options).bytes),
              "1D 48 01 1D 68 64 1D 77 03 1D 6B 43 0D 34 30 30 36 33 38 31 33 33 33 39 33 31");
    // Code 128 without a code set gets {B, and a '{' of the data is doubled.
    EXPECT_EQ(Hex(EncodeBarcode(Symbology::Code128, "a{").bytes.substr(9)), "1D 6B 49 05 7B 42 61 7B 7B");
    EXPECT_EQ(Hex(EncodeBarcode(Symbology::Code128, "A\tB").bytes.substr(9)), "1D 6B 49 05 7B 41 41 09 42");
}

// GS k m n d1...dn for each one-dimensional symbology, after the three settings.
TEST(EscPosBarcodes, EachSymbologyHasItsFunctionNumber) {
    struct Case {
        Symbology symbology;
        std::string data;
        int function;
    };
    const Case cases[] = {
        {Symbology::UpcA, "036000291452", 65},   {Symbology::UpcE, "01234565", 66},
        {Symbology::Ean13, "4006381333931", 67}, {Symbology::Ean8, "96385074", 68},
        {Symbology::Code39, "ZORV-39", 69},      {Symbology::Itf, "12345678", 70},
        {Symbology::Codabar, "A40156B", 71},     {Symbology::Code93, "Code 93", 72},
        {Symbology::Code128, "{Bzorv", 73},
    };
    for (const Case& c : cases) {
        const Bytes bytes = EncodeBarcode(c.symbology, c.data).bytes;
        ASSERT_GT(bytes.size(), 13u) << SymbologyName(c.symbology);
        EXPECT_EQ(Hex(bytes.substr(9, 3)), "1D 6B " + Hex(std::string(1, static_cast<char>(c.function))));
        EXPECT_EQ(static_cast<uint8_t>(bytes[12]), c.data.size()) << SymbologyName(c.symbology);
        EXPECT_EQ(bytes.substr(13), c.data) << SymbologyName(c.symbology);
        EXPECT_EQ(Transcript(bytes).back().rfind(std::string("barcode ") + SymbologyName(c.symbology), 0), 0u)
            << Transcript(bytes).back();
    }
    const Bytes pdf = EncodeBarcode(Symbology::Pdf417, "PDF").bytes;
    EXPECT_NE(Hex(pdf).find("1D 28 6B 06 00 30 50 30 50 44 46"), std::string::npos) << "stored";
    EXPECT_EQ(Hex(pdf.substr(pdf.size() - 8)), "1D 28 6B 03 00 30 51 30") << "printed";
}

// Each of the four zero-suppression rules, and the UPC-A form sent as the 8-digit UPC-E one.
TEST(EscPosBarcodes, UpcANumbersAreSentInTheirUpcEForm) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"01200000345", "01234502"}, // manufacturer ending 200, product 00345
        {"01230000045", "01234534"}, // manufacturer ending 00, product 00045
        {"01234000005", "01234545"}, // manufacturer ending 0, product 00005
        {"01234500006", "01234566"}, // product 00006
    };
    for (const auto& [upcA, upcE] : cases) {
        const EncodedBarcode encoded = EncodeBarcode(Symbology::UpcE, upcA);
        ASSERT_TRUE(encoded.ok()) << upcA << ": " << encoded.error;
        EXPECT_EQ(encoded.bytes.substr(encoded.bytes.size() - 8), upcE.substr(0, 7) + EanCheckDigit(upcA))
            << upcA;
    }
}

TEST(EscPosBarcodes, TwoDimensionalSymbolsAreStoredThenPrinted) {
    const Bytes qr = EncodeBarcode(Symbology::Qr, "HI").bytes;
    EXPECT_NE(Hex(qr).find("1D 28 6B 05 00 31 50 30 48 49"), std::string::npos);
    EXPECT_EQ(Hex(qr.substr(qr.size() - 8)), "1D 28 6B 03 00 31 51 30");
    const std::vector<std::string> expected{
        "setting 1D 28 6B 04 00 31 41 32 00", "setting 1D 28 6B 03 00 31 43 02",
        "setting 1D 28 6B 03 00 31 45 31", "setting 1D 28 6B 05 00 31 50 30 48 49", "QR Code \"HI\""};
    EXPECT_EQ(Transcript(qr), expected);
    const std::vector<std::string> lines =
        Transcript(EncodeBarcode(Symbology::Pdf417, std::string(300, 'z')).bytes);
    EXPECT_EQ(lines.back(), "PDF417 \"" + std::string(300, 'z') + "\"");
}

TEST(EscPosBarcodes, OposNumbersMapBothWays) {
    for (const Symbology s : {Symbology::UpcA, Symbology::UpcE, Symbology::Ean8, Symbology::Ean13,
                              Symbology::Code39, Symbology::Itf, Symbology::Codabar, Symbology::Code93,
                              Symbology::Code128, Symbology::Qr, Symbology::Pdf417})
        EXPECT_EQ(FromOposSymbology(OposSymbology(s)), s);
    EXPECT_EQ(OposSymbology(Symbology::Ean13), 104);
    EXPECT_FALSE(FromOposSymbology(105));
}

} // namespace
