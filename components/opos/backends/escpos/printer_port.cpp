#include "backends/escpos/printer_port.h"

#include <algorithm>

#include "protocols/escpos/commands.h"
#include "platform/com/apartment.h"

namespace zorv::opos::escpos_device {
namespace {

constexpr auto kReconnectEvery = std::chrono::milliseconds(500);
// A status answer takes a round trip; a second is plenty on any link.
constexpr int kLongestAnswerWaitMs = 1000;
// What a poll asks: the drawer, the cover and the paper.
constexpr escpos::StatusQuery kPolled[] = {escpos::StatusQuery::Printer, escpos::StatusQuery::OfflineCause,
                                           escpos::StatusQuery::PaperSensor};

// Output queued ahead of a write or a query may take this long on a slow
// line before theirs goes out; their own time starts then.
constexpr auto kLongestQueueWait = std::chrono::seconds(60);

using Clock = std::chrono::steady_clock;

std::map<std::string, std::weak_ptr<PrinterPort>>& Ports() {
    static std::map<std::string, std::weak_ptr<PrinterPort>> ports;
    return ports;
}

transport::LinkStatus NotConnected(const Settings& settings) {
    return {transport::Failure::Closed, settings.connectionText + ": not connected"};
}

} // namespace

// When a job went out: set on the writer's thread, read on the apartment.
class Started {
public:
    void Now() { at_ = Clock::now().time_since_epoch().count(); }
    bool Overdue(Clock::time_point queued, std::chrono::milliseconds allowed) const {
        const Clock::rep at = at_;
        if (at == 0)
            return Clock::now() - queued > kLongestQueueWait;
        return Clock::now() - Clock::time_point(Clock::duration(at)) > allowed;
    }

private:
    std::atomic<Clock::rep> at_{0};
};

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
    : settings_(settings), statusBack_(settings.statusBack), polling_(!settings.statusBack),
      self_(std::make_shared<PrinterPort*>(this)) {}

PrinterPort::~PrinterPort() {
    StopReconnecting();
    StopLink();
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

int PrinterPort::AnswerWaitMs() const {
    return std::min(settings_.timeoutMs, kLongestAnswerWaitMs);
}

namespace {

// A link being opened on a thread of its own: a host that does not answer
// takes up to the connect timeout, which the apartment spends running.
struct Opening {
    std::mutex mutex;
    bool done = false;
    std::shared_ptr<transport::Link> link;
    transport::LinkStatus status;
};

std::shared_ptr<transport::Link> OpenWhileRunning(const transport::Connection& connection, int timeoutMs,
                                                  transport::LinkStatus& status) {
    const auto opening = std::make_shared<Opening>();
    std::thread([opening, connection, timeoutMs] {
        transport::LinkStatus opened;
        std::shared_ptr<transport::Link> link = transport::Link::Open(connection, timeoutMs, opened);
        {
            std::lock_guard lock(opening->mutex);
            opening->link = std::move(link);
            opening->status = std::move(opened);
            opening->done = true;
        }
        com::PostCall([] {}); // wakes the wait below
    }).detach();
    const bool done = com::WaitPumping(
        [&] {
            std::lock_guard lock(opening->mutex);
            return opening->done;
        },
        std::chrono::milliseconds(timeoutMs + 1000));
    std::lock_guard lock(opening->mutex);
    if (!done) {
        status = {transport::Failure::TimedOut, "no answer in time"};
        return nullptr;
    }
    status = opening->status;
    return opening->link;
}

} // namespace

transport::LinkStatus PrinterPort::Connect() {
    if (link_) {
        ++users_;
        return {};
    }
    transport::LinkStatus status;
    std::shared_ptr<transport::Link> link =
        OpenWhileRunning(settings_.connection, settings_.timeoutMs, status);
    if (link_) { // another device on this port connected meanwhile
        ++users_;
        return {};
    }
    if (!link)
        return status;
    ++users_;
    StartLink(std::move(link));
    return {};
}

void PrinterPort::Disconnect() {
    if (users_ == 0 || --users_ > 0)
        return;
    StopReconnecting();
    StopLink();
}

void PrinterPort::StartLink(std::shared_ptr<transport::Link> link) {
    link_ = std::move(link);
    answering_ = true;
    statusBackSeen_ = false;
    StartReading();
    writer_ = std::make_unique<transport::LinkWriter>(*link_, settings_.timeoutMs,
                                                      std::chrono::milliseconds(settings_.statusPollMs),
                                                      [this] { return PollJobs(); });
}

// The writer goes first: it may be inside a send on the link. What it had
// queued is told as cancelled through posted calls.
void PrinterPort::StopLink() {
    if (writer_)
        writer_->Stop();
    writer_.reset();
    link_.reset();
    {
        std::lock_guard lock(askedMutex_);
        asked_.clear();
    }
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

// Runs on the writer's thread; only failures and awaited jobs are posted.
std::function<void(const transport::IoResult&)> PrinterPort::Done(std::uint64_t id) {
    std::weak_ptr<PrinterPort*> alive = self_;
    return [alive, id](const transport::IoResult& result) {
        if (id == 0 && result.status.ok())
            return;
        com::PostCall([alive, id, result] {
            if (const auto self = alive.lock())
                (*self)->Sent(id, result);
        });
    };
}

void PrinterPort::Sent(std::uint64_t id, const transport::IoResult& result) {
    Written written;
    if (const auto found = written_.find(id); found != written_.end()) {
        written = std::move(found->second);
        written_.erase(found);
    }
    const transport::Failure failure = result.status.failure;
    if (!result.status.ok() && failure != transport::Failure::TimedOut &&
        failure != transport::Failure::Cancelled)
        Lost(result.status);
    if (written)
        written(result.status);
}

void PrinterPort::WriteLater(std::string bytes, Written written, std::function<void()> sending) {
    if (!writer_) {
        written(NotConnected(settings_));
        return;
    }
    const std::uint64_t id = ++lastWrite_;
    written_[id] = std::move(written);
    writer_->Enqueue({std::move(bytes), std::move(sending), Done(id)});
}

// The writer ends every job within the timeout of no progress; this wait
// only guards against a writer that never answers, allowing a slow line
// (about a millisecond a byte) the time it needs once the bytes go out.
transport::LinkStatus PrinterPort::Write(std::string_view bytes) {
    const auto outcome = std::make_shared<std::optional<transport::LinkStatus>>();
    const auto started = std::make_shared<Started>();
    WriteLater(
        std::string(bytes), [outcome](const transport::LinkStatus& status) { *outcome = status; },
        [started] { started->Now(); });
    const auto queued = Clock::now();
    const auto allowed = std::chrono::milliseconds(settings_.timeoutMs + static_cast<int64_t>(bytes.size()));
    com::WaitPumping([&] { return outcome->has_value() || started->Overdue(queued, allowed); },
                     kLongestQueueWait + allowed);
    if (*outcome)
        return **outcome;
    return {transport::Failure::TimedOut, settings_.connectionText + ": the printer took too long over " +
                                              std::to_string(bytes.size()) + " bytes"};
}

// A query is registered as it goes out, so that the order of the
// registrations is the order of the answers.
transport::WriteJob PrinterPort::QueryJob(std::uint64_t serial, escpos::StatusQuery query,
                                          std::shared_ptr<Started> started) {
    return {escpos::RealTimeStatus(query),
            [this, serial, query, started] {
                std::lock_guard lock(askedMutex_);
                asked_.push_back({serial, query, Clock::now()});
                if (started)
                    started->Now();
            },
            Done(0)};
}

// The writer's tick. A round still unanswered after the answer wait means
// the printer stopped answering; the next round goes out at once, so that
// its return is seen as soon as it answers again.
std::vector<transport::WriteJob> PrinterPort::PollJobs() {
    std::vector<transport::WriteJob> jobs;
    if (!polling_ || capturing_)
        return jobs;
    {
        std::lock_guard lock(askedMutex_);
        if (!asked_.empty()) {
            if (Clock::now() - asked_.front().sent < std::chrono::milliseconds(AnswerWaitMs()))
                return jobs;
            asked_.clear();
            std::weak_ptr<PrinterPort*> alive = self_;
            com::PostCall([alive] {
                if (const auto self = alive.lock(); self && (*self)->link_)
                    (*self)->SetAnswering(false);
            });
        }
    }
    for (escpos::StatusQuery query : kPolled)
        jobs.push_back(QueryJob(0, query, nullptr));
    return jobs;
}

std::optional<PrinterPort::Asked> PrinterPort::TakeAsked() {
    std::lock_guard lock(askedMutex_);
    if (asked_.empty())
        return std::nullopt;
    const Asked asked = asked_.front();
    asked_.pop_front();
    return asked;
}

void PrinterPort::Received(std::string received) {
    if (capture_)
        *capture_ += received;
    escpos::PrinterStatus update;
    for (const escpos::StatusReport& report : stream_.Feed(received)) {
        switch (report.kind) {
        case escpos::StatusReport::Kind::RealTime: {
            const std::optional<Asked> asked = TakeAsked();
            if (!asked) {
                ++noise_;
                break;
            }
            const escpos::DecodedStatus decoded = escpos::DecodeRealTimeStatus(asked->query, report.byte);
            if (!decoded.ok()) {
                ++noise_;
                break;
            }
            if (asked->serial != 0)
                answers_[asked->serial] = report.byte;
            update.Merge(decoded.status);
            break;
        }
        case escpos::StatusReport::Kind::Automatic:
            statusBackSeen_ = true;
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
    if (!writer_)
        return std::nullopt;
    const std::uint64_t serial = ++lastQuery_;
    const auto started = std::make_shared<Started>();
    writer_->Enqueue(QueryJob(serial, query, started), true);
    const auto queued = Clock::now();
    const auto allowed = std::chrono::milliseconds(timeoutMs);
    com::WaitPumping([&] { return answers_.contains(serial) || !link_ || started->Overdue(queued, allowed); },
                     kLongestQueueWait + allowed);
    const auto found = answers_.find(serial);
    if (found == answers_.end()) {
        // An answer that comes later would be taken for the next query's.
        {
            std::lock_guard lock(askedMutex_);
            asked_.clear();
        }
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
    capturing_ = true;
    if (Write(bytes).ok() && waitMs > 0)
        com::WaitPumping([] { return false; }, std::chrono::milliseconds(waitMs));
    capturing_ = false;
    std::string captured = std::move(*capture_);
    capture_.reset();
    return captured;
}

void PrinterPort::Lost(const transport::LinkStatus&) {
    if (!link_)
        return;
    StopLink();
    Tell([&](PortListener& listener) { listener.LinkChanged(false, false); });
    if (users_ > 0)
        StartReconnecting();
}

void PrinterPort::Restored(std::shared_ptr<transport::Link> link) {
    StopReconnecting();
    if (users_ == 0 || link_)
        return;
    StartLink(std::move(link));
    if (statusBack_)
        WriteLater(escpos::AutomaticStatusBack(escpos::kAsbAll), [](const transport::LinkStatus&) {});
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
