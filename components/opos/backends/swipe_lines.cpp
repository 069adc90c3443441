#include "backends/swipe_lines.h"

#include <chrono>

#include "kinds/msr/msr_tracks.h"
#include "model/opos_codes.h"
#include "backends/serial/serial_scanner.h"

namespace zorv::opos::real {
namespace {

constexpr long kQuietMs = 150;

long NowMs() {
    using namespace std::chrono;
    return static_cast<long>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

// "E" from the reader (it could not read the track) reads as a parity
// error, a track without its end sentinel as an end-sentinel error; a track
// that came whole is checked against its character set, as a simulated
// swipe is.
LONG TrackFault(const input::TrackText& track, int number) {
    if (!track.present || !track.error)
        return TrackError(Widen(track.text), number);
    return track.text.empty() ? OPOS_EMSR_PARITY : OPOS_EMSR_END;
}

} // namespace

Input SwipeInput(const input::MsrSwipe& swipe) {
    Input input;
    for (int i = 0; i < 3; ++i) {
        input.texts.push_back(Widen(swipe.tracks[i].text));
        input.detail |= TrackFault(swipe.tracks[i], i + 1) << (8 * i);
    }
    return input;
}

SwipeLines::SwipeLines(std::function<void(Input)> swipe)
    : swipe_(std::move(swipe)), collector_(kQuietMs), timer_([this] { Quiet(); }) {}

void SwipeLines::Line(std::string_view text) {
    if (const std::optional<input::MsrSwipe> done = collector_.Line(text, NowMs()))
        Deliver(*done);
    timer_.Arm(std::chrono::milliseconds(kQuietMs));
}

void SwipeLines::Quiet() {
    if (const std::optional<input::MsrSwipe> done = collector_.Idle(NowMs()))
        Deliver(*done);
}

void SwipeLines::Reset() {
    collector_ = input::MsrLineCollector(kQuietMs);
    timer_.Disarm();
}

void SwipeLines::Deliver(const input::MsrSwipe& swipe) {
    if (!swipe.Empty())
        swipe_(SwipeInput(swipe));
}

} // namespace zorv::opos::real
