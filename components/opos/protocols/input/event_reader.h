#pragma once
// Reads struct input_event records from a descriptor: an evdev node, or a
// pipe or socket a test feeds. A record cut across reads is kept until whole.
#include <linux/input.h>
#include <vector>

namespace zorv::opos::input {

enum class EventStatus {
    Ok,
    Closed, // end of file: the writer went away
    Gone,   // ENODEV: the device was unplugged
    Failed,
};

struct EventBatch {
    EventStatus status = EventStatus::Ok;
    int error = 0;
    std::vector<input_event> events;
};

class EventReader {
public:
    explicit EventReader(int fd) : fd_(fd) {}

    // Waits up to timeoutMs, then reads what is there.
    EventBatch WaitAndRead(int timeoutMs);
    // Reads what is there; call it once the descriptor is readable.
    EventBatch ReadAvailable();

private:
    int fd_;
    unsigned char partial_[sizeof(input_event)] = {};
    std::size_t partialSize_ = 0;
};

} // namespace zorv::opos::input
