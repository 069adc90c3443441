#pragma once
// Stands for a device whose profile cannot be used (a connection text that
// does not parse, a kind this connection cannot serve): it opens off and
// offline, and its health check says why, rather than quietly simulating.
// One the system can never reach refuses Open with 107 and the reason.
#include <string>

#include "model/backend.h"
#include "model/opos_codes.h"
#include "platform/com/text.h"

namespace zorv::opos::real {

// Open's refusal of a device whose path can never be that device.
inline HealthReport PathRefusal(bool unsuitable, const std::string& problem) {
    if (!unsuitable)
        return {};
    return {OPOS_E_NOHARDWARE, com::Utf8ToUtf16(problem)};
}

class UnusableDevice final : public Backend {
public:
    enum class RefusesOpen { No, Yes };
    explicit UnusableDevice(std::u16string why, RefusesOpen refuses = RefusesOpen::No)
        : why_(std::move(why)), refuses_(refuses == RefusesOpen::Yes) {}

    HealthReport OpenRefusal() const override { return PathRefusal(refuses_, com::Utf16ToUtf8(why_)); }

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
    bool refuses_;
    BackendEvents* events_ = nullptr;
};

} // namespace zorv::opos::real
