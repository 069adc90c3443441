#include "input/msr_wedge.h"

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

} // namespace zorv::opos::input
