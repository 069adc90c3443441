// Key events to text and keys: layouts, wedge framing, POS keys, keylock.
#include <gtest/gtest.h>

#include <linux/input-event-codes.h>

#include "protocols/input/keyboard_wedge.h"
#include "protocols/input/keylock_keys.h"
#include "protocols/input/msr_wedge.h"
#include "protocols/input/pos_keys.h"

namespace {

using namespace zorv::opos::input;

input_event Key(unsigned code, int value) {
    input_event event{};
    event.type = EV_KEY;
    event.code = static_cast<__u16>(code);
    event.value = value;
    return event;
}

// A press and release of each key; a code below zero holds (-1 shift, -2 AltGr)
// for the next key only.
std::vector<input_event> Strokes(std::initializer_list<int> keys) {
    std::vector<input_event> events;
    unsigned held = 0;
    for (int key : keys) {
        if (key < 0) {
            held = key == -1 ? KEY_LEFTSHIFT : KEY_RIGHTALT;
            events.push_back(Key(held, 1));
            continue;
        }
        events.push_back(Key(static_cast<unsigned>(key), 1));
        events.push_back({}); // EV_SYN between, as evdev sends
        events.push_back(Key(static_cast<unsigned>(key), 0));
        if (held) {
            events.push_back(Key(held, 0));
            held = 0;
        }
    }
    return events;
}

std::u16string Typed(Layout layout, std::initializer_list<int> keys) {
    KeyboardWedge wedge({layout, 64});
    std::vector<input_event> events = Strokes(keys);
    const std::vector<input_event> enter = Strokes({KEY_ENTER});
    events.insert(events.end(), enter.begin(), enter.end());
    const std::vector<WedgeEvent> out = wedge.Feed(events);
    return out.size() == 1 && out[0].kind == WedgeEventKind::Label ? out[0].text : u"<no label>";
}

TEST(InputKeys, LayoutsTurnTheSameKeysIntoTheirOwnCharacters) {
    struct Case {
        Layout layout;
        std::initializer_list<int> keys;
        std::u16string_view text;
    };
    const Case cases[] = {
        {Layout::Us, {KEY_1, KEY_2, KEY_Q, -1, KEY_A, KEY_MINUS}, u"12qA-"},
        {Layout::French, {KEY_1, KEY_2, KEY_Q, -1, KEY_A, KEY_MINUS}, u"&éaQ)"},
        // AZERTY scanners type digits with shift.
        {Layout::French, {-1, KEY_4, -1, KEY_0, -1, KEY_0, -1, KEY_6}, u"4006"},
        {Layout::French, {-2, KEY_E, KEY_SPACE, -2, KEY_0, KEY_M}, u"€ @,"},
        // Dead keys: ^e, ¨u, ^ then space, ^ then a letter it does not fit.
        {Layout::French, {KEY_LEFTBRACE, KEY_E, -1, KEY_LEFTBRACE, KEY_U}, u"êü"},
        {Layout::French, {KEY_LEFTBRACE, KEY_SPACE, KEY_LEFTBRACE, KEY_R}, u"^^r"},
        {Layout::Us, {KEY_CAPSLOCK, KEY_A, KEY_1, -1, KEY_B}, u"A1b"},
        {Layout::Us, {KEY_KP1, KEY_KP0, KEY_KPDOT, KEY_TAB}, u"10.\t"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Typed(c.layout, c.keys), c.text);
}

// Every character either layout types without a dead key comes back the same.
TEST(InputKeys, WhatALayoutTypesTheWedgeReadsBack) {
    std::u16string printable;
    for (char16_t c = 0x21; c < 0x7F; ++c)
        printable += c;
    const std::u16string french = u"éèçàù€£¤°§µ²";
    for (Layout layout : {Layout::Us, Layout::French}) {
        std::u16string all = printable;
        if (layout == Layout::French)
            all += french; // '^' comes from AltGr+9, its own key being dead
        KeyboardWedge wedge({layout, 4096});
        const auto strokes = Keystrokes(layout, all, true);
        ASSERT_TRUE(strokes) << static_cast<int>(layout);
        const std::vector<WedgeEvent> out = wedge.Feed(*strokes);
        ASSERT_EQ(out.size(), 1u);
        EXPECT_EQ(out[0].text, all) << static_cast<int>(layout);
    }
    EXPECT_FALSE(Keystrokes(Layout::Us, u"é", false)); // not on a US keyboard
}

TEST(InputKeys, ACardSwipeTypedOnAnAzertyWedgeParsesIntoTracks) {
    const std::u16string swipe = u"%B4970100000000000^DUPONT/MARIE^2712101?;4970100000000000=2712101?";
    KeyboardWedge wedge({Layout::French, 4096});
    const std::vector<WedgeEvent> out = wedge.Feed(*Keystrokes(Layout::French, swipe, true));
    ASSERT_EQ(out.size(), 1u);
    std::string typed(out[0].text.begin(), out[0].text.end());
    const MsrSwipe tracks = ParseSwipe(typed);
    EXPECT_EQ(tracks.tracks[0].text, "B4970100000000000^DUPONT/MARIE^2712101");
    EXPECT_EQ(tracks.tracks[1].text, "4970100000000000=2712101");
    EXPECT_FALSE(tracks.AnyError());
}

TEST(InputKeys, WedgeFramesOnEnterAndReportsWhatItCannotType) {
    KeyboardWedge wedge({Layout::Us, 8});
    std::vector<input_event> events = Strokes({KEY_A, KEY_ENTER, KEY_ENTER, KEY_B, KEY_KPENTER});
    std::vector<WedgeEvent> out = wedge.Feed(events);
    ASSERT_EQ(out.size(), 2u); // an Enter alone frames nothing
    EXPECT_EQ(out[0].text, u"a");
    EXPECT_EQ(out[1].text, u"b");

    // A key the layout lacks (F13 here) is reported and its label dropped; the next one is fine.
    out = wedge.Feed(Strokes({KEY_A, KEY_F13, KEY_B, KEY_ENTER, KEY_C, KEY_ENTER}));
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0].kind, WedgeEventKind::UnknownKey);
    EXPECT_EQ(out[0].code, static_cast<unsigned>(KEY_F13));
    EXPECT_EQ(out[1].text, u"c");

    // Too long: one fault, nothing kept past the bound, and the stream recovers.
    std::vector<input_event> run;
    for (int i = 0; i < 1000; ++i) {
        const auto stroke = Strokes({KEY_7});
        run.insert(run.end(), stroke.begin(), stroke.end());
    }
    out = wedge.Feed(run);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].kind, WedgeEventKind::TooLong);
    EXPECT_LE(wedge.Pending(), 8u);
    out = wedge.Feed(Strokes({KEY_ENTER, KEY_9, KEY_ENTER}));
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].text, u"9");

    // Autorepeat of a held key types nothing more.
    out = wedge.Feed({Key(KEY_X, 1), Key(KEY_X, 2), Key(KEY_X, 2), Key(KEY_X, 0), Key(KEY_ENTER, 1)});
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].text, u"x");
}

TEST(InputKeys, KeyMapFileGivesVendorNumbersAndNamesItsBadLines) {
    const ParsedKeyMap good = ParseKeyMap("# caisse 1\n30 = 101\n\n0x1f=0x66   # S\n");
    ASSERT_TRUE(good.errors.empty());
    EXPECT_EQ(good.keys, (KeyMap{{30, 101}, {31, 102}}));

    const ParsedKeyMap bad = ParseKeyMap("30 = 101\nx = 2\n31 102\n32 = -4\n30 = 5\n99999 = 1\n33 = 9z\n");
    ASSERT_EQ(bad.errors.size(), 6u);
    EXPECT_TRUE(bad.keys.empty()); // a map with errors is not used
    EXPECT_EQ(DescribeErrors(bad.errors), "ligne 2 : code de touche invalide\n"
                                          "ligne 3 : « code = touche » attendu\n"
                                          "ligne 4 : numéro de touche invalide\n"
                                          "ligne 5 : code 30 déjà défini\n"
                                          "ligne 6 : code de touche hors limites (0 à 767)\n"
                                          "ligne 7 : numéro de touche invalide\n");
}

TEST(InputKeys, PosKeysGoDownAndUpThroughTheMap) {
    const PosKeyboardDecoder plain;
    EXPECT_EQ(plain.Feed(Key(KEY_A, 1))->keyData, KEY_A);
    EXPECT_EQ(plain.Feed(Key(KEY_A, 0))->kind, PosKeyKind::Up);
    EXPECT_FALSE(plain.Feed(Key(KEY_A, 2))); // autorepeat
    EXPECT_FALSE(plain.Feed({}));            // EV_SYN

    const PosKeyboardDecoder mapped(KeyMap{{KEY_A, 101}});
    const auto down = mapped.Feed(Key(KEY_A, 1));
    ASSERT_TRUE(down);
    EXPECT_EQ(down->kind, PosKeyKind::Down);
    EXPECT_EQ(down->keyData, 101);
    const auto unknown = mapped.Feed(Key(KEY_B, 1));
    ASSERT_TRUE(unknown);
    EXPECT_EQ(unknown->kind, PosKeyKind::Unknown);
    EXPECT_EQ(unknown->keyData, KEY_B);
    EXPECT_FALSE(mapped.Feed(Key(KEY_B, 0))); // reported once, on the press
}

TEST(InputKeys, KeylockFollowsItsConfiguredCodes) {
    const KeylockCodes codes = ParseKeylockCodes("183:1, 184:2,185:3");
    ASSERT_EQ(codes.error, "");
    KeylockDecoder lock(codes.positions);
    EXPECT_EQ(lock.Feed(Key(184, 1)), 2);
    EXPECT_FALSE(lock.Feed(Key(184, 0)));
    EXPECT_FALSE(lock.Feed(Key(184, 1))); // no change, no event
    EXPECT_FALSE(lock.Feed(Key(KEY_A, 1)));
    EXPECT_EQ(lock.Feed(Key(185, 1)), 3);
    EXPECT_EQ(lock.Position(), 3);

    for (const char* bad : {"", "183", "183:0", "abc:1", "183:1,,", "900:1"})
        EXPECT_FALSE(ParseKeylockCodes(bad).error.empty()) << bad;
}

} // namespace
