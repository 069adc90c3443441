#pragma once
// Raised on one thread to cut short a link's wait on another. On Linux a
// pipe whose read end turns readable; on Windows an event object.
#include <cstdint>

namespace zorv::opos::transport {

class CancelSignal {
public:
    CancelSignal();
    ~CancelSignal();
    CancelSignal(const CancelSignal&) = delete;
    CancelSignal& operator=(const CancelSignal&) = delete;

    // From any thread; stays raised.
    void Raise();
    // What a wait watches: the pipe's read end, or the event's HANDLE;
    // -1 when the system gave none (a wait can then only time out).
    std::intptr_t Native() const { return native_; }

private:
    std::intptr_t native_ = -1;
#ifndef _WIN32
    int raiseEnd_ = -1;
#endif
};

} // namespace zorv::opos::transport
