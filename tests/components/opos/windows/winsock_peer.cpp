#include "winsock_peer.h"

namespace windows_test {

WinsockPeer::WinsockPeer(int receiveBuffer) : receiveBuffer_(receiveBuffer) {
    WSADATA data{};
    WSAStartup(MAKEWORD(2, 2), &data);
    listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (receiveBuffer > 0)
        setsockopt(listener_, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&receiveBuffer),
                   sizeof receiveBuffer);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    listen(listener_, 4);
    int length = sizeof address;
    getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
}

WinsockPeer::~WinsockPeer() {
    Drop();
    StopListening();
    WSACleanup();
}

zorv::opos::transport::Connection WinsockPeer::Connection() const {
    zorv::opos::transport::Connection c;
    c.host = "127.0.0.1";
    c.port = port_;
    return c;
}

bool WinsockPeer::Accept() {
    fd_set ready;
    FD_ZERO(&ready);
    FD_SET(listener_, &ready);
    timeval second{1, 0};
    if (select(0, &ready, nullptr, nullptr, &second) != 1)
        return false;
    peer_ = accept(listener_, nullptr, nullptr);
    if (peer_ != INVALID_SOCKET && receiveBuffer_ > 0)
        setsockopt(peer_, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&receiveBuffer_),
                   sizeof receiveBuffer_);
    return peer_ != INVALID_SOCKET;
}

void WinsockPeer::Send(const std::string& bytes) {
    send(peer_, bytes.data(), static_cast<int>(bytes.size()), 0);
}

std::string WinsockPeer::Received(int quietMs) {
    std::string got;
    char buffer[4096];
    for (;;) {
        fd_set ready;
        FD_ZERO(&ready);
        FD_SET(peer_, &ready);
        timeval quiet{quietMs / 1000, (quietMs % 1000) * 1000};
        if (select(0, &ready, nullptr, nullptr, &quiet) != 1)
            return got;
        const int n = recv(peer_, buffer, sizeof buffer, 0);
        if (n <= 0)
            return got;
        got.append(buffer, static_cast<size_t>(n));
    }
}

void WinsockPeer::Drop() {
    if (peer_ != INVALID_SOCKET)
        closesocket(peer_);
    peer_ = INVALID_SOCKET;
}

void WinsockPeer::StopListening() {
    if (listener_ != INVALID_SOCKET)
        closesocket(listener_);
    listener_ = INVALID_SOCKET;
}

} // namespace windows_test
