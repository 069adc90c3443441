#pragma once
// A customer display on a serial line, speaking the ESC/POS display set or
// CD5220. The model's screen arrives whole; what goes to the display is only
// what differs from what it shows, and nothing at all when the wanted screen
// needs a feature the set lacks. Unplugged, it is off and offline; plugged
// in again, it is initialised and shown the last screen.
#include "protocols/display/command_set.h"
#include "protocols/display/screen.h"
#include "model/backend.h"
#include "backends/serial/watched_link.h"

namespace zorv::opos::real {

struct SerialLineDisplayConfig {
    transport::Connection connection;
    display::Protocol protocol = display::Protocol::EscPosDisplay;
    display::CodePage codePage = display::CodePage::Pc437;
    int rows = 2;
    int columns = 20;
    bool ownMarquee = false; // `marquee = display`: the CD5220 scrolls the top row itself
};

// What the command set lets the model offer: an ESC/POS display blinks its
// whole screen by itself, a CD5220 has its characters blinked by the
// program; both show or hide a fixed cursor.
void AddSerialLineDisplayDefaults(Profile& profile);

class SerialLineDisplay final : public Backend {
public:
    explicit SerialLineDisplay(SerialLineDisplayConfig config);

    void Start(BackendEvents& events) override;
    void Send(std::uint64_t ticket, const Output& output) override;
    HealthReport CheckHealth(LONG level) override;
    LONG CompareFirmware(std::u16string_view, LONG&) override;
    LONG UpdateFirmware(std::u16string_view) override;
    std::optional<LONG> DirectIO(LONG, LONG&, std::u16string&) override { return std::nullopt; }
    std::u16string Interface() const override { return u"Serial"; }
    bool BlinksByItself() const override { return config_.protocol == display::Protocol::EscPosDisplay; }
    LONG LongestOwnMarquee() const override {
        return config_.ownMarquee ? static_cast<LONG>(display::kLongestMarquee) : 0;
    }

private:
    display::Screen Wanted(const Output& output) const;
    bool Refresh();

    SerialLineDisplayConfig config_;
    BackendEvents* events_ = nullptr;
    display::Screen shown_;  // what the display shows
    display::Screen wanted_; // what the model last asked for
    WatchedLink link_;
};

} // namespace zorv::opos::real
