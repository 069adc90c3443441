#pragma once
// What a magnetic stripe reader types as a keyboard wedge: each track between
// its ISO sentinels, "%...?" for track 1, ";...?" for track 2 and then track
// 3 ("+...?" on readers that mark track 3 apart). A track the reader could
// not read comes as "%E?" or ";E?".
#include <optional>
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

// Readers set to end each track with Enter type one swipe as several lines.
// Lines are gathered until a line brings a track already held (a new swipe
// began), all three tracks are there, or the reader has been quiet for
// quietMs. Times are the caller's clock in milliseconds.
class MsrLineCollector {
public:
    explicit MsrLineCollector(long quietMs = 150) : quietMs_(quietMs) {}

    // The swipe this line completes or pushes out, if any.
    std::optional<MsrSwipe> Line(std::string_view text, long nowMs);
    // The swipe gathered so far, once the reader has been quiet long enough.
    std::optional<MsrSwipe> Idle(long nowMs);

private:
    std::optional<MsrSwipe> Take();

    long quietMs_;
    std::string typed_;
    long lastMs_ = 0;
};

} // namespace zorv::opos::input
