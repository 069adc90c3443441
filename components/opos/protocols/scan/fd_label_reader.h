#pragma once
// Reads a scanner's bytes from a file descriptor (a tty, a pseudo-terminal, a
// pipe) and frames them. Only moves bytes; the framer decides what a label is.
#include <string>
#include <vector>

#include "protocols/scan/label_framer.h"

namespace zorv::opos::scan {

enum class ReadStatus {
    Ok,     // zero or more frames delivered, the descriptor stays open
    Closed, // the other end went away (end of file, or EIO on a hung-up tty)
    Failed, // any other read error; see error
};

struct ReadOutcome {
    ReadStatus status = ReadStatus::Ok;
    int error = 0;
    std::vector<Frame> frames;
};

class FdLabelReader {
public:
    FdLabelReader(int fd, FramerConfig config) : fd_(fd), framer_(config) {}

    // Waits up to timeoutMs for input, then reads what is there without
    // blocking further. A timeout gives Ok with no frames.
    ReadOutcome WaitAndRead(int timeoutMs);
    // Reads what is available now, never waiting for more.
    // Reads what is there; call it once the descriptor is readable.
    ReadOutcome ReadAvailable();

    const LabelFramer& Framer() const { return framer_; }

private:
    int fd_;
    LabelFramer framer_;
};

} // namespace zorv::opos::scan
