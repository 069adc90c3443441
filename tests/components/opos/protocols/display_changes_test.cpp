// From one screen to another: exact bytes where the cheapest form is plain,
// the decoder as the judge everywhere else, and refusals that send nothing.
#include <gtest/gtest.h>

#include <random>

#include "protocols/display/display_decoder.h"
#include "protocols/display/screen_diff.h"

namespace {

using namespace zorv::opos::display;

Screen With(std::u16string_view row0, std::u16string_view row1 = u"") {
    Screen screen = Screen::Blank(2, 20);
    screen.WriteAt(0, 0, row0);
    screen.WriteAt(1, 0, row1);
    return screen;
}

TEST(DisplayChanges, CheapestBytesForSmallChanges) {
    struct Case {
        const char* what;
        Protocol protocol;
        Screen current, wanted;
        std::string bytes;
    };
    Screen typed = With(u"HELLO");
    typed.cursorColumn = 5;
    Screen farCell = With(u"");
    farCell.Put(1, 10, u'X');
    Screen twoNear = With(u"A  B"), twoFar = With(u"A     B");
    Screen fromFull = With(u"XXXXXXXXXXXXXXXXXXXX", u"XXXXXXXXXXXXXXXXXXXX");
    Screen almostBlank = With(u"A");
    almostBlank.cursorColumn = 1;
    Screen lastColumn = With(u"");
    lastColumn.Put(0, 19, u'Z');
    const Case cases[] = {
        {"same screen", Protocol::EscPosDisplay, typed, typed, ""},
        {"typing from home", Protocol::EscPosDisplay, With(u""), typed, "HELLO"},
        {"one far cell, cursor back home", Protocol::EscPosDisplay, With(u""), farCell, "\x1f$\x0b\x02X\x0b"},
        {"one far cell on a CD5220", Protocol::Cd5220, With(u""), farCell, "\x1bl\x0b\x02X\x0b"},
        {"a short gap is rewritten", Protocol::EscPosDisplay, With(u""), twoNear, "A  B\x0d"},
        {"a long gap is jumped", Protocol::EscPosDisplay, With(u""), twoFar,
         "A\x1f$\x07\x01"
         "B\x0d"},
        {"clearing beats rewriting", Protocol::EscPosDisplay, fromFull, almostBlank,
         "\x0c"
         "A"},
        {"clearing one row", Protocol::EscPosDisplay, With(u"KEEP", u"TOTAL 12,50"), With(u"KEEP", u"9"),
         "\x0a\x18"
         "9\x0b"},
        {"after the last column the cursor is placed again", Protocol::EscPosDisplay, With(u""), lastColumn,
         "\x1f\x0dZ\x0b"},
    };
    for (const Case& c : cases) {
        const ScreenChanges changes = EncodeChanges(c.protocol, c.current, c.wanted);
        EXPECT_EQ(changes.bytes, c.bytes) << c.what;
        EXPECT_TRUE(changes.unsupported.empty()) << c.what;
    }
}

TEST(DisplayChanges, SettingsUseEachSetsCommands) {
    Screen wanted = With(u"");
    wanted.brightness = 2;
    wanted.cursorVisible = true;
    EXPECT_EQ(EncodeChanges(Protocol::EscPosDisplay, With(u""), wanted).bytes, "\x1fX\x02\x1f"
                                                                               "C\x01");
    EXPECT_EQ(EncodeChanges(Protocol::Cd5220, With(u""), wanted).bytes, "\x1b*\x02\x1b_\x01");
    wanted = With(u"");
    wanted.blinkStep = 10;
    wanted.codePage = CodePage::Pc858;
    EXPECT_EQ(EncodeChanges(Protocol::EscPosDisplay, With(u""), wanted).bytes, "\x1bt\x13\x1f"
                                                                               "E\x0a");
}

TEST(DisplayChanges, TextIsWrittenInOverwriteModeAndTheScrollModeComesBack) {
    Screen current = With(u""), wanted = With(u"AB");
    current.mode = wanted.mode = ScrollMode::Vertical;
    wanted.cursorColumn = 2;
    EXPECT_EQ(EncodeChanges(Protocol::EscPosDisplay, current, wanted).bytes, "\x1f\x01"
                                                                             "AB\x1f\x02");
    EXPECT_EQ(EncodeChanges(Protocol::Cd5220, current, wanted).bytes, "\x1b\x11"
                                                                      "AB\x1b\x12");
}

TEST(DisplayChanges, WhatTheSetLacksIsReportedAndNothingIsSent) {
    Screen wanted = With(u"TOTAL 12,50");
    wanted.blinkStep = 4;
    wanted.codePage = CodePage::Pc850;
    const ScreenChanges changes = EncodeChanges(Protocol::Cd5220, With(u""), wanted);
    EXPECT_TRUE(changes.bytes.empty());
    EXPECT_TRUE(changes.commands.empty());
    EXPECT_EQ(changes.unsupported, (std::vector<Feature>{Feature::CodePage, Feature::Blink}));
    EXPECT_EQ(Encode(Protocol::EscPosDisplay, {Op::LineString, 0, 0, u"X"}, CodePage::Pc437).unsupported,
              Feature::LineString);
    EXPECT_EQ(Encode(Protocol::EscPosDisplay, {Op::Marquee, 0, 0, u"X"}, CodePage::Pc437).unsupported,
              Feature::Marquee);
    EXPECT_EQ(Encode(Protocol::Cd5220, {Op::Marquee, 0, 0, u"SOLDES -20%"}, CodePage::Pc437).bytes,
              "\x1bQDSOLDES -20%\r");
    EXPECT_EQ(Encode(Protocol::Cd5220, {Op::LineString, 1, 0, u"12,50"}, CodePage::Pc437).bytes,
              "\x1bQB12,50\r");
}

TEST(DisplayChanges, CharactersOutsideTheCodePageAreCountedAsQuestionMarks) {
    Screen wanted = With(u"5€ é");
    wanted.cursorColumn = 4;
    ScreenChanges changes = EncodeChanges(Protocol::EscPosDisplay, With(u""), wanted);
    EXPECT_EQ(changes.bytes, "5? \x82");
    EXPECT_EQ(changes.unmappable, 1u);
    wanted.codePage = CodePage::Pc858;
    changes = EncodeChanges(Protocol::EscPosDisplay, With(u""), wanted);
    EXPECT_EQ(changes.bytes, "\x1bt\x13"
                             "5\xd5 \x82");
    EXPECT_EQ(changes.unmappable, 0u);
}

// Random screens one after another: what the decoder shows must be what was wanted.
TEST(DisplayChanges, TheDecodedScreenIsAlwaysTheWantedOne) {
    const std::u16string alphabet = u"  ABCXYZ0123-.éàç€";
    for (Protocol protocol : {Protocol::EscPosDisplay, Protocol::Cd5220}) {
        std::mt19937 random(7);
        DisplayDecoder decoder(protocol);
        decoder.Feed(EncodeFullRefresh(protocol, Screen::Blank(2, 20)).bytes);
        for (int round = 0; round < 400; ++round) {
            Screen wanted = decoder.Current();
            const int edits = static_cast<int>(random() % 12);
            for (int i = 0; i < edits; ++i)
                wanted.Put(random() % 2, random() % 20, alphabet[random() % alphabet.size()]);
            if (random() % 8 == 0)
                wanted.Clear();
            wanted.cursorRow = random() % 2;
            wanted.cursorColumn = random() % 20;
            wanted.cursorVisible = random() % 2;
            wanted.brightness = 1 + random() % 4;
            wanted.mode = static_cast<ScrollMode>(random() % 3);
            if (protocol == Protocol::EscPosDisplay) {
                wanted.blinkStep = random() % 3;
                wanted.codePage = random() % 2 ? CodePage::Pc858 : CodePage::Pc850;
            }
            for (char16_t& c : wanted.cells) // what the page cannot show arrives as '?'
                if (EncodeText(std::u16string(1, c), wanted.codePage).unmappable)
                    c = u'?';
            const ScreenChanges changes = EncodeChanges(protocol, decoder.Current(), wanted);
            ASSERT_TRUE(changes.unsupported.empty());
            decoder.Feed(changes.bytes);
            ASSERT_EQ(decoder.Current(), wanted)
                << "round " << round << " protocol " << ProtocolName(protocol);
        }
        EXPECT_EQ(decoder.State().unknownCommands, 0u);
    }
}

TEST(DisplayChanges, AScreenOutOfItsOwnBoundsIsBroughtWithinThem) {
    Screen wanted = With(u"X");
    wanted.cells.resize(7); // fewer cells than 2 x 20
    wanted.cursorRow = 5;
    wanted.cursorColumn = -3;
    DisplayDecoder decoder(Protocol::EscPosDisplay);
    decoder.Feed(EncodeChanges(Protocol::EscPosDisplay, With(u""), wanted).bytes);
    EXPECT_EQ(decoder.Current().Row(0), u"X" + std::u16string(19, u' '));
    EXPECT_EQ(decoder.Current().cursorRow, 1);
    EXPECT_EQ(decoder.Current().cursorColumn, 0);
}

TEST(DisplayChanges, FullRefreshStartsFromInitialise) {
    Screen wanted = With(u"BONJOUR", u"A BIENTOT");
    wanted.brightness = 3;
    const ScreenChanges changes = EncodeFullRefresh(Protocol::Cd5220, wanted);
    EXPECT_TRUE(changes.bytes.starts_with("\x1b@"));
    DisplayDecoder decoder(Protocol::Cd5220);
    decoder.Feed("garbage on the screen");
    decoder.Feed(changes.bytes);
    EXPECT_EQ(decoder.Current(), wanted);
}

} // namespace

TEST(DisplayChanges, AMarqueeTheDisplayRunsComesLastAndIsStartedAgainAfterAnyChange) {
    Screen running = With(u"SOLDES -20% SUR TOUT", u"TOTAL");
    running.marquee = u"SOLDES -20% SUR TOUT LE RAYON";
    ScreenChanges changes = EncodeChanges(Protocol::Cd5220, With(u"", u"TOTAL"), running);
    EXPECT_EQ(changes.bytes, "\x1bQDSOLDES -20% SUR TOUT LE RAYON\r")
        << "the top row is the command's to write";
    EXPECT_TRUE(EncodeChanges(Protocol::Cd5220, running, running).bytes.empty()) << "a byte would stop it";

    Screen more = running;
    more.WriteAt(1, 6, u"9");
    changes = EncodeChanges(Protocol::Cd5220, running, more);
    ASSERT_FALSE(changes.commands.empty());
    EXPECT_EQ(changes.commands.back().op, Op::Marquee);

    // Stopped, the top row is rewritten whole: what it shows is not known.
    Screen stopped = With(u"SOLDES -20% SUR TOUT", u"TOTAL");
    DisplayDecoder decoder(Protocol::Cd5220);
    decoder.Feed(EncodeFullRefresh(Protocol::Cd5220, running).bytes);
    decoder.Feed(EncodeChanges(Protocol::Cd5220, running, stopped).bytes);
    EXPECT_EQ(decoder.Current(), stopped);

    running.marquee = std::u16string(41, u'X');
    changes = EncodeChanges(Protocol::Cd5220, With(u""), running);
    EXPECT_TRUE(changes.bytes.empty()) << "too long for the display: nothing at all";
    EXPECT_EQ(changes.unsupported, (std::vector<Feature>{Feature::Marquee}));
    EXPECT_EQ(EncodeChanges(Protocol::EscPosDisplay, With(u""), running).unsupported,
              (std::vector<Feature>{Feature::Marquee}));
}
