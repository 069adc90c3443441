#include "transport/link.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <optional>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <utility>

#include "transport/link_open.h"

namespace zorv::opos::transport {
namespace {

using Clock = std::chrono::steady_clock;

struct ErrnoRow {
    int error;
    Failure failure;
};

constexpr std::array kErrnoFailures{
    ErrnoRow{ECONNREFUSED, Failure::Refused},
    ErrnoRow{ENETUNREACH, Failure::Unreachable},
    ErrnoRow{EHOSTUNREACH, Failure::Unreachable},
    ErrnoRow{ENETDOWN, Failure::Unreachable},
    ErrnoRow{EHOSTDOWN, Failure::Unreachable},
    ErrnoRow{ETIMEDOUT, Failure::TimedOut},
    ErrnoRow{ENOENT, Failure::NotFound},
    ErrnoRow{ENODEV, Failure::NotFound},
    ErrnoRow{ENXIO, Failure::NotFound},
    ErrnoRow{EACCES, Failure::PermissionDenied},
    ErrnoRow{EPERM, Failure::PermissionDenied},
    ErrnoRow{ENOTTY, Failure::NotATerminal},
    ErrnoRow{EPIPE, Failure::Closed},
    ErrnoRow{ECONNRESET, Failure::Closed},
    ErrnoRow{ECONNABORTED, Failure::Closed},
    ErrnoRow{ENOTCONN, Failure::Closed},
    ErrnoRow{EIO, Failure::Closed}, // a tty whose other side hung up, a printer unplugged
    ErrnoRow{EBUSY, Failure::Busy},
};

int Remaining(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

// A socket or tty asks for more only once a good part of its buffer has
// drained, which on a slow printer may take longer than the timeout; the
// bytes still queued tell progress in between.
bool QueueShrank(int fd, std::optional<int>& queued) {
    int now = 0;
    if (ioctl(fd, TIOCOUTQ, &now) != 0)
        return false;
    const bool shrank = queued && now < *queued;
    queued = now;
    return shrank;
}

LinkStatus Closed(const std::string& where) {
    return {Failure::Closed, where + ": the other end closed the link"};
}

constexpr int kReaderPollMs = 1000;
// How often a send that waits looks whether the device drained anything.
constexpr int kProgressCheckMs = 100;
constexpr size_t kReadChunk = 4096;
// While the buffer is full the reader drops what it reads, this often at
// most: a device that never stops sending costs no processor either.
constexpr int kFullPauseMs = 10;

} // namespace

Failure FailureFromErrno(int error) {
    for (const ErrnoRow& row : kErrnoFailures)
        if (row.error == error)
            return row.failure;
    return Failure::Io;
}

std::unique_ptr<Link> Link::Open(const Connection& connection, int timeoutMs, LinkStatus& status,
                                 Resolver resolver) {
    status = {};
    int fd = -1;
    switch (connection.scheme) {
    case Scheme::Tcp:
        fd = OpenTcp(connection, timeoutMs, resolver, status);
        break;
    case Scheme::Serial:
        fd = OpenSerial(connection, status);
        break;
    case Scheme::File:
        fd = OpenCharacterDevice(connection, status);
        break;
    case Scheme::Printer:
        status = {Failure::BadConnection,
                  "printer:" + connection.printer + " shares that printer's link; it has none of its own"};
        break;
    case Scheme::Input:
    case Scheme::Hidraw:
        status = {Failure::BadConnection,
                  ConnectionText(connection) + " is read as an input device, not a link"};
        break;
    }
    if (fd < 0)
        return nullptr;
    return std::unique_ptr<Link>(
        new Link(connection, std::move(resolver), fd, connection.scheme == Scheme::Tcp));
}

Link::Link(Connection connection, Resolver resolver, int fd, bool socket)
    : connection_(std::move(connection)), resolver_(std::move(resolver)), fd_(fd), socket_(socket) {}

Link::~Link() {
    Close();
}

IoResult Link::Send(std::string_view bytes, int timeoutMs, const CancelSignal* cancel) {
    const int cancelFd = cancel != nullptr ? static_cast<int>(cancel->Native()) : -1;
    IoResult result;
    if (fd_ < 0) {
        result.status = {Failure::Closed, ConnectionText(connection_) + ": the link is closed"};
        return result;
    }
    // A slow line (a bitmap at 9600 baud) may take long; only a device that
    // stops taking data for the whole timeout fails.
    auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    std::optional<int> queued;
    while (result.count < bytes.size()) {
        const char* data = bytes.data() + result.count;
        const size_t size = bytes.size() - result.count;
        const ssize_t n = socket_ ? ::send(fd_, data, size, MSG_NOSIGNAL) : ::write(fd_, data, size);
        if (n > 0) {
            result.count += static_cast<size_t>(n);
            deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
            result.status = ErrnoStatus(errno, ConnectionText(connection_));
            return result;
        }
        std::array<pollfd, 2> p{pollfd{fd_, POLLOUT, 0}, pollfd{cancelFd, POLLIN, 0}};
        const int ready =
            poll(p.data(), cancelFd >= 0 ? 2 : 1, std::min(Remaining(deadline), kProgressCheckMs));
        if (ready > 0 && p[1].revents != 0) {
            result.status = {Failure::Cancelled, ConnectionText(connection_) + ": sending stopped (" +
                                                     std::to_string(result.count) + " of " +
                                                     std::to_string(bytes.size()) + " bytes sent)"};
            return result;
        }
        if (ready == 0 && QueueShrank(fd_, queued))
            deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        else if (ready == 0 && Remaining(deadline) == 0) {
            result.status = {Failure::TimedOut,
                             ConnectionText(connection_) + ": the device took no data for " +
                                 std::to_string(timeoutMs) + " ms (" + std::to_string(result.count) + " of " +
                                 std::to_string(bytes.size()) + " bytes sent)"};
            return result;
        }
    }
    return result;
}

IoResult Link::Receive(std::string& out, size_t most, int timeoutMs) {
    IoResult result;
    if (fd_ < 0) {
        result.status = {Failure::Closed, ConnectionText(connection_) + ": the link is closed"};
        return result;
    }
    if (ReaderRunning()) {
        result.status = {Failure::Busy, ConnectionText(connection_) + ": the background reader is receiving"};
        return result;
    }
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        pollfd p{fd_, POLLIN, 0};
        const int ready = poll(&p, 1, Remaining(deadline));
        if (ready == 0) {
            result.status = {Failure::TimedOut, ConnectionText(connection_) + ": no answer within " +
                                                    std::to_string(timeoutMs) + " ms"};
            return result;
        }
        if (ready < 0 && errno == EINTR)
            continue;
        const size_t before = out.size();
        out.resize(before + most);
        const ssize_t n = ::read(fd_, out.data() + before, most);
        out.resize(before + (n > 0 ? static_cast<size_t>(n) : 0));
        if (n > 0) {
            result.count = static_cast<size_t>(n);
            return result;
        }
        if (n == 0) {
            result.status = Closed(ConnectionText(connection_));
            return result;
        }
        if (errno != EAGAIN && errno != EINTR) {
            result.status = ErrnoStatus(errno, ConnectionText(connection_));
            return result;
        }
    }
}

int Link::Unsent() const {
    int queued = 0;
    return fd_ >= 0 && ioctl(fd_, TIOCOUTQ, &queued) == 0 ? queued : -1;
}

LinkStatus Link::StartReader(OnReceived onReceived, OnFailure onFailure) {
    if (fd_ < 0)
        return {Failure::Closed, ConnectionText(connection_) + ": the link is closed"};
    JoinReader();
    if (pipe2(wake_, O_CLOEXEC | O_NONBLOCK) != 0)
        return ErrnoStatus(errno, "reader wake-up pipe");
    onReceived_ = std::move(onReceived);
    onFailure_ = std::move(onFailure);
    readerDone_ = false;
    reader_ = std::thread([this] { ReadLoop(); });
    return {};
}

void Link::ReadLoop() {
    // The reader counts as stopped before the failure is told, so whoever
    // hears of it finds the link ready to reconnect.
    const auto fail = [this](const LinkStatus& status) {
        readerDone_ = true;
        onFailure_(status);
    };
    std::array<char, kReadChunk> buffer{};
    bool full = false;
    for (;;) {
        std::array<pollfd, 2> p{pollfd{fd_, POLLIN, 0}, pollfd{wake_[0], POLLIN, 0}};
        // With the buffer full only the wake-up is watched, for a pause.
        const int ready = full ? poll(&p[1], 1, kFullPauseMs) : poll(p.data(), p.size(), kReaderPollMs);
        if (ready < 0 && errno != EINTR)
            return fail(ErrnoStatus(errno, ConnectionText(connection_)));
        if (p[1].revents != 0)
            break;
        if (!full && (ready <= 0 || p[0].revents == 0))
            continue;
        const ssize_t n = ::read(fd_, buffer.data(), buffer.size());
        if (n > 0) {
            if (Keep(std::string_view(buffer.data(), static_cast<size_t>(n)), full))
                onReceived_();
        } else if (n == 0) {
            return fail(Closed(ConnectionText(connection_)));
        } else if (errno != EAGAIN && errno != EINTR) {
            return fail(ErrnoStatus(errno, ConnectionText(connection_)));
        } else {
            full = false; // nothing more came: back to waiting on the device
        }
    }
    readerDone_ = true;
}

void Link::JoinReader() {
    if (!reader_.joinable())
        return;
    const char wake = 1;
    [[maybe_unused]] const ssize_t written = ::write(wake_[1], &wake, 1);
    reader_.join();
    ::close(wake_[0]);
    ::close(wake_[1]);
    wake_[0] = wake_[1] = -1;
}

void Link::StopReader() {
    JoinReader();
    onReceived_ = nullptr;
    onFailure_ = nullptr;
}

LinkStatus Link::Reconnect(int timeoutMs) {
    const bool restart = static_cast<bool>(onReceived_);
    OnReceived onReceived = onReceived_;
    OnFailure onFailure = onFailure_;
    Close();
    LinkStatus status;
    std::unique_ptr<Link> fresh = Open(connection_, timeoutMs, status, resolver_);
    if (!fresh) {
        onReceived_ = std::move(onReceived); // kept so that a later attempt restarts the reader
        onFailure_ = std::move(onFailure);
        return status;
    }
    std::swap(fd_, fresh->fd_);
    if (restart)
        return StartReader(std::move(onReceived), std::move(onFailure));
    return status;
}

void Link::Close() {
    JoinReader();
    onReceived_ = nullptr;
    onFailure_ = nullptr;
    TakeReceived(); // what the old connection brought means nothing to a new one
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

} // namespace zorv::opos::transport
