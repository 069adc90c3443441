// What the reader has received and the owner not yet taken: bounded, the
// same on every system, whatever link brought it.
#include <algorithm>
#include <mutex>
#include <utility>

#include "transport/link.h"

namespace zorv::opos::transport {

Received Link::TakeReceived() {
    std::lock_guard lock(receivedMutex_);
    return std::exchange(received_, Received{});
}

bool Link::Keep(std::string_view bytes, bool& full) {
    std::lock_guard lock(receivedMutex_);
    const bool wasEmpty = received_.bytes.empty();
    const size_t room = kMostWaiting - received_.bytes.size();
    const size_t kept = std::min(room, bytes.size());
    received_.bytes.append(bytes.substr(0, kept));
    received_.dropped += bytes.size() - kept;
    full = received_.bytes.size() == kMostWaiting;
    return wasEmpty && kept > 0;
}

} // namespace zorv::opos::transport
