#pragma once
// Where a marquee stands at each step, along its one axis (columns for left
// and right, rows for up and down). Walking starts with the window's first
// unit entering at the far edge of the viewport; placing starts with the
// viewport full. A pass ends when the window's last unit has come into the
// viewport, which is when the repeat wait begins.
#include "model/opos_codes.h"

namespace zorv::opos {

struct MarqueeTrack {
    bool walk = true;
    LONG window = 0;   // the window's length on the axis
    LONG viewport = 0; // the viewport's, shorter
};

LONG MarqueeSteps(const MarqueeTrack& track);
// The window unit that viewport unit 0 shows at `step`; `forward` is left
// or up. Units outside the window show blank.
LONG MarqueeOffset(const MarqueeTrack& track, bool forward, LONG step);

} // namespace zorv::opos
