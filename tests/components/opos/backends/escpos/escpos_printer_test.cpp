// An ESC/POS printer through the late-bound caller, against the virtual
// printer on loopback: configuration, connection, what each print method
// sends, code pages, status and events.
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
constexpr DISPID kErrorEvent = 2, kOutputComplete = 3, kStatusUpdate = 4;

class EscPosPrinter : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(virtualPrinter.Running());
        printer = Create(u"OPOS.POSPrinter");
        sink = AdviseSink(printer.Get());
    }
    void TearDown() override {
        Call(printer.Get(), u"Close");
        DrainPostedCalls();
    }

    void OpenIt() {
        const std::u16string name = virtualPrinter.Connection();
        OpenReady(printer.Get(), name.c_str());
    }
    LONG Print(const char16_t* text) { return Call(printer.Get(), u"PrintNormal", {kReceipt, text}); }
    std::vector<LONG> Events(DISPID id) {
        std::vector<LONG> numbers;
        for (const ReceivedEvent& e : sink->received)
            if (e.id == id)
                numbers.push_back(e.numbers.at(0));
        return numbers;
    }
    bool Sensor(const char16_t* property, bool wanted) {
        return PumpUntil([&] { return Bool(printer.Get(), property) == wanted; });
    }

    VirtualPrinter virtualPrinter;
    ComPtr<IDispatch> printer;
    ComPtr<Sink> sink;
};

} // namespace

TEST_F(EscPosPrinter, ConnectionAsTheNameOpensWithTheDefaults) {
    OpenIt();
    EXPECT_EQ(Long(printer.Get(), u"CharacterSet"), 858);
    EXPECT_EQ(Long(printer.Get(), u"RecLineChars"), 48);
    EXPECT_EQ(Text(printer.Get(), u"RecLineCharsList"), u"48,64");
    EXPECT_FALSE(Bool(printer.Get(), u"CapJrnPresent"));
    EXPECT_EQ(Long(printer.Get(), u"PowerState"), 2000) << "no power notification asked";
    const std::string transcript = virtualPrinter.Transcript("status query 4");
    EXPECT_NE(transcript.find("initialize"), std::string::npos);
    EXPECT_NE(transcript.find("code page 19"), std::string::npos);
    EXPECT_NE(transcript.find("automatic status back 0F"), std::string::npos);
}

TEST_F(EscPosPrinter, TextStylesCutsAndTransactionsReachThePaper) {
    OpenIt();
    EXPECT_EQ(Print(u"Hello\n\x1b|bCBold\x1b|N\n"), 0);
    EXPECT_EQ(Call(printer.Get(), u"PrintImmediate", {kReceipt, u"Now\n"}), 0);
    EXPECT_EQ(Call(printer.Get(), u"TransactionPrint", {kReceipt, LONG{11}}), 0);
    EXPECT_EQ(Print(u"Inside\n"), 0);
    EXPECT_EQ(virtualPrinter.Transcript().find("Inside"), std::string::npos) << "held until the end";
    EXPECT_EQ(Call(printer.Get(), u"TransactionPrint", {kReceipt, LONG{12}}), 0);
    EXPECT_EQ(Call(printer.Get(), u"CutPaper", {LONG{100}}), 0);
    EXPECT_EQ(Call(printer.Get(), u"CutPaper", {LONG{50}}), 0);
    const std::string transcript = virtualPrinter.Transcript("cut partial");
    for (const char* wanted : {"text \"Hello\"", "bold on", "text \"Bold\"", "text \"Now\"",
                               "text \"Inside\"", "cut full", "cut partial"})
        EXPECT_NE(transcript.find(wanted), std::string::npos) << wanted;
    EXPECT_LT(transcript.find("Hello"), transcript.find("Now"));
}

TEST_F(EscPosPrinter, BarCodesAndSymbolsAreEncodedOrRefusedWithAReason) {
    OpenIt();
    const auto barcode = [&](const char16_t* data, LONG symbology) {
        return Call(printer.Get(), u"PrintBarCode",
                    {kReceipt, data, symbology, LONG{80}, LONG{2}, LONG{-2}, LONG{-13}});
    };
    EXPECT_EQ(barcode(u"4006381333931", 104), 0);       // EAN-13
    EXPECT_EQ(barcode(u"ZORV-128", 110), 0);            // Code 128
    EXPECT_EQ(barcode(u"https://example.org", 204), 0); // QR code
    const std::string transcript = virtualPrinter.Transcript("QR Code");
    EXPECT_NE(transcript.find("barcode EAN-13"), std::string::npos);
    EXPECT_NE(transcript.find("barcode Code 128"), std::string::npos);
    EXPECT_EQ(barcode(u"ABCDEFGHIJKLM", 104), 106) << "letters in an EAN-13";
    EXPECT_FALSE(Text(printer.Get(), u"ErrorString").empty());
}

TEST_F(EscPosPrinter, BitmapsAreRasterisedAndBadOnesRefused) {
    OpenIt();
    const std::filesystem::path dir = virtualPrinter.Folder().toStdString();
    QImage picture(200, 60, QImage::Format_RGB32);
    picture.fill(Qt::gray);
    ASSERT_TRUE(picture.save(QString::fromStdString((dir / "logo.bmp").string()), "BMP"));
    const std::u16string logo = zorv::com::Utf8ToUtf16((dir / "logo.bmp").string());
    EXPECT_EQ(Call(printer.Get(), u"PrintBitmap", {kReceipt, logo.c_str(), LONG{-11}, LONG{-2}}), 0);
    EXPECT_NE(virtualPrinter.Transcript("image 200x60").find("image 200x60"), std::string::npos);
    // Palette pictures, and one wider than the paper: scaled to its 576 dots.
    QImage mono(800, 100, QImage::Format_Mono);
    mono.fill(1);
    ASSERT_TRUE(mono.save(QString::fromStdString((dir / "mono.bmp").string()), "BMP"));
    const std::u16string monoName = zorv::com::Utf8ToUtf16((dir / "mono.bmp").string());
    EXPECT_EQ(Call(printer.Get(), u"PrintBitmap", {kReceipt, monoName.c_str(), LONG{-11}, LONG{-1}}), 0);
    EXPECT_NE(virtualPrinter.Transcript("image 576x72").find("image 576x72"), std::string::npos);
    QImage indexed = picture.convertToFormat(QImage::Format_Indexed8);
    ASSERT_TRUE(indexed.save(QString::fromStdString((dir / "indexed.bmp").string()), "BMP"));
    const std::u16string indexedName = zorv::com::Utf8ToUtf16((dir / "indexed.bmp").string());
    EXPECT_EQ(Call(printer.Get(), u"PrintBitmap", {kReceipt, indexedName.c_str(), LONG{100}, LONG{-3}}), 0);
    EXPECT_NE(virtualPrinter.Transcript("image 104x30").find("image 104x30"), std::string::npos)
        << "100 dots wide, rows padded to whole bytes";

    // A header that promises a picture far beyond any paper.
    std::string huge = "BM";
    huge.resize(54, '\0');
    huge[10] = 54;
    huge[14] = 40;
    huge[18] = '\x7f';
    huge[19] = '\x7f';
    huge[22] = '\x7f';
    huge[23] = '\x7f';
    huge[26] = 1;
    huge[28] = 24;
    std::ofstream((dir / "huge.bmp").string(), std::ios::binary) << huge;
    const std::u16string hugeName = zorv::com::Utf8ToUtf16((dir / "huge.bmp").string());
    EXPECT_EQ(Call(printer.Get(), u"PrintBitmap", {kReceipt, hugeName.c_str(), LONG{-11}, LONG{-2}}), 114);
    EXPECT_EQ(Long(printer.Get(), u"ResultCodeExtended"), 207);
    std::ofstream((dir / "text.bmp").string()) << "not a picture at all, only words";
    const std::u16string textName = zorv::com::Utf8ToUtf16((dir / "text.bmp").string());
    EXPECT_EQ(Call(printer.Get(), u"PrintBitmap", {kReceipt, textName.c_str(), LONG{-11}, LONG{-2}}), 114);
    EXPECT_EQ(Long(printer.Get(), u"ResultCodeExtended"), 207);
}

TEST_F(EscPosPrinter, CodePageCarriesAccentsAndCountsWhatItLacks) {
    OpenIt();
    EXPECT_EQ(Print(u"Caf\u00E9 5 \u20AC\n"), 0);
    EXPECT_NE(virtualPrinter.Transcript("Caf").find("text \"Caf\xC3\xA9 5 \xE2\x82\xAC\""), std::string::npos)
        << "é and € on PC858";
    EXPECT_EQ(Print(u"\u03A9mega\n"), 0);
    EXPECT_NE(virtualPrinter.Transcript("mega").find("text \"?mega\""), std::string::npos);
    EXPECT_EQ(DirectIO(printer.Get(), 102).data, 1);
    EXPECT_EQ(Put(printer.Get(), u"CharacterSet", LONG{866}), 0);
    EXPECT_EQ(Print(u"\u0416\n"), 0);
    EXPECT_EQ(DirectIO(printer.Get(), 102).data, 1) << "Cyrillic is on PC866";
    EXPECT_EQ(Put(printer.Get(), u"CharacterSet", LONG{932}), 106);
}

TEST_F(EscPosPrinter, SensorsRaiseStatusUpdatesAndStopPrintingBeforeAnyByte) {
    OpenIt();
    ASSERT_EQ(virtualPrinter.Control("cover open").rfind("ok", 0), 0u);
    ASSERT_TRUE(Sensor(u"CoverOpen", true));
    EXPECT_EQ(Print(u"never\n"), 114);
    EXPECT_EQ(Long(printer.Get(), u"ResultCodeExtended"), 201);
    virtualPrinter.Control("cover closed");
    ASSERT_TRUE(Sensor(u"CoverOpen", false));
    virtualPrinter.Control("paper near-end");
    ASSERT_TRUE(Sensor(u"RecNearEnd", true));
    virtualPrinter.Control("paper empty");
    ASSERT_TRUE(Sensor(u"RecEmpty", true));
    EXPECT_EQ(Print(u"never\n"), 114);
    EXPECT_EQ(Long(printer.Get(), u"ResultCodeExtended"), 203);
    virtualPrinter.Control("paper ok");
    ASSERT_TRUE(Sensor(u"RecEmpty", false));
    ASSERT_TRUE(Sensor(u"RecNearEnd", false));
    DrainPostedCalls();
    EXPECT_EQ(Events(kStatusUpdate), (std::vector<LONG>{11, 12, 25, 24, 26}));
    EXPECT_EQ(virtualPrinter.Transcript().find("never"), std::string::npos);
}

TEST_F(EscPosPrinter, GarbageAndImpossibleStatusBytesChangeNoSensor) {
    OpenIt();
    virtualPrinter.Control("send FF 00 80 12 1E");
    virtualPrinter.Control("send 10 00");
    PumpUntil([] { return false; }, 300);
    EXPECT_FALSE(Bool(printer.Get(), u"CoverOpen"));
    EXPECT_FALSE(Bool(printer.Get(), u"RecEmpty"));
    EXPECT_EQ(Call(printer.Get(), u"CheckHealth", {LONG{1}}), 0) << "queries still answered after the noise";
    virtualPrinter.Control("cover open");
    EXPECT_TRUE(Sensor(u"CoverOpen", true));
}

TEST_F(EscPosPrinter, AsyncOutputCompletesInOrderAndErrorsHonourTheAnswer) {
    OpenIt();
    ASSERT_EQ(Put(printer.Get(), u"AsyncMode", true), 0);
    std::vector<LONG> ids;
    for (const char16_t* line : {u"one\n", u"two\n", u"three\n"}) {
        ASSERT_EQ(Print(line), 0);
        ids.push_back(Long(printer.Get(), u"OutputID"));
    }
    ASSERT_TRUE(PumpUntil([&] { return Events(kOutputComplete).size() == 3; }));
    EXPECT_EQ(Events(kOutputComplete), ids);
    const std::string transcript = virtualPrinter.Transcript("three");
    EXPECT_LT(transcript.find("one"), transcript.find("three"));

    virtualPrinter.Control("cover open");
    ASSERT_TRUE(Sensor(u"CoverOpen", true));
    sink->errorResponse = 12; // OPOS_ER_CLEAR
    ASSERT_EQ(Print(u"dropped\n"), 0);
    ASSERT_TRUE(PumpUntil([&] { return !Events(kErrorEvent).empty(); }));
    EXPECT_EQ(Events(kErrorEvent).front(), 114);
    DrainPostedCalls();
    virtualPrinter.Control("cover closed");
    ASSERT_TRUE(Sensor(u"CoverOpen", false));
    EXPECT_EQ(virtualPrinter.Transcript().find("dropped"), std::string::npos);
}

TEST_F(EscPosPrinter, HealthQueriesStatusOrPrintsATestReceipt) {
    OpenIt();
    EXPECT_EQ(Call(printer.Get(), u"CheckHealth", {LONG{1}}), 0);
    EXPECT_NE(Text(printer.Get(), u"CheckHealthText").find(u"Internal HCheck: Successful"),
              std::u16string::npos);
    EXPECT_EQ(Call(printer.Get(), u"CheckHealth", {LONG{2}}), 0);
    const std::string transcript = virtualPrinter.Transcript("cut partial");
    EXPECT_NE(transcript.find("ZORV test receipt"), std::string::npos);
    EXPECT_NE(transcript.find("barcode Code 128"), std::string::npos);
}

TEST_F(EscPosPrinter, DirectIOSendsRawBytesAndReturnsTheAnswer) {
    OpenIt();
    const DirectIOResult raw = DirectIO(printer.Get(), 100, 500, u"\x10\x04\x01");
    EXPECT_EQ(raw.code, 0);
    ASSERT_EQ(raw.text.size(), 1u);
    EXPECT_EQ(raw.text[0] & 0x93, 0x12) << "a real-time status byte";
    const DirectIOResult query = DirectIO(printer.Get(), 101, 2);
    EXPECT_EQ(query.code, 0);
    EXPECT_EQ(query.data & 0x93, 0x12);
    EXPECT_EQ(DirectIO(printer.Get(), 101, 7).code, 106);
}
