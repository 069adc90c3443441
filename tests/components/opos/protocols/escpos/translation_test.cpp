// OPOS print data to ESC/POS, read back through the decoder; the decoder
// on its own; pictures.
#include <gtest/gtest.h>

#include "protocols/escpos/escape_translation.h"
#include "protocols/escpos/raster.h"
#include "escpos_test_support.h"

using namespace zorv::opos::escpos;
using escpos_test::FromHex;
using escpos_test::Hex;
using escpos_test::Transcript;

namespace {

const std::u16string E = u"\x1B|";

struct TranslationCase {
    std::u16string data;
    std::vector<std::string> transcript;
};

TEST(EscPosTranslation, SequencesBecomeCommands) {
    const std::vector<TranslationCase> cases{
        {u"A" + E + u"bCB" + E + u"N\n", {"text \"A\"", "bold on", "text \"B\"", "bold off", "line feed"}},
        {E + u"4C" + E + u"cABIG\n",
         {"size 2x2", "align center", "text \"BIG\"", "line feed", "size 1x1", "align left"}},
        {E + u"2C" + E + u"3C" + E + u"1Cx", {"size 2x1", "size 1x2", "size 1x1", "text \"x\""}},
        {E + u"uCu" + E + u"!uC", {"underline 1", "text \"u\"", "underline 0"}},
        {E + u"2uC" + E + u"rvCr", {"underline 2", "reverse on", "text \"r\"", "underline 0", "reverse off"}},
        {E + u"3lF" + E + u"20uF" + E + u"rF", {"feed 3 lines", "feed 20 dots", "feed back 1 lines"}},
        {E + u"P" + E + u"50P" + E + u"0P", {"cut full", "cut partial"}},
        {E + u"fP", {"feed 4 lines", "cut full"}},
        {E + u"iC" + E + u"rC" + E + u"zzQok", {"text \"ok\""}},
        {E + u"2E\x1B\x7F" + E + u"rA", {"unknown 1B 7F", "align right", "align left"}},
        {E + u"Rs104a-2d4006381333931e",
         {"align center", "setting 1D 48 02", "setting 1D 68 50", "setting 1D 77 02",
          "barcode EAN-13 \"4006381333931\" height 80 width 2", "align left"}},
    };
    for (const TranslationCase& c : cases) {
        const Translation t = TranslatePrintData(c.data, {});
        ASSERT_TRUE(t.ok()) << t.error;
        EXPECT_EQ(Transcript(t.bytes), c.transcript) << Hex(t.bytes);
    }
}

TEST(EscPosTranslation, CountsWhatDidNotPrintAsWritten) {
    TranslationSettings settings;
    settings.codePage = CodePage::Pc850;
    const Translation t =
        TranslatePrintData(u"1 \u20AC, 2 \u00A3\n" + E + u"iCx" + E + u"9B\n" + E + u"P", settings);
    EXPECT_EQ(t.missingCharacters, 1);
    EXPECT_EQ(t.ignoredSequences, 2); // italic, and bitmap 9 that nothing stored
    EXPECT_EQ(t.lineFeeds, 2);
    EXPECT_EQ(t.cuts, 1);
    EXPECT_EQ(Hex(t.bytes.substr(0, 8)), "31 20 3F 2C 20 32 20 9C");
}

TEST(EscPosTranslation, StoredBitmapsAndLogosAreInserted) {
    const Bytes stored = RasterImage(MonoImage{8, 1, {1, 0, 0, 0, 0, 0, 0, 1}});
    TranslationSettings settings;
    settings.bitmap = [&](int number) { return number == 2 ? &stored : nullptr; };
    settings.logo = [&](bool top) { return top ? &stored : nullptr; };
    const Translation t = TranslatePrintData(E + u"2B" + E + u"tL" + E + u"bL", settings);
    EXPECT_EQ(Transcript(t.bytes),
              (std::vector<std::string>{"image 8x1", "align left", "image 8x1", "align left"}));
    EXPECT_EQ(t.ignoredSequences, 1);
}

TEST(EscPosTranslation, TextAlignmentComesBackAfterAStoredPicture) {
    const Bytes stored =
        Justify(Justification::Right) + RasterImage(MonoImage{8, 1, {1, 0, 0, 0, 0, 0, 0, 1}});
    TranslationSettings settings;
    settings.bitmap = [&](int) { return &stored; };
    const Translation t = TranslatePrintData(E + u"cA" + E + u"1Btext", settings);
    const std::vector<std::string> lines = Transcript(t.bytes);
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[2], "image 8x1");
    EXPECT_EQ(lines[3], lines[0]) << "the centring again";
}

TEST(EscPosTranslation, ABarcodeItCannotPrintFailsTheWholeJob) {
    const Translation bad = TranslatePrintData(u"before" + E + u"Rs104d123e", {});
    EXPECT_FALSE(bad.ok());
    EXPECT_NE(bad.error.find("EAN-13"), std::string::npos);
    EXPECT_TRUE(bad.bytes.empty());
    EXPECT_NE(TranslatePrintData(E + u"Rs999d1e", {}).error.find("999"), std::string::npos);
    EXPECT_NE(TranslatePrintData(E + u"Rs108dcaf\u00E9e", {}).error.find("capital"), std::string::npos);
}

struct DecodeCase {
    std::string bytes;
    std::vector<std::string> transcript;
};

TEST(EscPosDecoder, ReadsCommandsAsThePrinterWould) {
    const std::vector<DecodeCase> cases{
        {"\x1B@Hi\r\n", {"initialize", "text \"Hi\"", "line feed"}},
        {"\x1Bt\x13\xD5\x1B@\xD5", {"code page 19", "text \"\u20AC\"", "initialize", "text \"\u2552\""}},
        {FromHex("1D 56 41 05 1D 56 42 00 1B 69 1D 56 31"),
         {"cut full after 5 dots", "cut partial", "cut partial", "cut partial"}},
        {std::string("\x1Bp\x01\x19\xFA\x10\x14\x01\x00\x02", 10),
         {"drawer kick pin 5 on 50 ms off 500 ms", "drawer kick pin 2 on 200 ms off 200 ms"}},
        {"\x10\x04\x01\x1D"
         "a\x0F",
         {"status query 1", "automatic status back 0F"}},
        {FromHex("1D 68 32 1D 6B 04 41 42 31 00 1D 6B 49 03 7B 42 31"),
         {"setting 1D 68 32", "barcode Code 39 \"AB1\" height 50 width 2",
          "barcode Code 128 \"{B1\" height 50 width 2"}},
        {std::string("\x1D\x76\x30\x00\x01\x00\x02\x00\x80\x01", 10), {"image 8x2"}},
        {std::string("\x1B*\x00\x02\x00\xFF\x00", 7), {"image 2x8"}},
        {"\x1B\x7F\x07x", {"unknown 1B 7F", "unknown 07", "text \"x\""}},
        {"\x1D!\x11\x1B!\x08\x1D"
         "B\x01",
         {"size 2x2", "print mode 08", "reverse on"}},
    };
    for (const DecodeCase& c : cases)
        EXPECT_EQ(Transcript(c.bytes), c.transcript) << Hex(c.bytes);
}

TEST(EscPosDecoder, CommandsSplitAcrossReadsComeOutWhole) {
    const std::string job = std::string("\x1B@\x1D"
                                        "a\x0Fz\x1D\x76\x30\x00\x01\x00\x02\x00\x80\x01",
                                        17) +
                            EncodeBarcode(Symbology::Qr, "data").bytes + "\x1DV\x01";
    const std::vector<std::string> whole = Transcript(job);
    Decoder decoder;
    std::vector<std::string> piecewise;
    for (const char c : job)
        for (const Command& command : decoder.Feed(std::string(1, c)))
            piecewise.push_back(Describe(command));
    // Text arrives a byte at a time, so it comes out a byte at a time.
    EXPECT_EQ(piecewise, whole);
    EXPECT_EQ(decoder.Pending(), 0u);
    EXPECT_TRUE(decoder.Feed(FromHex("1D 76 30 00 10 00")).empty());
    EXPECT_EQ(decoder.Pending(), 6u);
}

TEST(EscPosDecoder, CommandsThatCannotEndAreRefusedNotBuffered) {
    const auto lines = Transcript(std::string("\x1D\x76\x30\x00\xFF\xFF\xFF\xFF", 8) + "ok");
    EXPECT_EQ(lines, (std::vector<std::string>{"unknown 1D 76 30 00 FF FF FF FF", "text \"ok\""}));
    // A NUL-ended bar code whose NUL never comes stops being waited for.
    const auto endless = Transcript(FromHex("1D 6B 04") + std::string(400, '7'));
    ASSERT_EQ(endless.size(), 2u);
    EXPECT_EQ(endless[0], "unknown 1D 6B 04");
}

TEST(EscPosRaster, DotsPackEightToAByteInBands) {
    MonoImage image{10, 2, std::vector<uint8_t>(20)};
    image.dots[0] = image.dots[9] = image.dots[10] = 1;
    EXPECT_EQ(Hex(RasterImage(image)), "1D 76 30 00 02 00 02 00 80 40 80 00");
    const MonoImage tall{8, kRasterBandRows + 1, std::vector<uint8_t>(8 * (kRasterBandRows + 1), 1)};
    const std::vector<std::string> lines = Transcript(RasterImage(tall));
    EXPECT_EQ(lines, (std::vector<std::string>{"image 8x256", "image 8x1"}));
    EXPECT_TRUE(RasterImage(MonoImage{}).empty());
}

TEST(EscPosRaster, DitheringKeepsTheToneWhereThresholdLosesIt) {
    const GrayImage grey{40, 40, std::vector<uint8_t>(1600, 100)};
    const MonoImage dithered = Dither(grey);
    const int black = static_cast<int>(std::count(dithered.dots.begin(), dithered.dots.end(), 1));
    // Luminance 100 of 255 is about 61% black.
    EXPECT_NEAR(black / 1600.0, 1 - 100 / 255.0, 0.05);
    const MonoImage thresholded = Threshold(grey);
    EXPECT_EQ(std::count(thresholded.dots.begin(), thresholded.dots.end(), 1), 1600);
    const GrayImage white{3, 3, std::vector<uint8_t>(9, 255)};
    EXPECT_EQ(Dither(white).dots, std::vector<uint8_t>(9, 0));
}

} // namespace
