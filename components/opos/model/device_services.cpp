// The common services every device offers beside its state machine:
// statistics and firmware, answered by the shared logical device.
#include "model/device.h"

namespace zorv::opos {

LONG Device::StatisticsRefusal() const {
    if (const LONG refused = Refusal())
        return refused;
    return Bool(Prop::CapStatisticsReporting) ? OPOS_SUCCESS : OPOS_E_ILLEGAL;
}

LONG Device::RetrieveStatistics(std::u16string& buffer) {
    if (const LONG refused = StatisticsRefusal())
        return Finish(refused);
    const std::u16string request = buffer;
    return Finish(logical_->Stats().Retrieve(request, buffer));
}

LONG Device::ResetStatistics(std::u16string_view request) {
    if (const LONG refused = StatisticsRefusal())
        return Finish(refused);
    if (!Bool(Prop::CapUpdateStatistics))
        return Finish(OPOS_E_ILLEGAL);
    return Finish(logical_->Stats().Reset(request));
}

LONG Device::UpdateStatistics(std::u16string_view request) {
    if (const LONG refused = StatisticsRefusal())
        return Finish(refused);
    if (!Bool(Prop::CapUpdateStatistics))
        return Finish(OPOS_E_ILLEGAL);
    return Finish(logical_->Stats().Update(request));
}

LONG Device::CompareFirmwareVersion(std::u16string_view file, LONG& result) {
    if (const LONG refused = Refusal())
        return Finish(refused);
    if (!Bool(Prop::CapCompareFirmwareVersion))
        return Finish(OPOS_E_ILLEGAL);
    return Finish(logical_->Hardware().CompareFirmware(file, result));
}

// The update runs on; its progress arrives as status updates, and the
// device is busy until the last one.
LONG Device::UpdateFirmware(std::u16string_view file) {
    if (const LONG refused = Refusal())
        return Finish(refused);
    if (!Bool(Prop::CapUpdateFirmware) || firmwareBusy_)
        return Finish(OPOS_E_ILLEGAL);
    const LONG code = logical_->UpdateFirmware(*this, file);
    firmwareBusy_ = code == OPOS_SUCCESS;
    return Finish(code);
}

} // namespace zorv::opos
