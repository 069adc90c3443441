#include "kinds/line_display/line_display_marquee.h"

namespace zorv::opos {

LONG MarqueeSteps(const MarqueeTrack& track) {
    return track.walk ? track.window : track.window - track.viewport + 1;
}

// Left or up: the window moves toward unit 0 of the viewport, so the offset
// grows; right or down mirror it from the window's end.
LONG MarqueeOffset(const MarqueeTrack& track, bool forward, LONG step) {
    if (forward)
        return track.walk ? step - (track.viewport - 1) : step;
    return track.walk ? track.window - 1 - step : track.window - track.viewport - step;
}

} // namespace zorv::opos
