// What an ESC/POS receipt printer does with stored bitmaps, logos, memory
// bitmaps, ruled lines, every bar code symbology and the members it has no
// station for, checked in the virtual printer's transcript.
#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <fstream>

#include "opos_test_support.h"
#include "platform/com/apartment.h"
#include "virtual_printer_fixture.h"

using namespace opos_test;
using namespace escpos_device_test;
using zorv::com::DrainPostedCalls;

namespace {

constexpr LONG kReceipt = 2;

class EscPosMembers : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(virtualPrinter.Running());
        printer = Create(u"OPOS.POSPrinter");
        const std::u16string name = virtualPrinter.Connection();
        OpenReady(printer.Get(), name.c_str());
    }
    void TearDown() override {
        Call(printer.Get(), u"Close");
        DrainPostedCalls();
    }

    // A grey picture of that size, saved as a BMP in the printer's folder.
    std::u16string Picture(const char* name, int width, int height) {
        const std::filesystem::path path =
            std::filesystem::path(virtualPrinter.Folder().toStdString()) / name;
        QImage picture(width, height, QImage::Format_RGB32);
        picture.fill(Qt::darkGray);
        EXPECT_TRUE(picture.save(QString::fromStdString(path.string()), "BMP"));
        return zorv::com::Utf8ToUtf16(path.string());
    }
    bool Shows(const std::string& wanted) {
        return virtualPrinter.Transcript(wanted).find(wanted) != std::string::npos;
    }
    size_t Count(const std::string& wanted) {
        const std::string transcript = virtualPrinter.Transcript(wanted);
        size_t count = 0;
        for (size_t at = transcript.find(wanted); at != std::string::npos;
             at = transcript.find(wanted, at + 1))
            ++count;
        return count;
    }

    VirtualPrinter virtualPrinter;
    ComPtr<IDispatch> printer;
};

} // namespace

TEST_F(EscPosMembers, StoredBitmapsAndLogosPrintWhereTheDataSaysSo) {
    const std::u16string logo = Picture("stored.bmp", 120, 40);
    ASSERT_EQ(Call(printer.Get(), u"SetBitmap", {LONG{1}, kReceipt, logo.c_str(), LONG{-11}, LONG{-2}}), 0);
    EXPECT_EQ(Call(printer.Get(), u"PrintNormal", {kReceipt, u"\x1b|cAabove\n\x1b|1Bbelow\n"}), 0);
    EXPECT_TRUE(Shows("text \"below\""));
    const std::string transcript = virtualPrinter.Transcript();
    EXPECT_LT(transcript.find("text \"above\""), transcript.find("image 120x40"));
    EXPECT_LT(transcript.find("image 120x40"), transcript.find("text \"below\""));

    ASSERT_EQ(Call(printer.Get(), u"SetLogo", {LONG{1}, u"\x1b|1B"}), 0);
    EXPECT_EQ(Call(printer.Get(), u"PrintNormal", {kReceipt, u"\x1b|tLafter the logo\n"}), 0);
    EXPECT_TRUE(Shows("after the logo"));
    EXPECT_EQ(Count("image 120x40"), 2u);

    // The picture was read when it was stored: removing the file changes nothing.
    std::filesystem::remove(zorv::com::Utf16ToUtf8(logo));
    EXPECT_EQ(Call(printer.Get(), u"PrintNormal", {kReceipt, u"\x1b|1Bagain\n"}), 0);
    EXPECT_TRUE(Shows("again"));
    EXPECT_EQ(Count("image 120x40"), 3u);
}

TEST_F(EscPosMembers, AStoredBitmapThePrinterCannotReadIsRefusedWithAReason) {
    const std::filesystem::path path =
        std::filesystem::path(virtualPrinter.Folder().toStdString()) / "compressed.bmp";
    std::string bytes = "BM";
    bytes.resize(80, '\0');
    bytes[10] = 54;
    bytes[14] = 40;
    bytes[18] = 4;
    bytes[22] = 4;
    bytes[26] = 1;
    bytes[28] = 8;
    bytes[30] = 1; // run-length compressed
    std::ofstream(path.string(), std::ios::binary) << bytes;
    const std::u16string name = zorv::com::Utf8ToUtf16(path.string());
    EXPECT_EQ(Call(printer.Get(), u"SetBitmap", {LONG{2}, kReceipt, name.c_str(), LONG{-11}, LONG{-1}}), 114);
    EXPECT_EQ(Long(printer.Get(), u"ResultCodeExtended"), 207);
    EXPECT_NE(Text(printer.Get(), u"ErrorString").find(u"compressed"), std::u16string::npos);
}

TEST_F(EscPosMembers, MemoryBitmapsAreRasterisedLikeFiles) {
    const std::u16string file = Picture("memory.bmp", 64, 16);
    std::ifstream in(zorv::com::Utf16ToUtf8(file), std::ios::binary);
    std::u16string data;
    for (char c; in.get(c);)
        data += static_cast<char16_t>(static_cast<unsigned char>(c));
    EXPECT_EQ(Call(printer.Get(), u"PrintMemoryBitmap", {kReceipt, data, LONG{1}, LONG{-11}, LONG{-2}}), 0);
    EXPECT_TRUE(Shows("image 64x16"));
}

TEST_F(EscPosMembers, HorizontalRulesPrintAsPicturesVerticalOnesAreRefused) {
    EXPECT_EQ(Long(printer.Get(), u"CapRecRuledLine"), 1);
    EXPECT_EQ(Call(printer.Get(), u"DrawRuledLine", {kReceipt, u"0,576", LONG{1}, LONG{3}, LONG{1}, LONG{1}}),
              0);
    EXPECT_TRUE(Shows("image 576x3"));
    EXPECT_EQ(Call(printer.Get(), u"DrawRuledLine", {kReceipt, u"0,100", LONG{1}, LONG{2}, LONG{2}, LONG{1}}),
              0);
    EXPECT_TRUE(Shows("image 576x6")) << "a double rule: two lines and the space between";
    EXPECT_EQ(Call(printer.Get(), u"DrawRuledLine", {kReceipt, u"100", LONG{2}, LONG{2}, LONG{1}, LONG{1}}),
              106);
    EXPECT_EQ(Call(printer.Get(), u"DrawRuledLine", {kReceipt, u"0,600", LONG{1}, LONG{2}, LONG{1}, LONG{1}}),
              106)
        << "wider than the paper";
}

TEST_F(EscPosMembers, WithoutJournalOrSlipTheirMembersAreNotCapable) {
    EXPECT_EQ(Call(printer.Get(), u"PrintTwoNormal", {LONG{3}, u"a", u"b"}), 106);
    EXPECT_EQ(Call(printer.Get(), u"PrintTwoNormal", {LONG{0x8006}, u"a", u"b"}), 106);
    EXPECT_EQ(Call(printer.Get(), u"BeginInsertion", {LONG{0}}), 106);
    EXPECT_EQ(Call(printer.Get(), u"EndInsertion"), 106);
    EXPECT_EQ(Call(printer.Get(), u"BeginRemoval", {LONG{0}}), 106);
    EXPECT_EQ(Call(printer.Get(), u"EndRemoval"), 106);
}

TEST_F(EscPosMembers, EverySymbologyReachesThePaperOrIsRefusedWithAReason) {
    struct Case {
        LONG symbology;
        const char16_t* data;
        const char* shown;  // in the transcript; null: refused
        const char* reason; // in ErrorString when refused
    };
    const Case cases[] = {
        {102, u"01234565", "barcode UPC-E", nullptr},
        {103, u"96385074", "barcode EAN-8", nullptr},
        {108, u"ZORV-39", "barcode Code 39", nullptr},
        {106, u"12345678", "barcode ITF", nullptr},
        {107, u"A40156B", "barcode Codabar", nullptr},
        {109, u"Code 93 text", "barcode Code 93", nullptr},
        {110, u"{Bzorv-128", "barcode Code 128", nullptr},
        {201, u"PDF417 data for the receipt", "PDF417 \"PDF417 data for the receipt\"", nullptr},
        {102, u"11234565", nullptr, "number system"},
        {103, u"9638507X", nullptr, "EAN-8"},
        {108, u"lower case", nullptr, "capital"},
        {106, u"123", nullptr, "even"},
        {107, u"40156", nullptr, "starts and ends"},
        {109, u"caf\u00E9", nullptr, "ASCII"},
        {110, u"{X12", nullptr, "code set"},
        {105, u"12345", nullptr, "105"},
    };
    for (const Case& c : cases) {
        const std::string label = std::to_string(c.symbology) + " " + zorv::com::Utf16ToUtf8(c.data);
        const LONG result = Call(printer.Get(), u"PrintBarCode",
                                 {kReceipt, c.data, c.symbology, LONG{60}, LONG{2}, LONG{-2}, LONG{-13}});
        if (c.shown) {
            EXPECT_EQ(result, 0) << label << ": "
                                 << zorv::com::Utf16ToUtf8(Text(printer.Get(), u"ErrorString"));
            EXPECT_TRUE(Shows(c.shown)) << label;
        } else {
            EXPECT_EQ(result, 106) << label;
            EXPECT_NE(zorv::com::Utf16ToUtf8(Text(printer.Get(), u"ErrorString")).find(c.reason),
                      std::string::npos)
                << label;
        }
    }
}
