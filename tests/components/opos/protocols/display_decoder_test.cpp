// The display as the decoder plays it: scroll modes, string mode, commands cut
// across reads, and bytes that are no command at all.
#include <gtest/gtest.h>

#include <random>

#include "protocols/display/display_decoder.h"

namespace {

using namespace zorv::opos::display;
using namespace std::string_view_literals;

std::string Shown(Protocol protocol, std::string_view bytes) {
    DisplayDecoder decoder(protocol);
    decoder.Feed(bytes);
    return decoder.Text();
}

const std::string kBlankRow(20, ' ');

TEST(DisplayDecoder, ScrollModesDecideWhereTheTwentyFirstCharacterGoes) {
    const std::string line = "ABCDEFGHIJKLMNOPQRST";
    EXPECT_EQ(Shown(Protocol::EscPosDisplay, "\x1f\x01" + line + "U"),
              line + "\nU" + kBlankRow.substr(1) + "\n");
    EXPECT_EQ(Shown(Protocol::EscPosDisplay, "\x1f\x01\x1f"
                                             "B" +
                                                 line + "U"),
              "U" + kBlankRow.substr(1) + "\n" + line + "\n");
    EXPECT_EQ(Shown(Protocol::EscPosDisplay, "\x1f\x02" + line + "UV"),
              line + "\nUV" + kBlankRow.substr(2) + "\n");
    EXPECT_EQ(Shown(Protocol::EscPosDisplay, "\x1f\x02\x1f"
                                             "B" +
                                                 line + "UV"),
              line + "\nUV" + kBlankRow.substr(2) + "\n"); // the lower row scrolled up
    EXPECT_EQ(Shown(Protocol::EscPosDisplay, "\x1f\x03" + line + "UV"),
              "CDEFGHIJKLMNOPQRSTUV\n" + kBlankRow + "\n");
    EXPECT_EQ(Shown(Protocol::Cd5220, "\x1b\x13" + line + "U"), "BCDEFGHIJKLMNOPQRSTU\n" + kBlankRow + "\n");
}

TEST(DisplayDecoder, CursorCommandsOfBothSets) {
    struct Case {
        Protocol protocol;
        std::string bytes;
        int row, column;
    };
    const Case cases[] = {
        {Protocol::EscPosDisplay, "\x1f$\x05\x02", 1, 4},
        {Protocol::Cd5220, "\x1bl\x05\x02", 1, 4},
        {Protocol::EscPosDisplay, "AB\x08", 0, 1},
        {Protocol::EscPosDisplay, "\x0a\x09\x09", 1, 2},
        {Protocol::EscPosDisplay, "\x0a\x1f\x0a", 0, 0},
        {Protocol::Cd5220, "\x1b[B\x1b[C\x1b[A", 0, 1},
        {Protocol::EscPosDisplay, "\x1f\x0d", 0, 19},
        {Protocol::Cd5220, "\x1b[R\x1b[L", 0, 0},
        {Protocol::EscPosDisplay,
         "\x1f"
         "B",
         1, 0},
        {Protocol::Cd5220, "\x1b[K", 1, 0},
        {Protocol::EscPosDisplay, "XYZ\x0b", 0, 0},
        {Protocol::EscPosDisplay, "\x1f$\x15\x01", 0, 0},
    };
    for (const Case& c : cases) {
        DisplayDecoder decoder(c.protocol);
        decoder.Feed(c.bytes);
        EXPECT_EQ(decoder.Current().cursorRow, c.row) << testing::PrintToString(c.bytes);
        EXPECT_EQ(decoder.Current().cursorColumn, c.column) << testing::PrintToString(c.bytes);
    }
}

TEST(DisplayDecoder, Cd5220StringModeWritesAWholeLine) {
    EXPECT_EQ(Shown(Protocol::Cd5220, "XXXXXXXX\x1bQA"
                                      "PRIX\r\x1bQB"
                                      "12,50\r"),
              "PRIX" + kBlankRow.substr(4) + "\n12,50" + kBlankRow.substr(5) + "\n");
    DisplayDecoder decoder(Protocol::Cd5220);
    decoder.Feed("\x1bQDBIENVENUE CHEZ NOUS, PROMOTIONS DU JOUR\r");
    EXPECT_EQ(decoder.Current().marquee, u"BIENVENUE CHEZ NOUS, PROMOTIONS DU JOUR");
    EXPECT_EQ(decoder.Current().Row(0), u"BIENVENUE CHEZ NOUS,");
    decoder.Feed("[B");
    EXPECT_EQ(decoder.Current().marquee, u"") << "the next command stops it";
}

TEST(DisplayDecoder, CommandsSplitAcrossReadsDecodeTheSame) {
    const std::string stream = "\x1b@\x1bt\x13\x1f$\x03\x02\xd5 9,99\x1fX\x02\x1f"
                               "C\x01\x1f\x02";
    DisplayDecoder whole(Protocol::EscPosDisplay);
    whole.Feed(stream);
    DisplayDecoder bytewise(Protocol::EscPosDisplay);
    for (char byte : stream)
        bytewise.Feed(std::string_view(&byte, 1));
    EXPECT_EQ(bytewise.Current(), whole.Current());
    EXPECT_EQ(whole.Current().Row(1), u"  € 9,99" + std::u16string(12, u' '));
    EXPECT_EQ(whole.Current().brightness, 2);
    EXPECT_TRUE(whole.Current().cursorVisible);
    EXPECT_EQ(whole.Current().mode, ScrollMode::Vertical);
    EXPECT_EQ(whole.Pending(), 0u);
}

TEST(DisplayDecoder, ADeselectedDisplayIgnoresThePrintersBytes) {
    EXPECT_EQ(Shown(Protocol::EscPosDisplay, "A\x1b=\x01RECEIPT\x1b\x40\x1b=\x02"
                                             "B"),
              "AB" + kBlankRow.substr(2) + "\n" + kBlankRow + "\n");
}

TEST(DisplayDecoder, UnknownCommandsAndBadParametersAreCountedNotObeyed) {
    DisplayDecoder decoder(Protocol::EscPosDisplay);
    decoder.Feed("\x1bZ\x01\x1fX\x09\x1f$\x00\x07"
                 "A"sv);
    EXPECT_EQ(decoder.State().unknownCommands, 2u); // ESC Z and the 0x01 after it
    EXPECT_EQ(decoder.State().rejectedParameters, 2u);
    EXPECT_EQ(decoder.Current().brightness, 4);
    EXPECT_EQ(decoder.Current().Row(0).substr(0, 1), u"A");

    // Noise never moves the cursor off the screen nor grows the pending bytes.
    for (Protocol protocol : {Protocol::EscPosDisplay, Protocol::Cd5220}) {
        std::mt19937 random(11);
        DisplayDecoder noisy(protocol);
        for (int i = 0; i < 20000; ++i) {
            const char byte = static_cast<char>(random() % 40 == 0 ? 0x1b : random() & 0xFF);
            noisy.Feed(std::string_view(&byte, 1));
            const Screen& screen = noisy.Current();
            ASSERT_TRUE(screen.cursorRow >= 0 && screen.cursorRow < 2 && screen.cursorColumn >= 0 &&
                        screen.cursorColumn < 20);
            ASSERT_LT(noisy.Pending(), 2000u);
        }
    }
}

} // namespace
