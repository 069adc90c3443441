#include "escpos_device/printer_port.h"

#include <chrono>

#include "escpos/commands.h"
#include "platform/com/apartment.h"

namespace zorv::opos::escpos_device {
namespace {

constexpr auto kReconnectEvery = std::chrono::milliseconds(500);

std::map<std::string, std::weak_ptr<PrinterPort>>& Ports() {
    static std::map<std::string, std::weak_ptr<PrinterPort>> ports;
    return ports;
}

} // namespace

std::shared_ptr<PrinterPort> PrinterPort::Get(const Settings& settings) {
    const std::string key = transport::ConnectionText(settings.connection);
    std::weak_ptr<PrinterPort>& slot = Ports()[key];
    std::shared_ptr<PrinterPort> port = slot.lock();
    if (!port) {
        port = std::make_shared<PrinterPort>(settings);
        slot = port;
    }
    std::erase_if(Ports(), [](const auto& entry) { return entry.second.expired(); });
    return port;
}

PrinterPort::PrinterPort(const Settings& settings)
    : settings_(settings), statusBack_(settings.statusBack), self_(std::make_shared<PrinterPort*>(this)) {}

PrinterPort::~PrinterPort() {
    StopReconnecting();
    link_.reset();
}

void PrinterPort::Listen(PortListener* listener) {
    listeners_.push_back(listener);
}

void PrinterPort::Forget(PortListener* listener) {
    std::erase(listeners_, listener);
}

void PrinterPort::Tell(const std::function<void(PortListener&)>& what) {
    for (PortListener* listener : std::vector<PortListener*>(listeners_))
        what(*listener);
}

transport::LinkStatus PrinterPort::Connect() {
    if (link_) {
        ++users_;
        return {};
    }
    transport::LinkStatus status;
    link_ = transport::Link::Open(settings_.connection, settings_.timeoutMs, status);
    if (!link_)
        return status;
    ++users_;
    StartReading();
    return {};
}

void PrinterPort::Disconnect() {
    if (users_ == 0 || --users_ > 0)
        return;
    StopReconnecting();
    link_.reset();
    pending_.clear();
    stream_.Reset();
}

// The reader thread only posts; everything else happens on the apartment.
void PrinterPort::StartReading() {
    std::weak_ptr<PrinterPort*> alive = self_;
    link_->StartReader(
        [alive](std::string_view bytes) {
            com::PostCall([alive, bytes = std::string(bytes)]() mutable {
                if (const auto self = alive.lock())
                    (*self)->Received(std::move(bytes));
            });
        },
        [alive](const transport::LinkStatus& status) {
            com::PostCall([alive, status] {
                if (const auto self = alive.lock())
                    (*self)->Lost(status);
            });
        });
}

void PrinterPort::Received(std::string received) {
    if (capture_)
        *capture_ += received;
    escpos::PrinterStatus update;
    for (const escpos::StatusReport& report : stream_.Feed(received)) {
        switch (report.kind) {
        case escpos::StatusReport::Kind::RealTime: {
            if (pending_.empty()) {
                ++noise_;
                break;
            }
            const auto [serial, query] = pending_.front();
            pending_.pop_front();
            const escpos::DecodedStatus decoded = escpos::DecodeRealTimeStatus(query, report.byte);
            if (!decoded.ok()) {
                ++noise_;
                break;
            }
            answers_[serial] = report.byte;
            update.Merge(decoded.status);
            break;
        }
        case escpos::StatusReport::Kind::Automatic:
            update.Merge(report.status);
            break;
        case escpos::StatusReport::Kind::Noise:
            ++noise_;
            break;
        }
    }
    escpos::PrinterStatus merged = status_;
    merged.Merge(update);
    if (!(update == escpos::PrinterStatus{}))
        SetAnswering(true);
    if (!(merged == status_)) {
        status_ = merged;
        Tell([&](PortListener& listener) { listener.StatusChanged(status_); });
    }
}

void PrinterPort::SetAnswering(bool answering) {
    if (answering_ == answering)
        return;
    answering_ = answering;
    Tell([&](PortListener& listener) { listener.LinkChanged(Up(), answering_); });
}

std::optional<uint8_t> PrinterPort::Query(escpos::StatusQuery query, int timeoutMs) {
    if (!link_)
        return std::nullopt;
    const std::uint64_t serial = ++lastQuery_;
    pending_.emplace_back(serial, query);
    if (!Write(escpos::RealTimeStatus(query)).ok())
        return std::nullopt;
    com::WaitPumping([&] { return answers_.contains(serial) || !link_; },
                     std::chrono::milliseconds(timeoutMs));
    const auto found = answers_.find(serial);
    if (found == answers_.end()) {
        // An answer that comes later would be taken for the next query's.
        pending_.clear();
        if (link_)
            SetAnswering(false);
        return std::nullopt;
    }
    const uint8_t byte = found->second;
    answers_.erase(found);
    return byte;
}

std::string PrinterPort::Capture(std::string_view bytes, int waitMs) {
    capture_.emplace();
    if (Write(bytes).ok() && waitMs > 0)
        com::WaitPumping([] { return false; }, std::chrono::milliseconds(waitMs));
    std::string captured = std::move(*capture_);
    capture_.reset();
    return captured;
}

transport::LinkStatus PrinterPort::Write(std::string_view bytes) {
    if (!link_)
        return {transport::Failure::Closed, settings_.connectionText + ": not connected"};
    const transport::IoResult sent = link_->Send(bytes, settings_.timeoutMs);
    if (!sent.status.ok() && sent.status.failure != transport::Failure::TimedOut)
        Lost(sent.status);
    return sent.status;
}

void PrinterPort::Lost(const transport::LinkStatus&) {
    if (!link_)
        return;
    link_.reset();
    pending_.clear();
    stream_.Reset();
    Tell([&](PortListener& listener) { listener.LinkChanged(false, false); });
    if (users_ > 0)
        StartReconnecting();
}

void PrinterPort::Restored(std::shared_ptr<transport::Link> link) {
    StopReconnecting();
    if (users_ == 0 || link_)
        return;
    link_ = std::move(link);
    answering_ = true;
    StartReading();
    if (statusBack_)
        Write(escpos::AutomaticStatusBack(escpos::kAsbAll));
    Tell([&](PortListener& listener) { listener.LinkChanged(true, true); });
}

void PrinterPort::StartReconnecting() {
    StopReconnecting();
    reconnectStop_ = false;
    reconnector_ = std::thread([this] { ReconnectLoop(); });
}

void PrinterPort::StopReconnecting() {
    {
        std::lock_guard lock(reconnectMutex_);
        reconnectStop_ = true;
    }
    reconnectWake_.notify_all();
    if (reconnector_.joinable() && reconnector_.get_id() != std::this_thread::get_id())
        reconnector_.join();
}

// Its own thread: opening may wait for a whole timeout.
void PrinterPort::ReconnectLoop() {
    const transport::Connection connection = settings_.connection;
    const int timeoutMs = std::min(settings_.timeoutMs, 1000);
    std::weak_ptr<PrinterPort*> alive = self_;
    for (;;) {
        {
            std::unique_lock lock(reconnectMutex_);
            if (reconnectWake_.wait_for(lock, kReconnectEvery, [this] { return reconnectStop_; }))
                return;
        }
        transport::LinkStatus status;
        std::shared_ptr<transport::Link> link = transport::Link::Open(connection, timeoutMs, status);
        if (!link)
            continue;
        com::PostCall([alive, link] {
            if (const auto self = alive.lock())
                (*self)->Restored(link);
        });
        return;
    }
}

} // namespace zorv::opos::escpos_device
