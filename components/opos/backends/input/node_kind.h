#pragma once
// What an `input:` or `hidraw:` path must be: an event device, resp. a
// hidraw node, as the kernel answers for it. A regular file would replay a
// recording for ever, /dev/zero read without end, a named pipe end at once.
#include <string>

namespace zorv::opos::real {

enum class NodeKind { Event, Hidraw };

// Why the open node `fd` is not of that kind, or empty when it is. A pipe
// handed over by a process (reached through /proc/PID/fd) is a live stream
// and stands for a node, as a recorder or a test feeds one.
std::string NodeProblem(int fd, NodeKind kind);

} // namespace zorv::opos::real
