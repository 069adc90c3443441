#include "protocols/input/keyboard_wedge.h"

#include <linux/input-event-codes.h>

namespace zorv::opos::input {
namespace {

// Keys that change nothing in the text: other modifiers and lock keys.
bool IsSilent(unsigned code) {
    switch (code) {
    case KEY_LEFTCTRL:
    case KEY_RIGHTCTRL:
    case KEY_LEFTALT:
    case KEY_LEFTMETA:
    case KEY_RIGHTMETA:
    case KEY_NUMLOCK:
    case KEY_SCROLLLOCK:
        return true;
    }
    return false;
}

} // namespace

std::vector<WedgeEvent> KeyboardWedge::Feed(const std::vector<input_event>& events) {
    std::vector<WedgeEvent> out;
    for (const input_event& event : events)
        Feed(event, out);
    return out;
}

void KeyboardWedge::Feed(const input_event& event, std::vector<WedgeEvent>& out) {
    if (event.type != EV_KEY)
        return;
    const unsigned code = event.code;
    if (Modifier(code, event.value))
        return;
    // Autorepeat (value 2) would type a held key twice; wedge devices never hold keys.
    if (event.value == 1)
        Press(code, out);
}

bool KeyboardWedge::Modifier(unsigned code, int value) {
    const bool down = value != 0;
    switch (code) {
    case KEY_LEFTSHIFT:
        leftShift_ = down;
        break;
    case KEY_RIGHTSHIFT:
        rightShift_ = down;
        break;
    case KEY_RIGHTALT:
        modifiers_.altGr = down;
        break;
    case KEY_CAPSLOCK:
        modifiers_.capsLock = modifiers_.capsLock != (value == 1);
        return true;
    default:
        return false;
    }
    modifiers_.shift = leftShift_ || rightShift_;
    return true;
}

void KeyboardWedge::Press(unsigned code, std::vector<WedgeEvent>& out) {
    if (code == KEY_ENTER || code == KEY_KPENTER) {
        End(out);
        return;
    }
    if (IsSilent(code))
        return;
    const std::optional<KeySymbol> symbol = Lookup(config_.layout, code, modifiers_);
    if (!symbol) {
        out.push_back({WedgeEventKind::UnknownKey, {}, code});
        tainted_ = true;
        return;
    }
    if (symbol->ch == 0)
        return;
    if (symbol->dead && accent_ == 0) {
        accent_ = symbol->ch;
        return;
    }
    if (accent_ != 0) {
        const char16_t accent = accent_;
        accent_ = 0;
        if (const char16_t composed = Compose(accent, symbol->ch)) {
            Type(composed, out);
            return;
        }
        Type(accent, out); // "^ " gives "^"; "^x" gives "^x"
        if (symbol->ch == u' ')
            return;
    }
    Type(symbol->ch, out);
}

void KeyboardWedge::Type(char16_t c, std::vector<WedgeEvent>& out) {
    if (overflow_)
        return;
    if (text_.size() >= config_.maxLength) {
        out.push_back({WedgeEventKind::TooLong, {}, 0});
        text_.clear();
        overflow_ = true;
        return;
    }
    text_ += c;
}

void KeyboardWedge::End(std::vector<WedgeEvent>& out) {
    if (accent_ != 0) {
        Type(accent_, out);
        accent_ = 0;
    }
    if (!text_.empty() && !tainted_ && !overflow_)
        out.push_back({WedgeEventKind::Label, std::move(text_), 0});
    text_.clear();
    tainted_ = overflow_ = false;
}

} // namespace zorv::opos::input
