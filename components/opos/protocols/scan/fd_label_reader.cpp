#include "protocols/scan/fd_label_reader.h"

#include <cerrno>
#include <poll.h>
#include <unistd.h>

namespace zorv::opos::scan {

ReadOutcome FdLabelReader::WaitAndRead(int timeoutMs) {
    pollfd watched{fd_, POLLIN, 0};
    int ready;
    do
        ready = poll(&watched, 1, timeoutMs);
    while (ready < 0 && errno == EINTR);
    if (ready < 0)
        return {ReadStatus::Failed, errno, {}};
    if (ready == 0)
        return {};
    if ((watched.revents & POLLIN) == 0 && (watched.revents & (POLLHUP | POLLERR | POLLNVAL)))
        return {ReadStatus::Closed, 0, {}};
    return ReadAvailable();
}

ReadOutcome FdLabelReader::ReadAvailable() {
    ReadOutcome outcome;
    char buffer[4096];
    for (;;) {
        const ssize_t n = read(fd_, buffer, sizeof buffer);
        if (n > 0) {
            framer_.Feed({buffer, static_cast<std::size_t>(n)}, outcome.frames);
            pollfd more{fd_, POLLIN, 0};
            if (static_cast<std::size_t>(n) < sizeof buffer || poll(&more, 1, 0) <= 0)
                return outcome;
            continue;
        }
        if (n == 0 || errno == EIO) {
            outcome.status = ReadStatus::Closed;
        } else if (errno == EINTR) {
            continue;
        } else if (errno != EAGAIN && errno != EWOULDBLOCK) {
            outcome.status = ReadStatus::Failed;
            outcome.error = errno;
        }
        return outcome;
    }
}

} // namespace zorv::opos::scan
