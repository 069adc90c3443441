#pragma once
// One printer's link, shared by the printer and the cash drawer on its kick
// port, counted by the objects that hold it connected. The link's reader
// thread posts what arrives into the apartment; status is decoded, kept and
// told to the listeners there. A dropped link is tried again in the
// background until the printer answers or nobody wants it any more.
#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "escpos/status_stream.h"
#include "escpos_device/settings.h"
#include "transport/link.h"

namespace zorv::opos::escpos_device {

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

    // Sends within the settings' timeout; a failed send drops the link.
    transport::LinkStatus Write(std::string_view bytes);
    // One real-time status query answered within the timeout, or none; the
    // answer is merged into Status() and told to the listeners.
    std::optional<uint8_t> Query(escpos::StatusQuery query, int timeoutMs);
    // The sensors as far as known.
    const escpos::PrinterStatus& Status() const { return status_; }
    // Every byte that arrives until the returned text is taken.
    std::string Capture(std::string_view bytes, int waitMs);
    // Noise dropped from the status stream, for the health text.
    int NoiseCount() const { return noise_; }
    const Settings& settings() const { return settings_; }
    void SetStatusBack(bool on) { statusBack_ = on; }

private:
    void StartReading();
    void Received(std::string received);
    void Lost(const transport::LinkStatus& status);
    void Restored(std::shared_ptr<transport::Link> link);
    void SetAnswering(bool answering);
    void Merge(const escpos::PrinterStatus& update);
    void StartReconnecting();
    void StopReconnecting();
    void ReconnectLoop();
    void Tell(const std::function<void(PortListener&)>& what);

    Settings settings_;
    std::shared_ptr<transport::Link> link_;
    int users_ = 0;
    bool answering_ = true;
    bool statusBack_ = false;
    std::vector<PortListener*> listeners_;
    escpos::StatusStream stream_;
    escpos::PrinterStatus status_;
    std::deque<std::pair<std::uint64_t, escpos::StatusQuery>> pending_;
    std::map<std::uint64_t, uint8_t> answers_;
    std::uint64_t lastQuery_ = 0;
    std::optional<std::string> capture_;
    int noise_ = 0;
    // Posted calls hold this weakly: they do nothing once the port is gone.
    std::shared_ptr<PrinterPort*> self_;
    std::mutex reconnectMutex_;
    std::condition_variable reconnectWake_;
    bool reconnectStop_ = false;
    std::thread reconnector_;
};

} // namespace zorv::opos::escpos_device
