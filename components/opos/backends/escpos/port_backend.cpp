#include "backends/escpos/port_backend.h"

#include <algorithm>

#include "backends/escpos/escpos_codes.h"
#include "platform/com/apartment.h"
#include "platform/com/text.h"

namespace zorv::opos::escpos_device {
namespace {

constexpr int kStatusWaitMs = 1000;

std::u16string Wide(const std::string& text) {
    return com::Utf8ToUtf16(text);
}

} // namespace

PortBackend::PortBackend(Settings settings, std::string problem)
    : settings_(std::move(settings)), problem_(std::move(problem)) {}

PortBackend::~PortBackend() {
    if (!port_)
        return;
    port_->Forget(this);
    if (connected_)
        port_->Disconnect();
}

void PortBackend::Start(BackendEvents& events) {
    events_ = &events;
    if (!problem_.empty())
        return;
    port_ = PrinterPort::Get(settings_);
    port_->Listen(this);
}

HealthReport PortBackend::Connect() {
    if (!port_)
        return {OPOS_E_NOHARDWARE, Wide(problem_)};
    if (connected_)
        return {};
    const transport::LinkStatus status = port_->Connect();
    if (!status.ok())
        return {LinkFailureCode(status.failure), Wide(status.text)};
    connected_ = true;
    events_->PowerChanged(OPOS_PS_ONLINE);
    return {};
}

void PortBackend::Disconnect() {
    if (!connected_)
        return;
    connected_ = false;
    port_->Disconnect();
}

int PortBackend::StatusWaitMs() const {
    return std::min(settings_.timeoutMs, kStatusWaitMs);
}

HealthReport PortBackend::SetUp(const std::string& setup, std::span<const escpos::StatusQuery> queries,
                                LONG silent) {
    if (!Reachable())
        return {OPOS_E_NOHARDWARE, Wide(settings_.connectionText) + u": not connected"};
    if (!setup.empty())
        if (const transport::LinkStatus sent = port_->Write(setup); !sent.ok())
            return {LinkFailureCode(sent.failure), Wide(sent.text)};
    if (!ReadStatus(queries)) {
        // Polled until it answers: that is how its return is noticed.
        port_->SetPolling(true);
        return {silent, Wide(settings_.connectionText) + u": the printer does not answer status queries"};
    }
    // The port tells changes only: a device enabled after the other one
    // learns here what the sensors already say (no event while enabling).
    StatusChanged(port_->Status());
    ChooseStatusSource();
    return {};
}

bool PortBackend::ReadStatus(std::span<const escpos::StatusQuery> queries) {
    for (escpos::StatusQuery query : queries)
        if (!port_->Query(query, StatusWaitMs()))
            return false;
    return true;
}

// A printer that takes GS a sends its first report at once; one that has
// sent none by the time its status was read, and a moment after, does not
// implement it and is polled.
void PortBackend::ChooseStatusSource() {
    if (settings_.statusBack && !port_->StatusBackSeen())
        com::WaitPumping([this] { return !Reachable() || port_->StatusBackSeen(); },
                         std::chrono::milliseconds(StatusWaitMs()));
    if (Reachable())
        port_->SetPolling(!settings_.statusBack || !port_->StatusBackSeen());
}

void PortBackend::WriteLater(std::string bytes, std::function<void(const transport::LinkStatus&)> then) {
    std::weak_ptr<bool> alive = alive_;
    port_->WriteLater(std::move(bytes), [alive, then = std::move(then)](const transport::LinkStatus& status) {
        if (alive.lock())
            then(status);
    });
}

void PortBackend::LinkChanged(bool up, bool answering) {
    if (connected_)
        events_->PowerChanged(!up ? OPOS_PS_OFF_OFFLINE : answering ? OPOS_PS_ONLINE : OPOS_PS_OFFLINE);
}

} // namespace zorv::opos::escpos_device
