#include "scripted_peer.h"

#include <arpa/inet.h>
#include <chrono>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "platform/com/text.h"

namespace escpos_device_test {
namespace {

constexpr int kReceiveBuffer = 4096;
constexpr int kSliceMs = 20;

bool Readable(int fd) {
    pollfd p{fd, POLLIN, 0};
    return poll(&p, 1, kSliceMs) == 1;
}

} // namespace

ScriptedPeer::ScriptedPeer(Then then, std::string marker) : then_(then), marker_(std::move(marker)) {
    listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    setsockopt(listener_, SOL_SOCKET, SO_RCVBUF, &kReceiveBuffer, sizeof kReceiveBuffer);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    bind(listener_, reinterpret_cast<sockaddr*>(&address), length);
    listen(listener_, 4);
    getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Serve(); });
}

ScriptedPeer::~ScriptedPeer() {
    stop_ = true;
    thread_.join();
    close(listener_);
}

std::u16string ScriptedPeer::Connection() const {
    return u"tcp:127.0.0.1:" + zorv::com::Utf8ToUtf16(std::to_string(port_));
}

void ScriptedPeer::Serve() {
    int client = -1;
    bool reading = true;
    char buffer[65536];
    while (!stop_) {
        if (client < 0) {
            if (Readable(listener_)) {
                client = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
                reading = true;
                queryTail_.clear();
                markerTail_.clear();
            }
            continue;
        }
        if (!reading) {
            std::this_thread::sleep_for(std::chrono::milliseconds(kSliceMs));
            continue;
        }
        if (!Readable(client))
            continue;
        const ssize_t n = read(client, buffer, sizeof buffer);
        if (n <= 0) {
            close(client);
            client = -1;
            continue;
        }
        received_ += static_cast<size_t>(n);
        if (!Take(client, std::string_view(buffer, static_cast<size_t>(n))) || then_ == Then::KeepReading)
            continue;
        if (then_ == Then::StopReading) {
            reading = false;
            continue;
        }
        // A reset rather than an orderly close: the printer is gone at once.
        const linger abort{1, 0};
        setsockopt(client, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
        close(client);
        client = -1;
    }
    if (client >= 0)
        close(client);
}

bool ScriptedPeer::Take(int client, std::string_view bytes) {
    // A query split between two reads is still answered, once.
    const std::string window = queryTail_ + std::string(bytes);
    for (size_t i = 0; i + 2 < window.size(); ++i)
        if (window[i] == 0x10 && window[i + 1] == 0x04 && window[i + 2] >= 1 && window[i + 2] <= 4) {
            const char idle = 0x12;
            [[maybe_unused]] const ssize_t written = write(client, &idle, 1);
        }
    queryTail_ = window.substr(window.size() > 2 ? window.size() - 2 : 0);
    if (marker_.empty())
        return false;
    const std::string seen = markerTail_ + std::string(bytes);
    markerTail_ = seen.substr(seen.size() > marker_.size() ? seen.size() - marker_.size() : 0);
    return seen.find(marker_) != std::string::npos;
}

} // namespace escpos_device_test
