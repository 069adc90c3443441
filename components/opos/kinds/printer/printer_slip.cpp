#include "kinds/printer/printer_slip.h"

#include "model/opos_codes.h"

namespace zorv::opos {
namespace {

// The slip's paper sensor is the form sensor: "empty" means no form.
bool FormIn(const Device& device) {
    return !device.Bool(Prop::SlpEmpty);
}

Outcome SlipRefusal(Device& device) {
    if (const LONG refused = device.Refusal())
        return {refused};
    if (!device.Bool(Prop::CapSlpPresent))
        return {OPOS_E_ILLEGAL};
    if (device.Bool(Prop::CoverOpen))
        return {OPOS_E_EXTENDED, OPOS_EPTR_COVER_OPEN};
    return {};
}

} // namespace

// A form already where the wait wants it ends the wait at once. The mode
// stays after a timeout, so that the application can still end it.
Outcome SlipForm::Begin(Device& device, Mode mode, LONG timeout) {
    if (Outcome refused = SlipRefusal(device); refused.code != OPOS_SUCCESS)
        return refused;
    if (timeout < OPOS_FOREVER)
        return {OPOS_E_ILLEGAL};
    mode_ = mode;
    const bool wanted = mode == Mode::Inserting;
    if (!device.WaitFor([&] { return FormIn(device) == wanted || !device.IsOpen(); }, timeout))
        return {OPOS_E_TIMEOUT};
    return device.IsOpen() ? Outcome{} : Outcome{OPOS_E_CLOSED};
}

Outcome SlipForm::EndInsertion(Device& device) {
    if (Outcome refused = End(device, Mode::Inserting); refused.code != OPOS_SUCCESS)
        return refused;
    if (!FormIn(device))
        return {OPOS_E_EXTENDED, OPOS_EPTR_SLP_EMPTY};
    mode_ = Mode::None;
    device.Hardware().Stats().Add(u"FormInsertionCount");
    return {};
}

Outcome SlipForm::EndRemoval(Device& device) {
    if (Outcome refused = End(device, Mode::Removing); refused.code != OPOS_SUCCESS)
        return refused;
    if (FormIn(device))
        return {OPOS_E_EXTENDED, OPOS_EPTR_SLP_FORM};
    mode_ = Mode::None;
    return {};
}

Outcome SlipForm::End(Device& device, Mode mode) {
    if (Outcome refused = SlipRefusal(device); refused.code != OPOS_SUCCESS)
        return refused;
    return mode_ == mode ? Outcome{} : Outcome{OPOS_E_ILLEGAL};
}

} // namespace zorv::opos
