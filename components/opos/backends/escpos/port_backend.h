#pragma once
// What the ESC/POS printer and the cash drawer on its kick port share: the
// port they reach the printer through, held from claim to release, set up
// and read when enabled, and a power state that follows the link.
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "backends/escpos/printer_port.h"
#include "model/backend.h"
#include "model/opos_codes.h"

namespace zorv::opos::escpos_device {

class PortBackend : public Backend, protected PortListener {
public:
    ~PortBackend() override;

    void Start(BackendEvents& events) override;
    HealthReport Connect() override;
    void Disconnect() override;
    // The writer fails a job that makes no progress for `timeout` ms.
    LONG OutputTimeoutMs() const override { return OPOS_FOREVER; }

protected:
    // `problem`: why this device can reach no printer at all, or empty.
    explicit PortBackend(Settings settings, std::string problem = {});

    bool Reachable() const { return port_ && port_->Up(); }
    // Sends `setup`, then reads the status with `queries`; a printer that
    // does not answer them gives `silent`. One that sends no automatic
    // status by then is polled instead.
    HealthReport SetUp(const std::string& setup, std::span<const escpos::StatusQuery> queries, LONG silent);
    bool ReadStatus(std::span<const escpos::StatusQuery> queries);
    // Queues the bytes; `then` runs on the apartment once they are out or
    // have failed, unless this back end is gone by then.
    void WriteLater(std::string bytes, std::function<void(const transport::LinkStatus&)> then);
    void LinkChanged(bool up, bool answering) override;
    int StatusWaitMs() const;

    Settings settings_;
    std::string problem_;
    BackendEvents* events_ = nullptr;
    std::shared_ptr<PrinterPort> port_;
    bool connected_ = false;

private:
    void ChooseStatusSource();

    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

} // namespace zorv::opos::escpos_device
