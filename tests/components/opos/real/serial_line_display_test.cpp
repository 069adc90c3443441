// A customer display on a serial line, with a pseudo-terminal for the line
// and the display decoder playing the display: the model's screen reaches
// it in few bytes, sizes come from the profile, a screen the command set
// cannot show is never sent in part, and unplugging is told as power.
#include <gtest/gtest.h>

#include "display/display_decoder.h"
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
