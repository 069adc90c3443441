#pragma once
// Stands for a device whose profile cannot be used (a connection text that
// does not parse, a kind this connection cannot serve): it opens off and
// offline, and its health check says why, rather than quietly simulating.
#include <string>

#include "model/backend.h"
#include "model/opos_codes.h"

namespace zorv::opos::real {

class UnusableDevice final : public Backend {
public:
    explicit UnusableDevice(std::u16string why) : why_(std::move(why)) {}

    void Start(BackendEvents& events) override {
        events_ = &events;
        events.PowerChanged(OPOS_PS_OFF_OFFLINE);
    }
    void Send(std::uint64_t ticket, const Output&) override {
        events_->OutputDone(ticket, OPOS_E_OFFLINE, 0);
    }
    HealthReport CheckHealth(LONG) override { return {OPOS_E_FAILURE, u"HCheck: Failed, " + why_}; }
    LONG CompareFirmware(std::u16string_view, LONG&) override { return OPOS_E_ILLEGAL; }
    LONG UpdateFirmware(std::u16string_view) override { return OPOS_E_ILLEGAL; }
    std::optional<LONG> DirectIO(LONG, LONG&, std::u16string&) override { return std::nullopt; }
    std::u16string Interface() const override { return u"Unusable"; }

private:
    std::u16string why_;
    BackendEvents* events_ = nullptr;
};

} // namespace zorv::opos::real
