#pragma once
// A printer the test plays on a free loopback port: it answers every
// real-time status query (DLE EOT n) as an idle printer does, and each
// status transmission (GS r 1) in order, after a delay if asked; once a
// marker has arrived in the print data it either stops reading for good or
// drops the connection. Its receive buffer is small, so that a printer that
// stops reading soon fills the link. A flooding peer sends that many bytes
// of garbage as soon as a client connects.
#include <atomic>
#include <string>
#include <thread>

namespace escpos_device_test {

// What an idle printer answers to the queries in `bytes`: DLE EOT n and
// GS r 1, in order. `tail` keeps the end of the bytes before, so that a
// query split between two reads is still answered, once.
std::string IdleAnswers(std::string& tail, std::string_view bytes);

class ScriptedPeer {
public:
    enum class Then { KeepReading, StopReading, Close };

    explicit ScriptedPeer(Then then = Then::KeepReading, std::string marker = {});
    // How long the printer takes before it answers a status transmission.
    void SetTransmissionDelay(int ms) { transmissionDelayMs_ = ms; }
    void Flood(size_t bytes) { flood_ = bytes; }
    size_t Flooded() const { return flooded_; }
    ~ScriptedPeer();
    ScriptedPeer(const ScriptedPeer&) = delete;
    ScriptedPeer& operator=(const ScriptedPeer&) = delete;

    std::u16string Connection() const;
    // Bytes read so far, over every connection.
    size_t Received() const { return received_; }

private:
    void Serve();
    // Answers the queries in the new bytes; true once the marker came.
    bool Take(int client, std::string_view bytes);

    void SendFlood(int client);

    Then then_;
    std::atomic<int> transmissionDelayMs_{0};
    std::atomic<size_t> flood_{0};
    std::atomic<size_t> flooded_{0};
    std::string marker_;
    int listener_ = -1;
    int port_ = 0;
    std::string queryTail_;
    std::string markerTail_;
    std::atomic<bool> stop_{false};
    std::atomic<size_t> received_{0};
    std::thread thread_;
};

} // namespace escpos_device_test
