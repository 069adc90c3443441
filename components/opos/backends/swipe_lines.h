#pragma once
// Card swipes out of the lines a reader sends, whether it sends a swipe as
// one line or each track as a line of its own; a swipe is complete with its
// third track, when a line starts the next swipe, or when the reader has
// been quiet for a moment. Each swipe reaches the model as the simulated
// reader gives it: the tracks without sentinels, one error byte per track.
#include <functional>
#include <string>

#include "protocols/input/msr_wedge.h"
#include "model/backend.h"
#include "backends/quiet_timer.h"

namespace zorv::opos::real {

class SwipeLines {
public:
    explicit SwipeLines(std::function<void(Input)> swipe);

    void Line(std::string_view text);
    // The device went away: a swipe half read is dropped.
    void Reset();

private:
    void Quiet();
    void Deliver(const input::MsrSwipe& swipe);

    std::function<void(Input)> swipe_;
    input::MsrLineCollector collector_;
    QuietTimer timer_;
};

// A card reader's swipe as the MSR model takes it.
Input SwipeInput(const input::MsrSwipe& swipe);

} // namespace zorv::opos::real
