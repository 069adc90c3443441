#include "transport/cancel_signal.h"

#include <fcntl.h>
#include <unistd.h>

namespace zorv::opos::transport {

CancelSignal::CancelSignal() {
    int ends[2] = {-1, -1};
    if (pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    native_ = ends[0];
    raiseEnd_ = ends[1];
}

CancelSignal::~CancelSignal() {
    if (native_ < 0)
        return;
    ::close(static_cast<int>(native_));
    ::close(raiseEnd_);
}

void CancelSignal::Raise() {
    const char raised = 1;
    if (raiseEnd_ < 0)
        return;
    [[maybe_unused]] const ssize_t written = ::write(raiseEnd_, &raised, 1);
}

} // namespace zorv::opos::transport
