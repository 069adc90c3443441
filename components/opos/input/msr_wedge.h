#pragma once
// What a magnetic stripe reader types as a keyboard wedge: each track between
// its ISO sentinels, "%...?" for track 1, ";...?" for track 2 and then track
// 3 ("+...?" on readers that mark track 3 apart). A track the reader could
// not read comes as "%E?" or ";E?".
#include <string>
#include <string_view>

namespace zorv::opos::input {

struct TrackText {
    std::string text;     // without the sentinels
    bool present = false; // the reader sent this track
    bool error = false;   // "E", or a start sentinel with no end
};

struct MsrSwipe {
    TrackText tracks[3];
    bool AnyError() const { return tracks[0].error || tracks[1].error || tracks[2].error; }
    bool Empty() const { return !tracks[0].present && !tracks[1].present && !tracks[2].present; }
};

MsrSwipe ParseSwipe(std::string_view typed);

} // namespace zorv::opos::input
