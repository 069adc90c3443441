#include "protocols/input/event_reader.h"

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <unistd.h>

namespace zorv::opos::input {
namespace {

EventStatus StatusOf(int error) {
    if (error == ENODEV)
        return EventStatus::Gone;
    return EventStatus::Failed;
}

} // namespace

EventBatch EventReader::WaitAndRead(int timeoutMs) {
    pollfd watched{fd_, POLLIN, 0};
    int ready;
    do
        ready = poll(&watched, 1, timeoutMs);
    while (ready < 0 && errno == EINTR);
    if (ready < 0)
        return {EventStatus::Failed, errno, {}};
    if (ready == 0)
        return {};
    if ((watched.revents & POLLIN) == 0 && (watched.revents & (POLLHUP | POLLERR | POLLNVAL)))
        return {(watched.revents & POLLERR) ? EventStatus::Gone : EventStatus::Closed, 0, {}};
    return ReadAvailable();
}

EventBatch EventReader::ReadAvailable() {
    EventBatch batch;
    unsigned char buffer[64 * sizeof(input_event)];
    std::memcpy(buffer, partial_, partialSize_);
    const ssize_t n = read(fd_, buffer + partialSize_, sizeof buffer - partialSize_);
    if (n < 0) {
        if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)
            return batch;
        batch.status = StatusOf(errno);
        batch.error = errno;
        return batch;
    }
    if (n == 0) {
        batch.status = EventStatus::Closed;
        return batch;
    }
    const std::size_t total = partialSize_ + static_cast<std::size_t>(n);
    const std::size_t whole = total / sizeof(input_event);
    batch.events.resize(whole);
    if (whole > 0) // data() of an empty vector may be null, which memcpy must not get
        std::memcpy(batch.events.data(), buffer, whole * sizeof(input_event));
    partialSize_ = total - whole * sizeof(input_event);
    std::memcpy(partial_, buffer + whole * sizeof(input_event), partialSize_);
    return batch;
}

} // namespace zorv::opos::input
