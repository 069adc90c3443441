#include <windows.h>
#include <winsock2.h>
#include <ws2tcpip.h>

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "transport/numeric_address.h"
#include "transport/win/link_open_win.h"
#include "transport/win/system_error_win.h"

namespace zorv::opos::transport {
namespace {

std::string Where(const Connection& c) {
    return c.host + ":" + std::to_string(c.port);
}

// Winsock does not tell how much of a job its send buffer still holds, so
// the buffer is kept small: a printer's progress then shows as the send
// going on, not as megabytes that left at once and wait unseen.
constexpr int kSendBuffer = 32 * 1024;

void SetSocketOptions(SOCKET s) {
    const BOOL on = TRUE;
    // Status queries are a few bytes that must not wait for more to batch up.
    setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on);
    setsockopt(s, SOL_SOCKET, SO_KEEPALIVE, reinterpret_cast<const char*>(&on), sizeof on);
    setsockopt(s, SOL_SOCKET, SO_SNDBUF, reinterpret_cast<const char*>(&kSendBuffer), sizeof kSendBuffer);
}

// Waits for a connect in progress: the socket turns writable once
// connected, or shows in the exception set when the attempt failed.
int WaitConnected(SOCKET s, int timeoutMs) {
    fd_set writable, failed;
    FD_ZERO(&writable);
    FD_ZERO(&failed);
    FD_SET(s, &writable);
    FD_SET(s, &failed);
    timeval limit{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    const int ready = select(0, nullptr, &writable, &failed, &limit);
    if (ready == 0)
        return WSAETIMEDOUT;
    if (ready == SOCKET_ERROR)
        return WSAGetLastError();
    int error = 0;
    int length = sizeof error;
    if (getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length) != 0)
        return WSAGetLastError();
    return error;
}

// One attempt; -1 with the reason on failure.
NativeLink Connect(const Address& address, int timeoutMs, const std::string& where, LinkStatus& status) {
    const auto* target = reinterpret_cast<const sockaddr*>(address.storage.data());
    const SOCKET s = socket(target->sa_family, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) {
        status = SystemErrorStatus(WSAGetLastError(), where);
        return -1;
    }
    SetHandleInformation(reinterpret_cast<HANDLE>(s), HANDLE_FLAG_INHERIT, 0);
    u_long nonBlocking = 1;
    int error = ioctlsocket(s, FIONBIO, &nonBlocking) == 0 ? 0 : WSAGetLastError();
    if (error == 0 && connect(s, target, static_cast<int>(address.length)) != 0) {
        error = WSAGetLastError();
        if (error == WSAEWOULDBLOCK)
            error = WaitConnected(s, timeoutMs);
    }
    if (error != 0) {
        closesocket(s);
        status = error == WSAETIMEDOUT
                     ? LinkStatus{Failure::TimedOut,
                                  "no answer from " + where + " within " + std::to_string(timeoutMs) + " ms"}
                     : SystemErrorStatus(error, where);
        return -1;
    }
    SetSocketOptions(s);
    return static_cast<NativeLink>(s);
}

} // namespace

bool StartWinsock(LinkStatus& status) {
    static const int started = [] {
        WSADATA data{};
        return WSAStartup(MAKEWORD(2, 2), &data);
    }();
    if (started != 0)
        status = SystemErrorStatus(static_cast<unsigned long>(started), "Winsock");
    return started == 0;
}

// getaddrinfo cannot be given a timeout, so it runs on its own thread; one
// that is still looking when the time is up is left to finish on its own.
Resolved SystemResolve(const std::string& host, uint16_t port, int timeoutMs) {
    struct Lookup {
        std::mutex mutex;
        std::condition_variable done;
        bool finished = false;
        Resolved result;
    };
    Resolved failed;
    if (!StartWinsock(failed.status))
        return failed;
    auto lookup = std::make_shared<Lookup>();
    std::thread([lookup, host, port] {
        addrinfo hints{};
        hints.ai_socktype = SOCK_STREAM;
        addrinfo* list = nullptr;
        const int rc = getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &list);
        Resolved result;
        if (rc != 0)
            result.status = SystemErrorStatus(static_cast<unsigned long>(rc), "cannot resolve " + host);
        for (addrinfo* a = list; a != nullptr; a = a->ai_next) {
            if (a->ai_addrlen > Address::kLargest)
                continue;
            Address address;
            std::memcpy(address.storage.data(), a->ai_addr, a->ai_addrlen);
            address.length = static_cast<std::uint32_t>(a->ai_addrlen);
            result.addresses.push_back(address);
        }
        if (list != nullptr)
            freeaddrinfo(list);
        std::lock_guard lock(lookup->mutex);
        lookup->result = std::move(result);
        lookup->finished = true;
        lookup->done.notify_all();
    }).detach();
    std::unique_lock lock(lookup->mutex);
    if (!lookup->done.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return lookup->finished; }))
        return {{},
                {Failure::TimedOut,
                 "looking up " + host + " took more than " + std::to_string(timeoutMs) + " ms"}};
    return lookup->result;
}

NativeLink OpenTcp(const Connection& connection, int timeoutMs, const Resolver& resolver,
                   LinkStatus& status) {
    if (!StartWinsock(status))
        return -1;
    const std::string where = Where(connection);
    Resolved resolved;
    if (const auto numeric = NumericAddress(connection.host, connection.port))
        resolved.addresses.push_back(*numeric);
    else
        resolved = resolver(connection.host, connection.port, timeoutMs);
    if (!resolved.status.ok()) {
        status = resolved.status;
        return -1;
    }
    if (resolved.addresses.empty()) {
        status = {Failure::NameNotFound, "cannot resolve " + connection.host + ": no address"};
        return -1;
    }
    for (const Address& address : resolved.addresses) {
        const NativeLink s = Connect(address, timeoutMs, where, status);
        if (s != -1)
            return s;
    }
    return -1;
}

} // namespace zorv::opos::transport
