#pragma once
// A keyboard-wedge device (scanner or card reader) types its data and ends it
// with Enter. Key events become characters through a layout; Enter frames.
#include <linux/input.h>
#include <string>
#include <vector>

#include "protocols/input/key_layout.h"

namespace zorv::opos::input {

struct WedgeConfig {
    Layout layout = Layout::Us;
    std::size_t maxLength = 4096;
};

enum class WedgeEventKind {
    Label,      // text: the characters typed before Enter
    UnknownKey, // code: a key the layout does not know; the label it fell in is dropped
    TooLong,    // no Enter within maxLength characters; dropped up to the next Enter
};

struct WedgeEvent {
    WedgeEventKind kind;
    std::u16string text;
    unsigned code = 0;
};

class KeyboardWedge {
public:
    explicit KeyboardWedge(WedgeConfig config = {}) : config_(config) {}

    void Feed(const input_event& event, std::vector<WedgeEvent>& out);
    std::vector<WedgeEvent> Feed(const std::vector<input_event>& events);

    std::size_t Pending() const { return text_.size(); }

private:
    bool Modifier(unsigned code, int value);
    void Press(unsigned code, std::vector<WedgeEvent>& out);
    void Type(char16_t c, std::vector<WedgeEvent>& out);
    void End(std::vector<WedgeEvent>& out);

    WedgeConfig config_;
    bool leftShift_ = false, rightShift_ = false;
    Modifiers modifiers_;
    char16_t accent_ = 0; // a dead key waiting
    std::u16string text_;
    bool tainted_ = false; // an unknown key fell in this label
    bool overflow_ = false;
};

} // namespace zorv::opos::input
