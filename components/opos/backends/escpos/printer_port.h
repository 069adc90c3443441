#pragma once
// One printer's link, shared by the printer and the cash drawer on its kick
// port, counted by the objects that hold it connected. Bytes go out on the
// link's writer thread, so a printer that stops reading never holds up the
// apartment; what arrives is posted into the apartment by the link's reader
// thread, where status is decoded, kept and told to the listeners. A
// printer that sends no status of its own is asked on the writer's thread
// at a steady interval. A dropped link is tried again in the background
// until the printer answers or nobody wants it any more.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "protocols/escpos/status_stream.h"
#include "backends/escpos/settings.h"
#include "transport/link.h"
#include "transport/link_writer.h"

namespace zorv::opos::escpos_device {

class Started;

class PortListener {
public:
    virtual void StatusChanged(const escpos::PrinterStatus& status) = 0;
    // The link came up or went (up false), or the printer stopped
    // answering (answering false) while the link stays.
    virtual void LinkChanged(bool up, bool answering) = 0;

protected:
    ~PortListener() = default;
};

class PrinterPort {
public:
    using Written = std::function<void(const transport::LinkStatus&)>;

    // The port of that connection, shared while anyone holds it.
    static std::shared_ptr<PrinterPort> Get(const Settings& settings);
    explicit PrinterPort(const Settings& settings);
    ~PrinterPort();
    PrinterPort(const PrinterPort&) = delete;
    PrinterPort& operator=(const PrinterPort&) = delete;

    void Listen(PortListener* listener);
    void Forget(PortListener* listener);

    // Counted: the first opens the link, the last lets it go. The text
    // says why it could not, and the failure which code that is.
    transport::LinkStatus Connect();
    void Disconnect();
    bool Up() const { return link_ != nullptr; }
    bool Answering() const { return answering_; }

    // Queues the bytes for the writer thread; `written` runs on the
    // apartment once they are out or have failed, in the order queued. A
    // send fails when the printer takes nothing for the settings' timeout;
    // a link that breaks is dropped (and what waits behind it cancelled).
    // `sending` runs on the writer's thread as the bytes start going out.
    void WriteLater(std::string bytes, Written written, std::function<void()> sending = {});
    // The same, waiting while the apartment runs until the bytes are out;
    // its time starts when they start going out.
    transport::LinkStatus Write(std::string_view bytes);
    // One real-time status query, sent ahead of queued output (though after
    // the job going out) and answered within the timeout, or none; the answer is merged into Status() and
    // told to the listeners.
    std::optional<uint8_t> Query(escpos::StatusQuery query, int timeoutMs);
    // The sensors as far as known.
    const escpos::PrinterStatus& Status() const { return status_; }
    // Whether an automatic status report came since the link was made.
    bool StatusBackSeen() const { return statusBackSeen_; }
    // Polling asks the printer, offline-cause and paper status every
    // status_poll ms; an unanswered round makes the printer not answering.
    void SetPolling(bool on) { polling_ = on; }
    bool Polling() const { return polling_; }
    // Every byte that arrives until the returned text is taken.
    std::string Capture(std::string_view bytes, int waitMs);
    // Noise dropped from the status stream, for the health text.
    int NoiseCount() const { return noise_; }
    const Settings& settings() const { return settings_; }

private:
    using Clock = std::chrono::steady_clock;
    // A query on the wire, in the order sent; serial 0 is a poll nobody waits for.
    struct Asked {
        std::uint64_t serial;
        escpos::StatusQuery query;
        Clock::time_point sent;
    };

    void StartLink(std::shared_ptr<transport::Link> link);
    void StopLink();
    void StartReading();
    // `started`, if any, learns when the query went out.
    transport::WriteJob QueryJob(std::uint64_t serial, escpos::StatusQuery query,
                                 std::shared_ptr<Started> started);
    std::function<void(const transport::IoResult&)> Done(std::uint64_t id);
    void Sent(std::uint64_t id, const transport::IoResult& result);
    std::vector<transport::WriteJob> PollJobs();
    std::optional<Asked> TakeAsked();
    void Received(std::string received);
    void Lost(const transport::LinkStatus& status);
    void Restored(std::shared_ptr<transport::Link> link);
    void SetAnswering(bool answering);
    void StartReconnecting();
    void StopReconnecting();
    void ReconnectLoop();
    void Tell(const std::function<void(PortListener&)>& what);
    int AnswerWaitMs() const;

    Settings settings_;
    std::shared_ptr<transport::Link> link_;
    std::unique_ptr<transport::LinkWriter> writer_;
    int users_ = 0;
    bool answering_ = true;
    bool statusBack_ = false;
    bool statusBackSeen_ = false;
    std::vector<PortListener*> listeners_;
    escpos::StatusStream stream_;
    escpos::PrinterStatus status_;
    std::map<std::uint64_t, Written> written_;
    std::uint64_t lastWrite_ = 0;
    std::map<std::uint64_t, uint8_t> answers_;
    std::uint64_t lastQuery_ = 0;
    std::optional<std::string> capture_;
    int noise_ = 0;
    // The writer's thread registers queries as they go out and polls.
    std::mutex askedMutex_;
    std::deque<Asked> asked_;
    std::atomic<bool> polling_{false};
    std::atomic<bool> capturing_{false};
    // Posted calls hold this weakly: they do nothing once the port is gone.
    std::shared_ptr<PrinterPort*> self_;
    std::mutex reconnectMutex_;
    std::condition_variable reconnectWake_;
    bool reconnectStop_ = false;
    std::thread reconnector_;
};

} // namespace zorv::opos::escpos_device
