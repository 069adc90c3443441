#pragma once
// A loopback listener on a port the system picks, for the TCP link tests.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "transport/link.h"

namespace transport_test {

using zorv::opos::transport::Connection;
using zorv::opos::transport::Scheme;

class Listener {
public:
    // A receive buffer set here (bytes) is what each accepted peer gets.
    explicit Listener(int backlog = 4, int receiveBuffer = 0) {
        fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (receiveBuffer > 0)
            setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        listen(fd_, backlog);
        socklen_t length = sizeof address;
        getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
    }
    ~Listener() { Stop(); }
    void Stop() {
        if (fd_ >= 0)
            close(fd_);
        fd_ = -1;
    }
    uint16_t port() const { return port_; }
    // An accepted peer, or -1 after a second.
    int Accept() {
        pollfd p{fd_, POLLIN, 0};
        if (poll(&p, 1, 1000) != 1)
            return -1;
        return accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
    }

private:
    int fd_ = -1;
    uint16_t port_ = 0;
};

inline Connection Tcp(uint16_t port) {
    Connection c;
    c.scheme = Scheme::Tcp;
    c.host = "127.0.0.1";
    c.port = port;
    return c;
}

} // namespace transport_test
