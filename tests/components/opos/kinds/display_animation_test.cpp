// Blinking text and marquees on the simulated display: the screen really
// changes on the apartment's timers, in the standard's order of steps, and
// stops when the application stops it, disables or lets the object go.
#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "opos_test_support.h"
#include "platform/com/apartment.h"

using namespace opos_test;
using zorv::com::DrainPostedCalls;
using zorv::com::WaitPumping;
using Clock = std::chrono::steady_clock;

namespace {

constexpr LONG kBlink = 1;
constexpr LONG kUp = 1, kLeft = 3, kRight = 4, kInit = 5, kNone = 0;
constexpr LONG kWalk = 0, kPlace = 1;
// Long enough for several beats of every animation these tests start.
constexpr std::chrono::milliseconds kQuiet{250};

class DisplayAnimation : public ::testing::Test {
protected:
    void SetUp() override {
        display = Create(u"OPOS.LineDisplay");
        OpenReady(display.Get(), u"SimLineDisplay");
    }
    void TearDown() override {
        if (display)
            Call(display.Get(), u"Close");
        DrainPostedCalls();
    }

    std::u16string Shown() { return DirectIO(display.Get(), kReadBack).text; }

    // The screens shown one after the other, each recorded once, until
    // `count` were seen or `within` passed.
    std::vector<std::u16string> Frames(std::size_t count,
                                       std::chrono::milliseconds within = std::chrono::seconds(2)) {
        std::vector<std::u16string> frames{Shown()};
        WaitPumping(
            [&] {
                if (std::u16string now = Shown(); now != frames.back())
                    frames.push_back(std::move(now));
                return frames.size() >= count;
            },
            within);
        return frames;
    }

    // A one-row window of five columns over the top row, holding `text`.
    void TickerWindow(std::u16string_view text, LONG width = 8) {
        ASSERT_EQ(Call(display.Get(), u"CreateWindow", {LONG{0}, LONG{0}, LONG{1}, LONG{5}, LONG{1}, width}),
                  0);
        ASSERT_EQ(Put(display.Get(), u"MarqueeType", kInit), 0);
        ASSERT_EQ(Call(display.Get(), u"DisplayText", {std::u16string(text)}), 0);
        ASSERT_EQ(Put(display.Get(), u"MarqueeUnitWait", LONG{20}), 0);
    }

    ComPtr<IDispatch> display;
};

bool Holds(const std::vector<std::u16string>& frames, const std::u16string& frame) {
    return std::find(frames.begin(), frames.end(), frame) != frames.end();
}

} // namespace

TEST_F(DisplayAnimation, BlinkingCharactersGoOnAndOffWhileTheOthersStay) {
    ASSERT_EQ(Put(display.Get(), u"BlinkRate", LONG{80}), 0);
    ASSERT_EQ(Call(display.Get(), u"DisplayTextAt", {LONG{0}, LONG{0}, u"PROMO", kBlink}), 0);
    ASSERT_EQ(Call(display.Get(), u"DisplayTextAt", {LONG{1}, LONG{0}, u"TOTAL 9,90", LONG{0}}), 0);
    const std::vector<std::u16string> frames = Frames(5);
    ASSERT_GE(frames.size(), 5u) << "the screen changed " << frames.size() - 1 << " times";
    EXPECT_TRUE(Holds(frames, u"PROMO\nTOTAL 9,90\n"));
    EXPECT_TRUE(Holds(frames, u"\nTOTAL 9,90\n"));
    for (const std::u16string& frame : frames)
        EXPECT_NE(frame.find(u"TOTAL 9,90"), std::u16string::npos) << "steady text never blinks";
}

TEST_F(DisplayAnimation, ClearingOrDisablingStopsBlinkingWithTheTextShown) {
    ASSERT_EQ(Put(display.Get(), u"BlinkRate", LONG{60}), 0);
    ASSERT_EQ(Call(display.Get(), u"DisplayText", {u"SOLDES", kBlink}), 0);
    ASSERT_GE(Frames(3).size(), 3u);

    ASSERT_EQ(Put(display.Get(), u"DeviceEnabled", false), 0);
    EXPECT_EQ(Shown(), u"SOLDES\n\n");
    EXPECT_EQ(Frames(2, kQuiet).size(), 1u) << "a disabled display holds still";

    ASSERT_EQ(Put(display.Get(), u"DeviceEnabled", true), 0);
    EXPECT_GE(Frames(3).size(), 3u) << "enabled again, it blinks again";

    ASSERT_EQ(Call(display.Get(), u"ClearText"), 0);
    ASSERT_EQ(Call(display.Get(), u"DisplayText", {u"MERCI", LONG{0}}), 0);
    EXPECT_EQ(Frames(2, kQuiet), (std::vector<std::u16string>{u"MERCI\n\n"}))
        << "nothing blinks after ClearText";
}

TEST_F(DisplayAnimation, AWalkingMarqueeEntersFromTheFarSideAndRepeatsAfterItsWait) {
    TickerWindow(u"ABCDEFGH");
    ASSERT_EQ(Put(display.Get(), u"MarqueeRepeatWait", LONG{150}), 0);
    ASSERT_EQ(Put(display.Get(), u"MarqueeFormat", kWalk), 0);
    ASSERT_EQ(Put(display.Get(), u"MarqueeType", kLeft), 0);
    const std::vector<std::u16string> frames = Frames(8);
    const std::vector<std::u16string> pass{u"    A\n\n", u"   AB\n\n", u"  ABC\n\n", u" ABCD\n\n",
                                           u"ABCDE\n\n", u"BCDEF\n\n", u"CDEFG\n\n", u"DEFGH\n\n"};
    EXPECT_EQ(frames, pass);
    const auto lastStep = Clock::now();
    ASSERT_EQ(Frames(2).back(), u"    A\n\n") << "the next pass starts over";
    EXPECT_GE(Clock::now() - lastStep, std::chrono::milliseconds(140)) << "after the repeat wait";
}

TEST_F(DisplayAnimation, PlacedAndRightwardMarqueesStartFromTheirOwnEnds) {
    TickerWindow(u"ABCDEFGH");
    ASSERT_EQ(Put(display.Get(), u"MarqueeFormat", kPlace), 0);
    ASSERT_EQ(Put(display.Get(), u"MarqueeType", kLeft), 0);
    EXPECT_EQ(Frames(4),
              (std::vector<std::u16string>{u"ABCDE\n\n", u"BCDEF\n\n", u"CDEFG\n\n", u"DEFGH\n\n"}));

    ASSERT_EQ(Put(display.Get(), u"MarqueeFormat", kWalk), 0);
    ASSERT_EQ(Put(display.Get(), u"MarqueeType", kRight), 0);
    const std::vector<std::u16string> frames = Frames(3);
    EXPECT_EQ(frames, (std::vector<std::u16string>{u"H\n\n", u"GH\n\n", u"FGH\n\n"}));
}

TEST_F(DisplayAnimation, AnUpwardMarqueeMovesRowsThroughTheViewport) {
    ASSERT_EQ(Call(display.Get(), u"CreateWindow", {LONG{1}, LONG{0}, LONG{1}, LONG{5}, LONG{3}, LONG{5}}),
              0);
    ASSERT_EQ(Put(display.Get(), u"MarqueeType", kInit), 0);
    ASSERT_EQ(Call(display.Get(), u"DisplayText", {u"UN\nDEUX\nTROIS"}), 0);
    ASSERT_EQ(Put(display.Get(), u"MarqueeUnitWait", LONG{20}), 0);
    ASSERT_EQ(Put(display.Get(), u"MarqueeFormat", kPlace), 0);
    ASSERT_EQ(Put(display.Get(), u"MarqueeType", kUp), 0);
    EXPECT_EQ(Frames(3), (std::vector<std::u16string>{u"\nUN\n", u"\nDEUX\n", u"\nTROIS\n"}));
}

TEST_F(DisplayAnimation, StoppingAMarqueeAndWhatARunningOneRefuses) {
    TickerWindow(u"ABCDEFGH");
    ASSERT_EQ(Put(display.Get(), u"MarqueeType", kLeft), 0);
    ASSERT_GE(Frames(3).size(), 3u);
    EXPECT_EQ(Call(display.Get(), u"ClearText"), 106) << "a running marquee is not cleared";
    EXPECT_EQ(Call(display.Get(), u"ScrollText", {LONG{3}, LONG{1}}), 106);

    ASSERT_EQ(Put(display.Get(), u"MarqueeType", kNone), 0);
    EXPECT_EQ(Shown(), u"ABCDE\n\n") << "the window shows from its start again";
    EXPECT_EQ(Frames(2, kQuiet).size(), 1u) << "and holds still";

    // New text for a running marquee sends it back to collecting.
    ASSERT_EQ(Put(display.Get(), u"MarqueeType", kLeft), 0);
    ASSERT_EQ(Call(display.Get(), u"DisplayText", {u"Z"}), 0);
    EXPECT_EQ(Long(display.Get(), u"MarqueeType"), kInit);
    const std::u16string held = Shown();
    EXPECT_EQ(Frames(2, kQuiet), (std::vector<std::u16string>{held}));
}

TEST_F(DisplayAnimation, MarqueeSettingsBelongToEachWindowAndDirectionsNeedRoom) {
    TickerWindow(u"ABCDEFGH", 5);
    EXPECT_EQ(Put(display.Get(), u"MarqueeType", kLeft), 106)
        << "nothing to scroll: window as wide as viewport";
    EXPECT_EQ(Put(display.Get(), u"MarqueeType", kUp), 106);
    EXPECT_EQ(Put(display.Get(), u"MarqueeUnitWait", LONG{-1}), 106);
    EXPECT_EQ(Put(display.Get(), u"MarqueeFormat", LONG{2}), 106);
    ASSERT_EQ(Put(display.Get(), u"MarqueeRepeatWait", LONG{700}), 0);
    ASSERT_EQ(Call(display.Get(), u"CreateWindow", {LONG{1}, LONG{0}, LONG{1}, LONG{5}, LONG{1}, LONG{9}}),
              0);
    EXPECT_EQ(Long(display.Get(), u"MarqueeRepeatWait"), 0) << "a new window starts afresh";
    EXPECT_EQ(Long(display.Get(), u"MarqueeType"), kNone);
    ASSERT_EQ(Put(display.Get(), u"CurrentWindow", LONG{1}), 0);
    EXPECT_EQ(Long(display.Get(), u"MarqueeRepeatWait"), 700);
    EXPECT_EQ(Long(display.Get(), u"MarqueeUnitWait"), 20);
    EXPECT_EQ(Long(display.Get(), u"MarqueeType"), kInit);
}

TEST_F(DisplayAnimation, LettingGoOfARunningDisplayLeavesNoTimerBehind) {
    ASSERT_EQ(Call(display.Get(), u"DisplayText", {u"X", kBlink}), 0);
    TickerWindow(u"ABCDEFGH");
    ASSERT_EQ(Put(display.Get(), u"MarqueeType", kLeft), 0);
    ASSERT_TRUE(zorv::com::TimeToNextTimer().has_value());
    display = nullptr; // released without Close
    EXPECT_FALSE(zorv::com::TimeToNextTimer().has_value());
    WaitPumping([] { return false; }, std::chrono::milliseconds(60));
}

TEST_F(DisplayAnimation, CursorTypesAreThoseTheDisplayHas) {
    EXPECT_EQ(Put(display.Get(), u"CursorType", LONG{0}), 0);
    EXPECT_EQ(Put(display.Get(), u"CursorType", LONG{1}), 106) << "the simulated screen has no cursor";
    EXPECT_EQ(Put(display.Get(), u"BlinkRate", LONG{0}), 106);
}
