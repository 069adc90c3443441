// The members of version 1.14 beyond the first ones: printer bitmaps, logos,
// page mode, rotation, validation, mark feed and print side; line display
// windows, scrolling, descriptors and glyphs; MSR sentinels and the members
// this reader is not capable of.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "opos_test_support.h"
#include "platform/com/apartment.h"

using namespace opos_test;
using zorv::com::DrainPostedCalls;

namespace {

constexpr LONG kReceipt = 2, kSlip = 4;

class Members : public ::testing::Test {
protected:
    void TearDown() override {
        DrainPostedCalls();
        std::filesystem::remove_all(folder);
    }

    std::u16string File(const char* name, std::string_view bytes) {
        std::filesystem::create_directories(folder);
        std::ofstream(folder / name, std::ios::binary) << bytes;
        return zorv::com::Utf8ToUtf16((folder / name).string());
    }

    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "zorv_members_test";
};

std::string SmallBmp() {
    std::string bmp = "BM";
    bmp.resize(62, '\0');
    return bmp;
}

} // namespace

TEST_F(Members, PrinterBitmapsAreCheckedThenPrinted) {
    auto printer = Create(u"OPOS.POSPrinter");
    OpenReady(printer.Get(), u"SimPrinter");
    const std::u16string bmp = File("logo.bmp", SmallBmp());
    const std::u16string text = File("note.txt", "not a picture at all, just words");
    EXPECT_EQ(Call(printer.Get(), u"PrintBitmap", {kReceipt, bmp, LONG{200}, LONG{-2}}), 0);
    EXPECT_NE(DirectIO(printer.Get(), kReadBack, kReceipt).text.find(u"[bitmap "), std::u16string::npos);
    EXPECT_EQ(Call(printer.Get(), u"PrintBitmap", {kReceipt, text, LONG{200}, LONG{-2}}), 114);
    EXPECT_EQ(Long(printer.Get(), u"ResultCodeExtended"), 207);
    EXPECT_EQ(Call(printer.Get(), u"PrintBitmap", {kReceipt, u"/no/such/file.bmp", LONG{200}, LONG{-2}}),
              109);
    EXPECT_EQ(Call(printer.Get(), u"PrintBitmap", {kSlip, bmp, LONG{200}, LONG{-2}}), 106)
        << "the slip has no bitmap capability";
    EXPECT_EQ(Call(printer.Get(), u"SetBitmap", {LONG{1}, kReceipt, bmp, LONG{200}, LONG{-2}}), 0);
    EXPECT_EQ(Call(printer.Get(), u"SetBitmap", {LONG{21}, kReceipt, bmp, LONG{200}, LONG{-2}}), 106);
    std::u16string memory;
    for (char c : SmallBmp())
        memory += static_cast<char16_t>(static_cast<unsigned char>(c));
    EXPECT_EQ(Call(printer.Get(), u"PrintMemoryBitmap", {kReceipt, memory, LONG{1}, LONG{200}, LONG{-2}}), 0);
    EXPECT_EQ(Call(printer.Get(), u"PrintMemoryBitmap", {kReceipt, memory, LONG{9}, LONG{200}, LONG{-2}}),
              106);
}

TEST_F(Members, PrinterLogosPageModeAndRotation) {
    auto printer = Create(u"OPOS.POSPrinter");
    OpenReady(printer.Get(), u"SimPrinter");
    auto printed = [&] { return DirectIO(printer.Get(), kReadBack, kReceipt).text; };
    ASSERT_EQ(Call(printer.Get(), u"SetLogo", {LONG{1}, u"SHOP\n"}), 0);
    ASSERT_EQ(Call(printer.Get(), u"PrintNormal", {kReceipt, u"\x1b|tLitem\n"}), 0);
    EXPECT_EQ(printed(), u"SHOP\nitem\n");
    EXPECT_EQ(Call(printer.Get(), u"SetLogo", {LONG{3}, u"x"}), 106);

    EXPECT_TRUE(Bool(printer.Get(), u"CapRecPageMode"));
    ASSERT_EQ(Call(printer.Get(), u"PageModePrint", {LONG{1}}), 0);
    ASSERT_EQ(Call(printer.Get(), u"PrintNormal", {kReceipt, u"page\n"}), 0);
    EXPECT_EQ(printed(), u"SHOP\nitem\n") << "page mode holds the data";
    EXPECT_EQ(Call(printer.Get(), u"PageModePrint", {LONG{1}}), 106) << "already in page mode";
    ASSERT_EQ(Call(printer.Get(), u"PageModePrint", {LONG{3}}), 0);
    EXPECT_EQ(printed(), u"SHOP\nitem\npage\n");
    EXPECT_EQ(Call(printer.Get(), u"PageModePrint", {LONG{4}}), 106) << "nothing to cancel";
    EXPECT_EQ(Put(printer.Get(), u"PageModeStation", kSlip), 106) << "no page mode on the slip";

    EXPECT_EQ(Call(printer.Get(), u"RotatePrint", {kReceipt, LONG{0x0101}}), 0);
    EXPECT_EQ(Call(printer.Get(), u"RotatePrint", {kSlip, LONG{0x0101}}), 106);
    EXPECT_EQ(Call(printer.Get(), u"RotatePrint", {kReceipt, LONG{0x0001}}), 0);
}

TEST_F(Members, PrinterValidationMarkFeedSideAndErrorProperties) {
    auto printer = Create(u"OPOS.POSPrinter");
    auto sink = AdviseSink(printer.Get());
    OpenReady(printer.Get(), u"SimPrinter");
    EXPECT_EQ(Call(printer.Get(), u"ValidateData", {kReceipt, u"\x1b|bCbold"}), 0);
    EXPECT_EQ(Call(printer.Get(), u"ValidateData", {kReceipt, u"\x1b|iCitalic"}), 106) << "no italic";
    EXPECT_EQ(Call(printer.Get(), u"ValidateData", {kReceipt, u"\x1b|75P"}), 0);
    EXPECT_EQ(Call(printer.Get(), u"ValidateData", {kSlip, u"\x1b|uCunder"}), 106);
    EXPECT_EQ(Call(printer.Get(), u"MarkFeed", {LONG{1}}), 0);
    EXPECT_EQ(Call(printer.Get(), u"MarkFeed", {LONG{2}}), 106);
    EXPECT_EQ(Call(printer.Get(), u"ChangePrintSide", {LONG{2}}), 106) << "one-sided slip";

    ASSERT_EQ(Put(printer.Get(), u"AsyncMode", true), 0);
    ASSERT_EQ(DirectIO(printer.Get(), kError, 205).code, 0);
    sink->errorResponse = 12;
    ASSERT_EQ(Call(printer.Get(), u"PrintNormal", {kReceipt, u"lost\n"}), 0);
    DrainPostedCalls();
    ASSERT_FALSE(sink->received.empty());
    EXPECT_EQ(sink->received.back().numbers, (std::vector<LONG>{114, 205, 1, 11})) << "retry proposed";
    EXPECT_EQ(Long(printer.Get(), u"ErrorStation"), kReceipt);
    EXPECT_EQ(Long(printer.Get(), u"ErrorLevel"), 1) << "answered: no error any more";
    EXPECT_NE(Text(printer.Get(), u"ErrorString"), u"");
    EXPECT_EQ(Long(printer.Get(), u"State"), 2);
}

TEST_F(Members, DisplayWindowsScrollAndReadBack) {
    auto display = Create(u"OPOS.LineDisplay");
    OpenReady(display.Get(), u"SimLineDisplay");
    auto shown = [&] { return DirectIO(display.Get(), kReadBack).text; };
    ASSERT_EQ(Call(display.Get(), u"DisplayText", {u"Base"}), 0);
    ASSERT_EQ(Call(display.Get(), u"CreateWindow", {LONG{1}, LONG{10}, LONG{1}, LONG{10}, LONG{2}, LONG{10}}),
              0);
    EXPECT_EQ(Long(display.Get(), u"CurrentWindow"), 1);
    EXPECT_EQ(Long(display.Get(), u"Rows"), 2);
    EXPECT_EQ(Long(display.Get(), u"Columns"), 10);
    ASSERT_EQ(Call(display.Get(), u"DisplayText", {u"Win"}), 0);
    EXPECT_EQ(shown(), u"Base\n          Win\n");
    ASSERT_EQ(Put(display.Get(), u"CursorColumn", LONG{1}), 0);
    LONG character = 0;
    ASSERT_EQ(Call(display.Get(), u"ReadCharacterAtCursor", {Arg::Ref(character)}), 0);
    EXPECT_EQ(character, u'i');
    ASSERT_EQ(Call(display.Get(), u"ScrollText", {LONG{3}, LONG{1}}), 0);
    EXPECT_EQ(shown(), u"Base\n          in\n");
    EXPECT_EQ(Call(display.Get(), u"ScrollText", {LONG{9}, LONG{1}}), 106);
    EXPECT_EQ(Call(display.Get(), u"CreateWindow", {LONG{1}, LONG{15}, LONG{1}, LONG{10}, LONG{1}, LONG{10}}),
              106)
        << "past the screen";
    ASSERT_EQ(Call(display.Get(), u"DestroyWindow"), 0);
    EXPECT_EQ(Long(display.Get(), u"CurrentWindow"), 0);
    EXPECT_EQ(Call(display.Get(), u"DestroyWindow"), 106) << "window 0 stays";
    EXPECT_EQ(Call(display.Get(), u"RefreshWindow", {LONG{1}}), 106);
}

TEST_F(Members, DisplayDescriptorsGlyphsBitmapsAndMarquee) {
    auto display = Create(u"OPOS.LineDisplay");
    OpenReady(display.Get(), u"SimLineDisplay");
    EXPECT_EQ(Call(display.Get(), u"SetDescriptor", {LONG{0}, LONG{1}}), 0);
    EXPECT_EQ(Call(display.Get(), u"SetDescriptor", {LONG{8}, LONG{1}}), 106);
    EXPECT_EQ(Call(display.Get(), u"ClearDescriptors"), 0);
    EXPECT_EQ(Call(display.Get(), u"DefineGlyph", {LONG{200}, u"ABCDEFG"}), 0);
    EXPECT_EQ(Text(display.Get(), u"CustomGlyphList"), u"200");
    EXPECT_EQ(Call(display.Get(), u"DefineGlyph", {LONG{201}, u"AB"}), 106) << "seven rows of dots";
    EXPECT_EQ(Call(display.Get(), u"DisplayBitmap", {u"/no/such.bmp", LONG{100}, LONG{0}, LONG{0}}), 109);
    EXPECT_EQ(Put(display.Get(), u"MarqueeType", LONG{5}), 106) << "window 0 has no marquee";
    ASSERT_EQ(Call(display.Get(), u"CreateWindow", {LONG{0}, LONG{0}, LONG{1}, LONG{20}, LONG{1}, LONG{40}}),
              0);
    ASSERT_EQ(Put(display.Get(), u"MarqueeType", LONG{5}), 0);
    ASSERT_EQ(Call(display.Get(), u"DisplayText", {u"Ticker"}), 0);
    EXPECT_EQ(DirectIO(display.Get(), kReadBack).text, u"\n\n") << "marquee text waits for its start";
    ASSERT_EQ(Put(display.Get(), u"MarqueeFormat", LONG{1}), 0);
    ASSERT_EQ(Put(display.Get(), u"MarqueeType", LONG{3}), 0);
    EXPECT_EQ(DirectIO(display.Get(), kReadBack).text, u"Ticker\n\n") << "placed, the marquee starts full";
}

TEST_F(Members, MSRSentinelsAndWhatItCannotDo) {
    auto msr = Create(u"OPOS.MSR");
    auto sink = AdviseSink(msr.Get());
    OpenReady(msr.Get(), u"SimMSR");
    ASSERT_EQ(Put(msr.Get(), u"TransmitSentinels", true), 0);
    ASSERT_EQ(Put(msr.Get(), u"DataEventEnabled", true), 0);
    ASSERT_EQ(DirectIO(msr.Get(), kInput, 0, u"|;4111111111111111=2512101?").code, 0);
    DrainPostedCalls();
    EXPECT_EQ(Text(msr.Get(), u"Track2Data"), u";4111111111111111=2512101?");
    EXPECT_EQ(Text(msr.Get(), u"Track4Data"), u"");
    EXPECT_EQ(Long(msr.Get(), u"CapWritableTracks"), 0);
    for (const char16_t* method : {u"AuthenticateDevice", u"DeauthenticateDevice", u"UpdateKey"})
        EXPECT_EQ(Call(msr.Get(), method, {u""}), 106) << zorv::com::Utf16ToUtf8(method);
    EXPECT_EQ(Call(msr.Get(), u"WriteTracks", {u"", LONG{0}}), 106);
}

TEST_F(Members, PrintDataEscapesShowInTheReadBack) {
    auto printer = Create(u"OPOS.POSPrinter");
    OpenReady(printer.Get(), u"SimPrinter");
    const std::u16string data = u"\x1b|cA\x1b|bCTotal\x1b|N\n\x1b|2Cbig\n\x1b|3lF\x1b|75P\x1b|1B\x1b|zz";
    ASSERT_EQ(Call(printer.Get(), u"PrintNormal", {kReceipt, data}), 0);
    ASSERT_EQ(Call(printer.Get(), u"CutPaper", {LONG{50}}), 0);
    EXPECT_EQ(
        DirectIO(printer.Get(), 10, kReceipt).text,
        u"[centre][bold]Total[normal]\n[double wide]big\n[feed 3 lines][cut 75%][bitmap 1][? ESC|zz][cut "
        u"50%]");
    EXPECT_EQ(DirectIO(printer.Get(), kReadBack, kReceipt).text, data + u"\x1b|50P") << "raw, as sent";
    EXPECT_EQ(DirectIO(printer.Get(), 10, 3).code, 106);
}
