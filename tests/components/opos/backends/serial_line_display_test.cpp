// A customer display on a serial line, with a pseudo-terminal for the line
// and the display decoder playing the display: the model's screen reaches
// it in few bytes, sizes come from the profile, a screen the command set
// cannot show is never sent in part, unplugging is told as power, and
// blinking, the cursor, windows and marquees use what each set offers.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "protocols/display/display_decoder.h"
#include "platform/com/apartment.h"
#include "real_device_support.h"

using namespace opos_test;
using zorv::opos::display::DisplayDecoder;
using zorv::opos::display::Protocol;

namespace {

constexpr DISPID kStatusUpdateEvent = 2;
constexpr LONG kPowerOnline = 2001, kPowerOffOffline = 2004;

class SerialLineDisplay : public ::testing::Test {
protected:
    void Open(const std::string& settings) {
        profiles.Write("[TestSerialDisplay]\nkind = LineDisplay\nconnection = serial:" + line.Path() + "\n" +
                       settings);
        display = Create(u"OPOS.LineDisplay");
        sink = AdviseSink(display.Get());
        ASSERT_EQ(Call(display.Get(), u"Open", {u"TestSerialDisplay"}), 0);
        ASSERT_EQ(Call(display.Get(), u"ClaimDevice", {LONG{1000}}), 0);
        ASSERT_EQ(Put(display.Get(), u"PowerNotify", LONG{1}), 0);
    }
    void Enable() { ASSERT_EQ(Put(display.Get(), u"DeviceEnabled", true), 0); }
    void TearDown() override {
        if (display)
            Call(display.Get(), u"Close");
        zorv::com::DrainPostedCalls();
    }

    ProfileFileOwner profiles;
    StandInLine line;
    ComPtr<IDispatch> display;
    ComPtr<Sink> sink;
};

} // namespace

TEST_F(SerialLineDisplay, TheScreenReachesTheDisplayInFewBytes) {
    Open("protocol = escpos-display\n");
    Enable();
    DisplayDecoder decoder(Protocol::EscPosDisplay);
    decoder.Feed(line.Received());
    EXPECT_EQ(decoder.Text(), std::string(20, ' ') + "\n" + std::string(20, ' ') + "\n");

    ASSERT_EQ(Call(display.Get(), u"DisplayText", {u"TOTAL", LONG{0}}), 0);
    ASSERT_EQ(Call(display.Get(), u"DisplayTextAt", {LONG{1}, LONG{11}, u"12.50 EUR", LONG{0}}), 0);
    decoder.Feed(line.Received());
    EXPECT_EQ(decoder.Current().Row(0), u"TOTAL               ");
    EXPECT_EQ(decoder.Current().Row(1), u"           12.50 EUR");

    // One character changed: a cursor move and the character, not the screen.
    ASSERT_EQ(Call(display.Get(), u"DisplayTextAt", {LONG{0}, LONG{0}, u"t", LONG{0}}), 0);
    const std::string small = line.Received();
    EXPECT_LE(small.size(), 8u);
    decoder.Feed(small);
    EXPECT_EQ(decoder.Current().Row(0), u"tOTAL               ");

    ASSERT_EQ(Call(display.Get(), u"ClearText"), 0);
    decoder.Feed(line.Received());
    EXPECT_EQ(decoder.Current().Row(0), std::u16string(20, u' '));
    EXPECT_EQ(decoder.State().unknownCommands, 0u);
}

TEST_F(SerialLineDisplay, SizeAndCommandSetComeFromTheProfile) {
    Open("protocol = cd5220\nColumns = 40\nRows = 4\n");
    Enable();
    EXPECT_EQ(Long(display.Get(), u"DeviceColumns"), 40);
    EXPECT_EQ(Long(display.Get(), u"DeviceRows"), 4);
    DisplayDecoder decoder(Protocol::Cd5220, 4, 40);
    ASSERT_EQ(Call(display.Get(), u"DisplayTextAt", {LONG{3}, LONG{35}, u"FIN", LONG{0}}), 0);
    decoder.Feed(line.Received());
    EXPECT_EQ(decoder.Current().Row(3), std::u16string(35, u' ') + u"FIN  ");
    EXPECT_EQ(decoder.State().unknownCommands, 0u);
}

TEST_F(SerialLineDisplay, ASetupTheDisplayCannotShowSendsNothing) {
    Open("protocol = cd5220\ncode_page = 858\n");
    Enable();
    EXPECT_EQ(Long(display.Get(), u"PowerState"), kPowerOffOffline);
    EXPECT_NE(Call(display.Get(), u"DisplayText", {u"PRIX", LONG{0}}), 0);
    EXPECT_EQ(line.Received(), "");
}

TEST_F(SerialLineDisplay, UnpluggedItIsOfflineAndPluggedInItShowsTheLastScreen) {
    Open("");
    Enable();
    ASSERT_EQ(Call(display.Get(), u"DisplayText", {u"BONJOUR", LONG{0}}), 0);
    line.Received();
    line.Unplug();
    ASSERT_TRUE(WaitForEvents(*sink, kStatusUpdateEvent, 1));
    EXPECT_EQ(sink->received.back().numbers.at(0), kPowerOffOffline);

    line.Plug();
    ASSERT_TRUE(WaitForEvents(*sink, kStatusUpdateEvent, 2));
    EXPECT_EQ(sink->received.back().numbers.at(0), kPowerOnline);
    DisplayDecoder decoder(Protocol::EscPosDisplay);
    decoder.Feed(line.Received());
    EXPECT_EQ(decoder.Current().Row(0), u"BONJOUR             ");
}

namespace {

// Pumps the apartment in short steps, feeding what the display got after
// each one; answers the first rows seen, each recorded once.
std::vector<std::u16string> WatchTopRow(StandInLine& line, DisplayDecoder& decoder, int steps) {
    std::vector<std::u16string> rows{decoder.Current().Row(0)};
    for (int i = 0; i < steps; ++i) {
        PumpFor(25);
        decoder.Feed(line.Received(5));
        if (decoder.Current().Row(0) != rows.back())
            rows.push_back(decoder.Current().Row(0));
    }
    return rows;
}

} // namespace

TEST_F(SerialLineDisplay, AnEscPosDisplayBlinksItsWholeScreenItself) {
    Open("protocol = escpos-display\n");
    EXPECT_EQ(Long(display.Get(), u"CapBlink"), 1) << "all or nothing, as the set's blink command does";
    Enable();
    DisplayDecoder decoder(Protocol::EscPosDisplay);
    ASSERT_EQ(Put(display.Get(), u"BlinkRate", LONG{500}), 0);
    ASSERT_EQ(Call(display.Get(), u"DisplayText", {u"PROMO", LONG{1}}), 0);
    decoder.Feed(line.Received());
    EXPECT_EQ(decoder.Current().Row(0), u"PROMO               ");
    EXPECT_EQ(decoder.Current().blinkStep, 5) << "250 ms on, 250 ms off";
    PumpFor(300);
    EXPECT_EQ(line.Received(20), "") << "the display keeps time, not the program";
    ASSERT_EQ(Put(display.Get(), u"DeviceEnabled", false), 0);
    decoder.Feed(line.Received());
    EXPECT_EQ(decoder.Current().blinkStep, 0) << "disabled, it holds still";
    Enable();
    decoder.Feed(line.Received());
    EXPECT_EQ(decoder.Current().blinkStep, 5);

    ASSERT_EQ(Call(display.Get(), u"ClearText"), 0);
    decoder.Feed(line.Received());
    EXPECT_EQ(decoder.Current().blinkStep, 0);
    EXPECT_EQ(decoder.State().unknownCommands, 0u);
}

TEST_F(SerialLineDisplay, ACd5220HasItsBlinkingCharactersRewrittenByTheProgram) {
    Open("protocol = cd5220\n");
    EXPECT_EQ(Long(display.Get(), u"CapBlink"), 2) << "character by character, since the program does it";
    Enable();
    DisplayDecoder decoder(Protocol::Cd5220);
    ASSERT_EQ(Put(display.Get(), u"BlinkRate", LONG{100}), 0);
    ASSERT_EQ(Call(display.Get(), u"DisplayTextAt", {LONG{0}, LONG{0}, u"PROMO", LONG{1}}), 0);
    ASSERT_EQ(Call(display.Get(), u"DisplayTextAt", {LONG{1}, LONG{0}, u"TOTAL", LONG{0}}), 0);
    decoder.Feed(line.Received(20));
    const std::vector<std::u16string> rows = WatchTopRow(line, decoder, 12);
    EXPECT_NE(std::find(rows.begin(), rows.end(), u"PROMO               "), rows.end());
    EXPECT_NE(std::find(rows.begin(), rows.end(), std::u16string(20, u' ')), rows.end());
    EXPECT_EQ(decoder.Current().Row(1), u"TOTAL               ");

    ASSERT_EQ(Put(display.Get(), u"DeviceEnabled", false), 0);
    decoder.Feed(line.Received(20));
    EXPECT_EQ(decoder.Current().Row(0), u"PROMO               ")
        << "disabled, it holds still with the text shown";
    PumpFor(150);
    EXPECT_EQ(line.Received(20), "");
    EXPECT_EQ(decoder.State().unknownCommands, 0u);
}

TEST_F(SerialLineDisplay, CursorAndBrightnessUseTheSetsCommands) {
    Open("protocol = cd5220\n");
    Enable();
    DisplayDecoder decoder(Protocol::Cd5220);
    decoder.Feed(line.Received());
    EXPECT_FALSE(decoder.Current().cursorVisible);
    ASSERT_EQ(Put(display.Get(), u"CursorType", LONG{1}), 0);
    decoder.Feed(line.Received());
    EXPECT_TRUE(decoder.Current().cursorVisible);
    EXPECT_EQ(Put(display.Get(), u"CursorType", LONG{2}), 106) << "no block cursor on these displays";
    ASSERT_EQ(Put(display.Get(), u"DeviceBrightness", LONG{10}), 0);
    ASSERT_EQ(Call(display.Get(), u"DisplayText", {u"A"}), 0);
    const std::string bytes = line.Received();
    EXPECT_EQ(bytes, "A\x1b*\x01") << "the character and the new brightness, nothing else";
    decoder.Feed(bytes);
    EXPECT_EQ(decoder.Current().brightness, 1);
    ASSERT_EQ(Put(display.Get(), u"CursorType", LONG{0}), 0);
    decoder.Feed(line.Received());
    EXPECT_FALSE(decoder.Current().cursorVisible);
}

TEST_F(SerialLineDisplay, WindowsScrollingAndMarqueesReachTheRealScreen) {
    Open("protocol = escpos-display\n");
    Enable();
    DisplayDecoder decoder(Protocol::EscPosDisplay);
    ASSERT_EQ(Call(display.Get(), u"DisplayTextAt", {LONG{1}, LONG{0}, u"BIENVENUE", LONG{0}}), 0);
    ASSERT_EQ(Call(display.Get(), u"CreateWindow", {LONG{0}, LONG{0}, LONG{1}, LONG{5}, LONG{2}, LONG{8}}),
              0);
    ASSERT_EQ(Call(display.Get(), u"DisplayText", {u"ABCDEFGHXY"}), 0);
    decoder.Feed(line.Received());
    EXPECT_EQ(decoder.Current().Row(0), u"ABCDE               ");
    ASSERT_EQ(Call(display.Get(), u"ScrollText", {LONG{1}, LONG{1}}), 0);
    decoder.Feed(line.Received());
    EXPECT_EQ(decoder.Current().Row(0), u"XY                  ") << "the second row came up";

    ASSERT_EQ(Call(display.Get(), u"ClearText"), 0);
    ASSERT_EQ(Put(display.Get(), u"MarqueeType", LONG{5}), 0);
    ASSERT_EQ(Call(display.Get(), u"DisplayText", {u"SOLDES!!"}), 0);
    ASSERT_EQ(Put(display.Get(), u"MarqueeUnitWait", LONG{60}), 0);
    ASSERT_EQ(Put(display.Get(), u"MarqueeFormat", LONG{1}), 0);
    ASSERT_EQ(Put(display.Get(), u"MarqueeType", LONG{3}), 0);
    decoder.Feed(line.Received(5));
    const std::vector<std::u16string> rows = WatchTopRow(line, decoder, 12);
    EXPECT_NE(std::find(rows.begin(), rows.end(), u"OLDES               "), rows.end());
    EXPECT_NE(std::find(rows.begin(), rows.end(), u"DES!!               "), rows.end());
    EXPECT_EQ(decoder.Current().Row(1), u"BIENVENUE           ") << "outside the viewport nothing moves";

    ASSERT_EQ(Put(display.Get(), u"MarqueeType", LONG{0}), 0);
    ASSERT_EQ(Call(display.Get(), u"DestroyWindow"), 0);
    decoder.Feed(line.Received());
    EXPECT_EQ(decoder.Current().Row(0), u"SOLDE               ");
    EXPECT_EQ(decoder.State().unknownCommands, 0u);
}

TEST_F(SerialLineDisplay, ACd5220MayRunATopRowMarqueeItself) {
    Open("protocol = cd5220\nmarquee = display\n");
    Enable();
    DisplayDecoder decoder(Protocol::Cd5220);
    decoder.Feed(line.Received());
    ASSERT_EQ(Call(display.Get(), u"CreateWindow", {LONG{0}, LONG{0}, LONG{1}, LONG{20}, LONG{1}, LONG{30}}),
              0);
    ASSERT_EQ(Put(display.Get(), u"MarqueeType", LONG{5}), 0);
    ASSERT_EQ(Call(display.Get(), u"DisplayText", {u"SOLDES -20% SUR TOUT LE RAYON"}), 0);
    ASSERT_EQ(Put(display.Get(), u"MarqueeType", LONG{3}), 0);
    decoder.Feed(line.Received());
    EXPECT_EQ(decoder.Current().marquee, u"SOLDES -20% SUR TOUT LE RAYON ");
    PumpFor(200);
    EXPECT_EQ(line.Received(20), "") << "the display keeps the pace";

    // Anything else sent stops the display's scrolling, so it is started again after.
    ASSERT_EQ(Put(display.Get(), u"CurrentWindow", LONG{0}), 0);
    ASSERT_EQ(Call(display.Get(), u"DisplayTextAt", {LONG{1}, LONG{0}, u"TOTAL", LONG{0}}), 0);
    decoder.Feed(line.Received());
    EXPECT_EQ(decoder.Current().Row(1), u"TOTAL               ");
    EXPECT_EQ(decoder.Current().marquee, u"SOLDES -20% SUR TOUT LE RAYON ");

    ASSERT_EQ(Put(display.Get(), u"CurrentWindow", LONG{1}), 0);
    ASSERT_EQ(Put(display.Get(), u"MarqueeType", LONG{0}), 0);
    decoder.Feed(line.Received());
    EXPECT_EQ(decoder.Current().marquee, u"");
    EXPECT_EQ(decoder.Current().Row(0), u"SOLDES -20% SUR TOUT") << "the top row is written again in full";
    EXPECT_EQ(decoder.State().unknownCommands, 0u);
}

TEST_F(SerialLineDisplay, OnlyACd5220RunsAMarqueeItself) {
    Open("protocol = escpos-display\nmarquee = display\n");
    Enable();
    EXPECT_EQ(Long(display.Get(), u"PowerState"), kPowerOffOffline);
    EXPECT_NE(Call(display.Get(), u"DisplayText", {u"SOLDES"}), 0);
    EXPECT_EQ(line.Received(), "") << "nothing at all is sent to a display that cannot";
}
