#pragma once
// The slip station's forms: BeginInsertion opens the station and waits for
// a form, EndInsertion closes it on the form; BeginRemoval waits for the
// form to be taken out, EndRemoval ends that. Each End needs its Begin.
#include "model/device.h"

namespace zorv::opos {

class SlipForm {
public:
    void Reset() { mode_ = Mode::None; }
    Outcome BeginInsertion(Device& device, LONG timeout) { return Begin(device, Mode::Inserting, timeout); }
    Outcome EndInsertion(Device& device);
    Outcome BeginRemoval(Device& device, LONG timeout) { return Begin(device, Mode::Removing, timeout); }
    Outcome EndRemoval(Device& device);

private:
    enum class Mode { None, Inserting, Removing };

    Outcome Begin(Device& device, Mode mode, LONG timeout);
    Outcome End(Device& device, Mode mode);

    Mode mode_ = Mode::None;
};

} // namespace zorv::opos
