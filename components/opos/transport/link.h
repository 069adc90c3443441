#pragma once
// A byte pipe to a device: a TCP socket, a serial line or a character
// device, opened from a Connection. It only moves bytes and says why it
// could not; what the bytes mean is the back end's business. Every call
// that waits takes a timeout. A background reader keeps what arrives in a
// bounded buffer until it is taken: a device that floods the link (or a
// path that never ends, such as /dev/zero) costs at most that buffer, the
// rest is dropped and counted.
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "transport/cancel_signal.h"
#include "transport/connection_string.h"

namespace zorv::opos::transport {

enum class Failure {
    None,
    BadConnection, // the connection cannot be opened by a link at all
    NameNotFound,  // the host name does not resolve
    Refused,       // nothing listens there
    Unreachable,   // no route to the host or network
    TimedOut,
    NotFound, // the device path does not exist
    PermissionDenied,
    NotATerminal,        // serial: the path is not a tty
    NotACharacterDevice, // file: the path is a regular file, a directory...
    Closed,              // the other end went away
    Busy,                // the background reader owns the receiving side
    Io,
    Cancelled,   // the sender was told to stop before the bytes were out
    UnknownPort, // the system has no serial port of that name (Windows)
};

const char* FailureName(Failure failure);

struct LinkStatus {
    Failure failure = Failure::None;
    std::string text;
    bool ok() const { return failure == Failure::None; }
};

struct IoResult {
    size_t count = 0; // bytes moved before the failure, if any
    LinkStatus status;
};

// An address to connect to, as the resolver hands it back: the system's
// socket address, held as bytes so that this header needs no socket header
// (Windows' would clash with the component services' own types).
struct Address {
    static constexpr std::size_t kLargest = 128; // sockaddr_storage on Linux and Windows
    alignas(8) std::array<unsigned char, kLargest> storage{};
    std::uint32_t length = 0;
};

struct Resolved {
    std::vector<Address> addresses;
    LinkStatus status;
};

// Host name lookup; tests give their own so that no lookup leaves the machine.
using Resolver = std::function<Resolved(const std::string& host, uint16_t port, int timeoutMs)>;
Resolved SystemResolve(const std::string& host, uint16_t port, int timeoutMs);

#ifndef _WIN32
// The failure an errno value stands for, when a call on the link fails.
Failure FailureFromErrno(int error);
#endif

// What the system opens a link as: a file descriptor on Linux; on Windows a
// SOCKET or a HANDLE opened for overlapped I/O. -1: none.
#ifdef _WIN32
using NativeLink = std::intptr_t;
#else
using NativeLink = int;
#endif

// What the background reader took in since it was last asked.
struct Received {
    std::string bytes;
    std::uint64_t dropped = 0; // bytes that found the buffer full
};

class Link {
public:
    // On the reader's thread, when bytes wait to be taken and none waited
    // before: it may call TakeReceived (from any thread) and nothing else
    // of the link; it usually posts a call to the apartment that takes them.
    using OnReceived = std::function<void()>;
    using OnFailure = std::function<void(const LinkStatus&)>;
    // The most bytes the reader keeps waiting to be taken.
    static constexpr std::size_t kMostWaiting = 64 * 1024;

    static std::unique_ptr<Link> Open(const Connection& connection, int timeoutMs, LinkStatus& status,
                                      Resolver resolver = SystemResolve);
    ~Link();
    Link(const Link&) = delete;
    Link& operator=(const Link&) = delete;

    // Gives up when the device takes nothing for timeoutMs, however long
    // the whole takes, or as soon as `cancel` is raised.
    IoResult Send(std::string_view bytes, int timeoutMs, const CancelSignal* cancel = nullptr);
    // Appends at most `most` bytes that arrive within the timeout (at least one, or a failure).
    IoResult Receive(std::string& out, size_t most, int timeoutMs);

    // Bytes written that the other end has not taken yet (-1: unknown).
    int Unsent() const;

    LinkStatus StartReader(OnReceived onReceived, OnFailure onFailure);
    Received TakeReceived();
    void StopReader();
    bool ReaderRunning() const { return reader_.joinable() && !readerDone_; }

    // Closes and opens the same connection again; a reader that ran is started again.
    LinkStatus Reconnect(int timeoutMs);
    void Close();
    bool IsOpen() const { return fd_ != -1; }
    const Connection& connection() const { return connection_; }

private:
    Link(Connection connection, Resolver resolver, NativeLink fd, bool socket);
    void ReadLoop();
    // Keeps what fits; answers whether the buffer was empty before.
    bool Keep(std::string_view bytes, bool& full);
    void JoinReader();

    Connection connection_;
    Resolver resolver_;
    NativeLink fd_ = -1;
    bool socket_ = false;
#ifdef _WIN32
    std::unique_ptr<CancelSignal> wake_;
#else
    int wake_[2] = {-1, -1};
#endif
    std::thread reader_;
    std::atomic<bool> readerDone_{false};
    OnReceived onReceived_;
    OnFailure onFailure_;
    std::mutex receivedMutex_;
    Received received_;
};

} // namespace zorv::opos::transport
