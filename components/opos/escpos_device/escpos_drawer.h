#pragma once
// A cash drawer on an ESC/POS printer's kick port: the pulse goes through
// the printer's link (shared with the printer), the drawer sensor comes
// back in the printer's status.
#include <memory>

#include "escpos_device/printer_port.h"
#include "model/backend.h"
#include "opos_codes.h"
#include "profile.h"

namespace zorv::opos::escpos_device {

class EscPosDrawer final : public Backend, private PortListener {
public:
    explicit EscPosDrawer(const Profile& profile);
    ~EscPosDrawer() override;

    void Start(BackendEvents& events) override;
    HealthReport Connect() override;
    HealthReport Prepare() override;
    void Disconnect() override;
    void Send(std::uint64_t ticket, const Output& output) override;
    HealthReport CheckHealth(LONG level) override;
    LONG CompareFirmware(std::u16string_view, LONG&) override { return OPOS_E_ILLEGAL; }
    LONG UpdateFirmware(std::u16string_view) override { return OPOS_E_ILLEGAL; }
    std::optional<LONG> DirectIO(LONG command, LONG& data, std::u16string& text) override;
    void WaitStarted() override;
    std::u16string Interface() const override;

private:
    void StatusChanged(const escpos::PrinterStatus& status) override;
    void LinkChanged(bool up, bool answering) override;
    bool Query();

    // Why the printer this drawer names cannot be used, or empty; filled
    // while the settings are read, so declared first.
    std::string problem_;
    Settings settings_;
    BackendEvents* events_ = nullptr;
    std::shared_ptr<PrinterPort> port_;
    bool connected_ = false;
    std::optional<bool> shown_;
};

} // namespace zorv::opos::escpos_device
