// The link over Windows' own handles: a Winsock socket, or a serial port
// opened for overlapped I/O. Waits on a socket look at the cancel and stop
// signals every kSliceMs; waits on a port watch them with the I/O itself.
#include <windows.h>
#include <winsock2.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <climits>
#include <utility>

#include "transport/reach.h"
#include "transport/win/link_open_win.h"
#include "transport/win/system_error_win.h"

namespace zorv::opos::transport {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kSliceMs = 20;
constexpr int kReaderWaitMs = 200;
constexpr std::size_t kReadChunk = 4096;
// While the buffer is full the reader drops what it reads, this often at
// most: a device that never stops sending costs no processor either.
constexpr int kFullPauseMs = 10;

SOCKET AsSocket(NativeLink link) {
    return static_cast<SOCKET>(link);
}

HANDLE AsHandle(std::intptr_t native) {
    return reinterpret_cast<HANDLE>(native);
}

int Remaining(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

bool Raised(const CancelSignal* signal) {
    return signal != nullptr && signal->Native() != -1 &&
           WaitForSingleObject(AsHandle(signal->Native()), 0) == WAIT_OBJECT_0;
}

// >0 ready, 0 not within the time, SOCKET_ERROR on failure.
int WaitSocket(SOCKET s, bool forWriting, int ms) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(s, &set);
    timeval limit{ms / 1000, (ms % 1000) * 1000};
    return forWriting ? select(0, nullptr, &set, nullptr, &limit) : select(0, &set, nullptr, nullptr, &limit);
}

LinkStatus Closed(const std::string& where) {
    return {Failure::Closed, where + ": the other end closed the link"};
}

// One piece of overlapped I/O on a port, with its event.
class PortIo {
public:
    PortIo() { overlapped_.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr); }
    ~PortIo() {
        if (overlapped_.hEvent != nullptr)
            CloseHandle(overlapped_.hEvent);
    }
    PortIo(const PortIo&) = delete;
    PortIo& operator=(const PortIo&) = delete;

    bool Ready() const { return overlapped_.hEvent != nullptr; }
    OVERLAPPED* overlapped() {
        ResetEvent(overlapped_.hEvent);
        overlapped_.Offset = overlapped_.OffsetHigh = 0;
        return &overlapped_;
    }
    HANDLE event() const { return overlapped_.hEvent; }

    // Waits for the I/O begun, the signal (if any) or the time; I/O cut
    // short is cancelled and what it moved counted. Answers how it ended.
    enum class End { Done, Signalled, TimedOut, Failed };
    End Wait(HANDLE port, const CancelSignal* signal, int ms, DWORD& moved, DWORD& error) {
        std::array<HANDLE, 2> waits{overlapped_.hEvent,
                                    signal != nullptr ? AsHandle(signal->Native()) : nullptr};
        const DWORD count = waits[1] != nullptr && waits[1] != INVALID_HANDLE_VALUE ? 2 : 1;
        const DWORD woke = WaitForMultipleObjects(count, waits.data(), FALSE, static_cast<DWORD>(ms));
        if (woke == WAIT_OBJECT_0)
            return Finish(port, FALSE, moved, error) ? End::Done : End::Failed;
        CancelIoEx(port, &overlapped_);
        Finish(port, TRUE, moved, error);
        return woke == WAIT_OBJECT_0 + 1 ? End::Signalled : End::TimedOut;
    }
    bool Finish(HANDLE port, BOOL wait, DWORD& moved, DWORD& error) {
        moved = 0;
        if (GetOverlappedResult(port, &overlapped_, &moved, wait))
            return true;
        error = GetLastError();
        return false;
    }

private:
    OVERLAPPED overlapped_{};
};

// A chunk a port sends in about a quarter of a second, so that a send
// sees progress (and restarts its timeout) while a long job goes out.
DWORD PortChunk(int baud) {
    return static_cast<DWORD>(std::max(64, baud / 10 / 4));
}

enum class Got { Bytes, Nothing, Stopped, Failed };

struct ReadOutcome {
    Got got = Got::Nothing;
    std::size_t count = 0;
    LinkStatus status;
};

ReadOutcome ReadSocket(SOCKET s, char* buffer, std::size_t size, int waitMs, const CancelSignal* stop,
                       const std::string& where) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(waitMs);
    for (;;) {
        if (Raised(stop))
            return {Got::Stopped, 0, {}};
        const int ready = WaitSocket(s, false, std::min(kSliceMs, Remaining(deadline)));
        if (ready == SOCKET_ERROR)
            return {Got::Failed, 0, SystemErrorStatus(WSAGetLastError(), where)};
        if (ready > 0)
            break;
        if (Remaining(deadline) == 0)
            return {};
    }
    const int n = recv(s, buffer, static_cast<int>(std::min<std::size_t>(size, INT_MAX)), 0);
    if (n > 0)
        return {Got::Bytes, static_cast<std::size_t>(n), {}};
    if (n == 0)
        return {Got::Failed, 0, Closed(where)};
    const int error = WSAGetLastError();
    if (error == WSAEWOULDBLOCK)
        return {};
    return {Got::Failed, 0, SystemErrorStatus(error, where)};
}

ReadOutcome ReadPort(HANDLE port, char* buffer, std::size_t size, int waitMs, const CancelSignal* stop,
                     const std::string& where) {
    PortIo io;
    if (!io.Ready())
        return {Got::Failed, 0, SystemErrorStatus(GetLastError(), where)};
    DWORD moved = 0, error = 0;
    if (!ReadFile(port, buffer, static_cast<DWORD>(size), &moved, io.overlapped())) {
        error = GetLastError();
        if (error != ERROR_IO_PENDING)
            return {Got::Failed, 0, SystemErrorStatus(error, where)};
        // The port's own read timeout ends a read that gets nothing; the
        // wait's is a guard against a driver that ignores it.
        switch (io.Wait(port, stop, waitMs + kSerialReadWaitMs, moved, error)) {
        case PortIo::End::Done:
            break;
        case PortIo::End::Signalled:
            return {Got::Stopped, 0, {}};
        case PortIo::End::TimedOut:
            return {moved > 0 ? Got::Bytes : Got::Nothing, moved, {}};
        case PortIo::End::Failed:
            return {Got::Failed, 0, SystemErrorStatus(error, where)};
        }
    }
    return {moved > 0 ? Got::Bytes : Got::Nothing, moved, {}};
}

} // namespace

std::unique_ptr<Link> Link::Open(const Connection& connection, int timeoutMs, LinkStatus& status,
                                 Resolver resolver) {
    status = {};
    NativeLink link = -1;
    switch (connection.scheme) {
    case Scheme::Tcp:
        link = OpenTcp(connection, timeoutMs, resolver, status);
        break;
    case Scheme::Serial:
        link = OpenSerial(connection, status);
        break;
    case Scheme::Printer:
        status = {Failure::BadConnection,
                  "printer:" + connection.printer + " shares that printer's link; it has none of its own"};
        break;
    case Scheme::File:
    case Scheme::Input:
    case Scheme::Hidraw:
        status = {Failure::BadConnection, UnreachableHere(connection)};
        break;
    }
    if (link == -1)
        return nullptr;
    return std::unique_ptr<Link>(
        new Link(connection, std::move(resolver), link, connection.scheme == Scheme::Tcp));
}

Link::Link(Connection connection, Resolver resolver, NativeLink fd, bool socket)
    : connection_(std::move(connection)), resolver_(std::move(resolver)), fd_(fd), socket_(socket) {}

Link::~Link() {
    Close();
}

IoResult Link::Send(std::string_view bytes, int timeoutMs, const CancelSignal* cancel) {
    IoResult result;
    const std::string where = ConnectionText(connection_);
    if (fd_ == -1) {
        result.status = {Failure::Closed, where + ": the link is closed"};
        return result;
    }
    const auto cancelled = [&] {
        result.status = {Failure::Cancelled, where + ": sending stopped (" + std::to_string(result.count) +
                                                 " of " + std::to_string(bytes.size()) + " bytes sent)"};
        return result;
    };
    const auto timedOut = [&] {
        result.status = {Failure::TimedOut, where + ": the device took no data for " +
                                                std::to_string(timeoutMs) + " ms (" +
                                                std::to_string(result.count) + " of " +
                                                std::to_string(bytes.size()) + " bytes sent)"};
        return result;
    };
    // A slow line (a bitmap at 9600 baud) may take long; only a device that
    // stops taking data for the whole timeout fails.
    auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    PortIo io;
    while (result.count < bytes.size()) {
        if (Raised(cancel))
            return cancelled();
        const char* data = bytes.data() + result.count;
        const std::size_t size = bytes.size() - result.count;
        if (socket_) {
            const int n =
                send(AsSocket(fd_), data, static_cast<int>(std::min<std::size_t>(size, INT_MAX)), 0);
            if (n > 0) {
                result.count += static_cast<std::size_t>(n);
                deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
                continue;
            }
            const int error = WSAGetLastError();
            if (error != WSAEWOULDBLOCK) {
                result.status = SystemErrorStatus(error, where);
                return result;
            }
            const int ready = WaitSocket(AsSocket(fd_), true, std::min(kSliceMs, Remaining(deadline)));
            if (ready == SOCKET_ERROR) {
                result.status = SystemErrorStatus(WSAGetLastError(), where);
                return result;
            }
            if (ready == 0 && Remaining(deadline) == 0)
                return timedOut();
            continue;
        }
        const HANDLE port = AsHandle(fd_);
        DWORD moved = 0, error = 0;
        const DWORD chunk = std::min<DWORD>(static_cast<DWORD>(std::min<std::size_t>(size, MAXDWORD)),
                                            PortChunk(connection_.baud));
        if (!io.Ready()) {
            result.status = SystemErrorStatus(GetLastError(), where);
            return result;
        }
        if (!WriteFile(port, data, chunk, &moved, io.overlapped())) {
            error = GetLastError();
            if (error != ERROR_IO_PENDING) {
                result.status = SystemErrorStatus(error, where);
                return result;
            }
            const PortIo::End end = io.Wait(port, cancel, std::max(Remaining(deadline), 1), moved, error);
            result.count += moved;
            if (end == PortIo::End::Signalled)
                return cancelled();
            if (end == PortIo::End::TimedOut)
                return timedOut();
            if (end == PortIo::End::Failed) {
                result.status = SystemErrorStatus(error, where);
                return result;
            }
        } else {
            result.count += moved;
        }
        if (moved > 0)
            deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        else if (Remaining(deadline) == 0)
            return timedOut();
    }
    return result;
}

IoResult Link::Receive(std::string& out, size_t most, int timeoutMs) {
    IoResult result;
    const std::string where = ConnectionText(connection_);
    if (fd_ == -1) {
        result.status = {Failure::Closed, where + ": the link is closed"};
        return result;
    }
    if (ReaderRunning()) {
        result.status = {Failure::Busy, where + ": the background reader is receiving"};
        return result;
    }
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const std::size_t before = out.size();
        out.resize(before + most);
        const int wait = Remaining(deadline);
        const ReadOutcome read =
            socket_ ? ReadSocket(AsSocket(fd_), out.data() + before, most, wait, nullptr, where)
                    : ReadPort(AsHandle(fd_), out.data() + before, most, std::min(wait, kSerialReadWaitMs),
                               nullptr, where);
        out.resize(before + read.count);
        if (read.got == Got::Bytes) {
            result.count = read.count;
            return result;
        }
        if (read.got == Got::Failed) {
            result.status = read.status;
            return result;
        }
        if (Remaining(deadline) == 0) {
            result.status = {Failure::TimedOut,
                             where + ": no answer within " + std::to_string(timeoutMs) + " ms"};
            return result;
        }
    }
}

int Link::Unsent() const {
    if (fd_ == -1 || socket_)
        return -1; // Winsock does not tell what its send buffer still holds
    DWORD errors = 0;
    COMSTAT status{};
    if (!ClearCommError(AsHandle(fd_), &errors, &status))
        return -1;
    return static_cast<int>(std::min<DWORD>(status.cbOutQue, INT_MAX));
}

LinkStatus Link::StartReader(OnReceived onReceived, OnFailure onFailure) {
    if (fd_ == -1)
        return {Failure::Closed, ConnectionText(connection_) + ": the link is closed"};
    JoinReader();
    wake_ = std::make_unique<CancelSignal>();
    if (wake_->Native() == -1) {
        wake_.reset();
        return SystemErrorStatus(GetLastError(), "reader wake-up event");
    }
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
    const std::string where = ConnectionText(connection_);
    std::array<char, kReadChunk> buffer{};
    bool full = false;
    for (;;) {
        // With the buffer full only the wake-up is watched, for a pause.
        if (full && WaitForSingleObject(AsHandle(wake_->Native()), kFullPauseMs) == WAIT_OBJECT_0)
            break;
        const ReadOutcome read = socket_ ? ReadSocket(AsSocket(fd_), buffer.data(), buffer.size(),
                                                      full ? 0 : kReaderWaitMs, wake_.get(), where)
                                         : ReadPort(AsHandle(fd_), buffer.data(), buffer.size(),
                                                    full ? 0 : kReaderWaitMs, wake_.get(), where);
        switch (read.got) {
        case Got::Bytes:
            if (Keep(std::string_view(buffer.data(), read.count), full))
                onReceived_();
            break;
        case Got::Nothing:
            full = false; // nothing more came: back to waiting on the device
            break;
        case Got::Stopped:
            readerDone_ = true;
            return;
        case Got::Failed:
            return fail(read.status);
        }
    }
    readerDone_ = true;
}

void Link::JoinReader() {
    if (!reader_.joinable())
        return;
    wake_->Raise();
    reader_.join();
    wake_.reset();
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
    if (fd_ != -1 && socket_)
        closesocket(AsSocket(fd_));
    else if (fd_ != -1)
        CloseHandle(AsHandle(fd_));
    fd_ = -1;
}

} // namespace zorv::opos::transport
