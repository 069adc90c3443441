#include "backends/serial/serial_line_display.h"

#include <algorithm>

#include "protocols/display/screen_diff.h"
#include "model/opos_codes.h"
#include "model/profile.h"
#include "backends/serial/serial_scanner.h"

namespace zorv::opos::real {
namespace {

// A display that takes nothing for this long has stopped reading.
constexpr int kSendTimeoutMs = 3000;

constexpr LONG DISP_CB_BLINKALL = 1, DISP_CB_BLINKEACH = 2, DISP_CCT_FIXED = 1;

} // namespace

void AddSerialLineDisplayDefaults(Profile& profile) {
    const bool cd5220 = display::ProtocolFromName(Setting(profile, "protocol", "escpos-display")) ==
                        display::Protocol::Cd5220;
    profile.overrides.insert(profile.overrides.begin(),
                             {{Prop::CapBlink, Value(cd5220 ? DISP_CB_BLINKEACH : DISP_CB_BLINKALL)},
                              {Prop::CapCursorType, Value(DISP_CCT_FIXED)}});
}

SerialLineDisplay::SerialLineDisplay(SerialLineDisplayConfig config)
    : config_(std::move(config)), shown_(display::Screen::Blank(config_.rows, config_.columns)),
      wanted_(shown_), link_(config_.connection,
                             {[](const std::string&) {},
                              [this] { events_->PowerChanged(OPOS_PS_OFF_OFFLINE); }, [this] { Refresh(); },
                              [](std::uint64_t) {}},
                             kSendTimeoutMs) {
    wanted_.codePage = shown_.codePage = config_.codePage;
}

void SerialLineDisplay::Start(BackendEvents& events) {
    events_ = &events;
    if (!link_.Open() || !Refresh())
        events_->PowerChanged(OPOS_PS_OFF_OFFLINE);
}

// From an unknown state (just opened, plugged in again): initialise and show
// everything wanted. The display is online again once it has taken that.
bool SerialLineDisplay::Refresh() {
    const display::ScreenChanges changes = display::EncodeFullRefresh(config_.protocol, wanted_);
    if (!changes.unsupported.empty())
        return false;
    shown_ = wanted_;
    return link_.Write(changes.bytes, [this](bool written) {
        if (written)
            events_->PowerChanged(OPOS_PS_ONLINE);
    });
}

// Output::Screen: the rows separated by line feeds, then maybe the text of
// a marquee the display is to run on its top row; params: the cursor's
// row and column on the screen, DeviceBrightness in percent, CursorType
// (any type shows the display's one cursor) and the whole screen's blink
// rate in milliseconds, on and off.
display::Screen SerialLineDisplay::Wanted(const Output& output) const {
    display::Screen wanted = wanted_;
    wanted.Clear();
    wanted.marquee.clear();
    int row = 0;
    std::size_t start = 0;
    while (row < wanted.rows && start <= output.data.size()) {
        const std::size_t end = std::min(output.data.find(u'\n', start), output.data.size());
        wanted.WriteAt(row++, 0, std::u16string_view(output.data).substr(start, end - start));
        start = end + 1;
    }
    if (start < output.data.size()) {
        const std::size_t end = std::min(output.data.find(u'\n', start), output.data.size());
        wanted.marquee = output.data.substr(start, end - start);
    }
    wanted.cursorRow = std::clamp<int>(output.params[0], 0, wanted.rows - 1);
    wanted.cursorColumn = std::clamp<int>(output.params[1], 0, wanted.columns - 1);
    wanted.brightness = display::BrightnessStep(output.params[2]);
    wanted.cursorVisible = output.params[3] != 0;
    wanted.blinkStep = display::BlinkStep(output.params[4] / 2);
    return wanted;
}

void SerialLineDisplay::Send(std::uint64_t ticket, const Output& output) {
    if (output.what != Output::What::Screen)
        return events_->OutputDone(ticket, OPOS_E_ILLEGAL, 0);
    const display::Screen wanted = Wanted(output);
    if (!link_.IsOpen()) {
        // The model keeps the screen: the display shows it once it is back.
        if (display::EncodeFullRefresh(config_.protocol, wanted).unsupported.empty())
            wanted_ = wanted;
        return events_->OutputDone(ticket, OPOS_E_OFFLINE, 0);
    }
    const display::ScreenChanges changes = display::EncodeChanges(config_.protocol, shown_, wanted);
    if (!changes.unsupported.empty())
        return events_->OutputDone(ticket, OPOS_E_ILLEGAL, 0);
    wanted_ = wanted;
    // Queued is done: a display that does not take it is gone, and shown
    // everything again when it is back.
    if (!changes.bytes.empty() && !link_.Write(changes.bytes))
        return events_->OutputDone(ticket, OPOS_E_OFFLINE, 0);
    shown_ = wanted;
    events_->OutputDone(ticket, OPOS_SUCCESS, 0);
}

HealthReport SerialLineDisplay::CheckHealth(LONG level) {
    return LinkHealth(level, link_);
}

LONG SerialLineDisplay::CompareFirmware(std::u16string_view, LONG&) {
    return OPOS_E_ILLEGAL;
}

LONG SerialLineDisplay::UpdateFirmware(std::u16string_view) {
    return OPOS_E_ILLEGAL;
}

} // namespace zorv::opos::real
