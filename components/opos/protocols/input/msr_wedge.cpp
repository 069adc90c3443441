#include "protocols/input/msr_wedge.h"

namespace zorv::opos::input {
namespace {

int TrackFor(char sentinel, const MsrSwipe& swipe) {
    switch (sentinel) {
    case '%':
        return 0;
    case ';':
        return swipe.tracks[1].present ? 2 : 1;
    case '+':
        return 2;
    }
    return -1;
}

int TrackCount(const MsrSwipe& swipe) {
    return swipe.tracks[0].present + swipe.tracks[1].present + swipe.tracks[2].present;
}

} // namespace

MsrSwipe ParseSwipe(std::string_view typed) {
    MsrSwipe swipe;
    std::size_t at = 0;
    while (at < typed.size()) {
        const int track = TrackFor(typed[at], swipe);
        if (track < 0 || swipe.tracks[track].present) {
            ++at; // carriage returns and noise between tracks
            continue;
        }
        TrackText& out = swipe.tracks[track];
        out.present = true;
        const std::size_t end = typed.find('?', at + 1);
        if (end == std::string_view::npos) {
            out.text = typed.substr(at + 1);
            out.error = true;
            break;
        }
        out.text = typed.substr(at + 1, end - at - 1);
        out.error = out.text == "E";
        if (out.error)
            out.text.clear();
        at = end + 1;
    }
    return swipe;
}

std::optional<MsrSwipe> MsrLineCollector::Take() {
    if (typed_.empty())
        return std::nullopt;
    MsrSwipe swipe = ParseSwipe(typed_);
    typed_.clear();
    return swipe;
}

std::optional<MsrSwipe> MsrLineCollector::Line(std::string_view text, long nowMs) {
    std::optional<MsrSwipe> done = Idle(nowMs);
    // A line that cannot join the tracks held (one it brings is already there) starts a new swipe.
    const std::string joined = typed_ + std::string(text);
    if (!done &&
        TrackCount(ParseSwipe(joined)) < TrackCount(ParseSwipe(typed_)) + TrackCount(ParseSwipe(text)))
        done = Take();
    typed_ += text;
    lastMs_ = nowMs;
    if (!done && TrackCount(ParseSwipe(typed_)) == 3)
        return Take();
    return done;
}

std::optional<MsrSwipe> MsrLineCollector::Idle(long nowMs) {
    if (!typed_.empty() && nowMs - lastMs_ >= quietMs_)
        return Take();
    return std::nullopt;
}

} // namespace zorv::opos::input
