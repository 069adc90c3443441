#include "backends/input/node_reader.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <array>

namespace zorv::opos::real {
namespace {

// Larger than any report or batch of events a device sends at once.
constexpr std::size_t kReadChunk = 4096;
constexpr int kWakeEveryMs = 500;

} // namespace

bool NodeReader::Start(int fd, OnBytes onBytes, OnEnd onEnd) {
    Stop();
    if (pipe2(wake_, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    thread_ = std::thread(
        [this, fd, onBytes = std::move(onBytes), onEnd = std::move(onEnd)] { Run(fd, onBytes, onEnd); });
    return true;
}

void NodeReader::Stop() {
    if (!thread_.joinable())
        return;
    const char wake = 1;
    [[maybe_unused]] const ssize_t written = write(wake_[1], &wake, 1);
    thread_.join();
    close(wake_[0]);
    close(wake_[1]);
    wake_[0] = wake_[1] = -1;
}

void NodeReader::Run(int fd, const OnBytes& onBytes, const OnEnd& onEnd) {
    std::array<char, kReadChunk> buffer{};
    for (;;) {
        std::array<pollfd, 2> watched{pollfd{fd, POLLIN, 0}, pollfd{wake_[0], POLLIN, 0}};
        const int ready = poll(watched.data(), watched.size(), kWakeEveryMs);
        if (ready < 0 && errno != EINTR)
            return onEnd(errno);
        if (watched[1].revents != 0)
            return;
        if (ready <= 0 || watched[0].revents == 0)
            continue;
        if (watched[0].revents & POLLNVAL)
            return onEnd(EBADF);
        const ssize_t n = read(fd, buffer.data(), buffer.size());
        if (n > 0)
            onBytes(std::string_view(buffer.data(), static_cast<std::size_t>(n)));
        else if (n == 0)
            return onEnd(0);
        else if (errno != EAGAIN && errno != EINTR)
            return onEnd(errno);
    }
}

} // namespace zorv::opos::real
