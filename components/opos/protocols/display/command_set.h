#pragma once
// The two command sets customer displays speak: Epson's ESC/POS display
// commands and the CD5220 set. One command at a time, to bytes; a command
// the set lacks is reported as the feature it would have given.
#include <optional>
#include <string>
#include <string_view>

#include "protocols/display/code_page.h"

namespace zorv::opos::display {

enum class Protocol { EscPosDisplay, Cd5220 };

// The longest text the CD5220 scrolls by itself.
constexpr std::size_t kLongestMarquee = 40;

std::optional<Protocol> ProtocolFromName(std::string_view name); // "escpos-display", "cd5220"
const char* ProtocolName(Protocol protocol);

enum class Feature { Blink, CodePage, InternationalSet, LineString, Marquee };
const char* FeatureText(Feature feature);

enum class Op {
    Init,
    Clear, // also moves the cursor home
    ClearLine,
    Home,
    Left,
    Right,
    Down,
    Up,
    LineStart,
    LineEnd,
    BottomLeft,
    MoveTo,        // a: row, b: column, from zero
    Mode,          // a: ScrollMode
    Brightness,    // a: 1 to 4
    Blink,         // a: step of 50 ms, 0 steady
    Cursor,        // a: 1 shown, 0 hidden
    CodePage,      // a: CodePage
    International, // a: InternationalSet
    LineString,    // a: row 0 or 1, text: the whole line
    Marquee,       // text scrolled along the upper row by the display itself
    Text,          // text at the cursor
};

struct Command {
    Op op;
    int a = 0;
    int b = 0;
    std::u16string text = {};
    bool operator==(const Command&) const = default;
};

struct EncodedCommand {
    std::string bytes;
    std::optional<Feature> unsupported; // set: bytes is empty
    std::size_t unmappable = 0;
};

EncodedCommand Encode(Protocol protocol, const Command& command, CodePage page);

} // namespace zorv::opos::display
