#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <optional>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

#include "transport/link_open.h"
#include "transport/numeric_address.h"

namespace zorv::opos::transport {
namespace {

std::string Where(const Connection& c) {
    return c.host + ":" + std::to_string(c.port);
}

void SetSocketOptions(int fd) {
    const int on = 1;
    // Status queries are a few bytes that must not wait for more to batch up.
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    setsockopt(fd, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on);
}

// One attempt; -1 with the reason on failure.
int Connect(const Address& address, int timeoutMs, const std::string& where, LinkStatus& status) {
    const auto* target = reinterpret_cast<const sockaddr*>(address.storage.data());
    const int fd = socket(target->sa_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        status = ErrnoStatus(errno, where);
        return -1;
    }
    int error = 0;
    if (connect(fd, target, address.length) != 0) {
        error = errno;
        if (error == EINPROGRESS) {
            pollfd p{fd, POLLOUT, 0};
            const int ready = poll(&p, 1, timeoutMs);
            socklen_t length = sizeof error;
            if (ready == 0)
                error = ETIMEDOUT;
            else if (ready < 0)
                error = errno;
            else if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0)
                error = errno;
        }
    }
    if (error != 0) {
        close(fd);
        status = error == ETIMEDOUT ? LinkStatus{Failure::TimedOut, "no answer from " + where + " within " +
                                                                        std::to_string(timeoutMs) + " ms"}
                                    : ErrnoStatus(error, where);
        return -1;
    }
    SetSocketOptions(fd);
    return fd;
}

} // namespace

// getaddrinfo cannot be given a timeout, so it runs on its own thread; one
// that is still looking when the time is up is left to finish on its own.
Resolved SystemResolve(const std::string& host, uint16_t port, int timeoutMs) {
    struct Lookup {
        std::mutex mutex;
        std::condition_variable done;
        bool finished = false;
        Resolved result;
    };
    auto lookup = std::make_shared<Lookup>();
    std::thread([lookup, host, port] {
        addrinfo hints{};
        hints.ai_socktype = SOCK_STREAM;
        addrinfo* list = nullptr;
        const int rc = getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &list);
        Resolved result;
        if (rc != 0)
            result.status = {rc == EAI_NONAME || rc == EAI_NODATA ? Failure::NameNotFound : Failure::Io,
                             "cannot resolve " + host + ": " + gai_strerror(rc)};
        for (addrinfo* a = list; a != nullptr; a = a->ai_next) {
            if (a->ai_addrlen > Address::kLargest)
                continue;
            Address address;
            std::memcpy(address.storage.data(), a->ai_addr, a->ai_addrlen);
            address.length = a->ai_addrlen;
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

int OpenTcp(const Connection& connection, int timeoutMs, const Resolver& resolver, LinkStatus& status) {
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
        const int fd = Connect(address, timeoutMs, where, status);
        if (fd >= 0)
            return fd;
    }
    return -1;
}

} // namespace zorv::opos::transport
