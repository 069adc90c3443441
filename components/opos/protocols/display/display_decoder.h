#pragma once
// Plays a customer display: takes the bytes a program sends and keeps the
// screen they make, the way the display's command reference describes it.
// Used by the virtual display and by tests that check what was sent.
#include <cstddef>
#include <string>
#include <string_view>

#include "protocols/display/command_set.h"
#include "protocols/display/screen.h"

namespace zorv::opos::display {

struct DecoderState {
    Screen screen;
    bool pendingWrap = false; // the last column was written; the next character wraps
    bool selected = true;     // "ESC = n" can hand the line to a printer behind the display
    int stringRow = -1;       // CD5220 string mode: the row being collected
    std::string stringBytes;
    std::size_t unknownCommands = 0;
    std::size_t rejectedParameters = 0;
};

class DisplayDecoder {
public:
    explicit DisplayDecoder(Protocol protocol, int rows = 2, int columns = 20);

    void Feed(std::string_view bytes);

    const Screen& Current() const { return state_.screen; }
    const DecoderState& State() const { return state_; }
    // Bytes held for a command not yet complete.
    std::size_t Pending() const { return pending_.size(); }
    // The rows as UTF-8, one line each.
    std::string Text() const;

private:
    // How many bytes the command at the start of pending_ takes; 0: not complete yet.
    std::size_t Step();

    Protocol protocol_;
    DecoderState state_;
    std::string pending_;
};

std::string ToUtf8(std::u16string_view text);

} // namespace zorv::opos::display
