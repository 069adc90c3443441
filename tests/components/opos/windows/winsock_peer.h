#pragma once
// A loopback listener and its accepted peer over Winsock, on a port the
// system picks, for the link tests of the Windows build.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <string>

#include "transport/link.h"

namespace windows_test {

class WinsockPeer {
public:
    // A receive buffer set here (bytes) is what the accepted peer gets.
    explicit WinsockPeer(int receiveBuffer = 0);
    ~WinsockPeer();
    WinsockPeer(const WinsockPeer&) = delete;
    WinsockPeer& operator=(const WinsockPeer&) = delete;

    unsigned short port() const { return port_; }
    zorv::opos::transport::Connection Connection() const;
    // Takes the link's connection; false when none came within a second.
    bool Accept();
    void Send(const std::string& bytes);
    // What came, until nothing more does for `quietMs`.
    std::string Received(int quietMs = 200);
    // The peer goes away, as a printer switched off.
    void Drop();
    void StopListening();

private:
    SOCKET listener_ = INVALID_SOCKET;
    SOCKET peer_ = INVALID_SOCKET;
    int receiveBuffer_ = 0;
    unsigned short port_ = 0;
};

} // namespace windows_test
