#pragma once
// A cash drawer on an ESC/POS printer's kick port: the pulse goes through
// the printer's link (shared with the printer), the drawer sensor comes
// back in the printer's status.
#include "backends/escpos/port_backend.h"
#include "model/opos_codes.h"
#include "model/profile.h"

namespace zorv::opos::escpos_device {

class EscPosDrawer final : public PortBackend {
public:
    explicit EscPosDrawer(const Profile& profile);

    HealthReport Prepare() override;
    void Send(std::uint64_t ticket, const Output& output) override;
    HealthReport CheckHealth(LONG level) override;
    LONG CompareFirmware(std::u16string_view, LONG&) override { return OPOS_E_ILLEGAL; }
    LONG UpdateFirmware(std::u16string_view) override { return OPOS_E_ILLEGAL; }
    std::optional<LONG> DirectIO(LONG command, LONG& data, std::u16string& text) override;
    void WaitStarted() override;
    std::u16string Interface() const override;

private:
    explicit EscPosDrawer(std::pair<Settings, std::string> settings);
    void StatusChanged(const escpos::PrinterStatus& status) override;
    LONG Kick();
    bool Query();

    std::optional<bool> shown_;
};

} // namespace zorv::opos::escpos_device
