#pragma once
// A printer the test plays on a free loopback port: it answers every
// real-time status query (DLE EOT n) as an idle printer does, and once a
// marker has arrived in the print data it either stops reading for good or
// drops the connection. Its receive buffer is small, so that a printer that
// stops reading soon fills the link.
#include <atomic>
#include <string>
#include <thread>

namespace escpos_device_test {

class ScriptedPeer {
public:
    enum class Then { KeepReading, StopReading, Close };

    explicit ScriptedPeer(Then then = Then::KeepReading, std::string marker = {});
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

    Then then_;
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
