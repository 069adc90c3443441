#include "protocols/display/display_decoder.h"

#include <algorithm>
#include <span>

namespace zorv::opos::display {
namespace {

using Params = const unsigned char*;
using Handler = void (*)(DecoderState&, Params);

struct CommandSpec {
    std::string_view prefix;
    int params;
    Handler apply;
};

constexpr std::size_t kLongestString = 256;

Screen& S(DecoderState& s) {
    s.pendingWrap = false;
    return s.screen;
}

void Wrap(DecoderState& s) {
    Screen& screen = s.screen;
    switch (screen.mode) {
    case ScrollMode::Overwrite:
        screen.cursorColumn = 0;
        screen.cursorRow = (screen.cursorRow + 1) % screen.rows;
        break;
    case ScrollMode::Vertical:
        screen.cursorColumn = 0;
        if (screen.cursorRow + 1 < screen.rows)
            ++screen.cursorRow;
        else
            screen.ScrollUp();
        break;
    case ScrollMode::Horizontal:
        screen.ShiftRowLeft(screen.cursorRow);
        break;
    }
}

void WriteChar(DecoderState& s, char16_t c) {
    if (s.pendingWrap)
        Wrap(s);
    s.pendingWrap = false;
    Screen& screen = s.screen;
    screen.Put(screen.cursorRow, screen.cursorColumn, c);
    if (screen.cursorColumn + 1 < screen.columns)
        ++screen.cursorColumn;
    else
        s.pendingWrap = true;
}

void Init(DecoderState& s, Params) {
    const Screen& old = s.screen;
    DecoderState fresh;
    fresh.screen = Screen::Blank(old.rows, old.columns);
    fresh.unknownCommands = s.unknownCommands;
    fresh.rejectedParameters = s.rejectedParameters;
    s = std::move(fresh);
}

void Clear(DecoderState& s, Params) {
    Screen& screen = S(s);
    screen.Clear();
    screen.cursorRow = screen.cursorColumn = 0;
}

void ClearLine(DecoderState& s, Params) {
    Screen& screen = S(s);
    screen.ClearRow(screen.cursorRow);
    screen.cursorColumn = 0;
}

void Home(DecoderState& s, Params) {
    S(s).cursorRow = s.screen.cursorColumn = 0;
}

void Left(DecoderState& s, Params) {
    Screen& screen = S(s);
    if (screen.cursorColumn > 0)
        --screen.cursorColumn;
    else if (screen.cursorRow > 0) {
        --screen.cursorRow;
        screen.cursorColumn = screen.columns - 1;
    }
}

void Right(DecoderState& s, Params) {
    Screen& screen = S(s);
    if (screen.cursorColumn + 1 < screen.columns)
        ++screen.cursorColumn;
    else
        Wrap(s);
}

void Down(DecoderState& s, Params) {
    Screen& screen = S(s);
    if (screen.cursorRow + 1 < screen.rows)
        ++screen.cursorRow;
    else if (screen.mode == ScrollMode::Vertical)
        screen.ScrollUp();
    else if (screen.mode == ScrollMode::Overwrite)
        screen.cursorRow = 0;
}

void Up(DecoderState& s, Params) {
    Screen& screen = S(s);
    if (screen.cursorRow > 0)
        --screen.cursorRow;
    else if (screen.mode == ScrollMode::Overwrite)
        screen.cursorRow = screen.rows - 1;
}

void LineStart(DecoderState& s, Params) {
    S(s).cursorColumn = 0;
}
void LineEnd(DecoderState& s, Params) {
    S(s).cursorColumn = s.screen.columns - 1;
}

void BottomLeft(DecoderState& s, Params) {
    Screen& screen = S(s);
    screen.cursorRow = screen.rows - 1;
    screen.cursorColumn = 0;
}

template <ScrollMode mode> void SetMode(DecoderState& s, Params) {
    S(s).mode = mode;
}

// Position parameters count from one: column, then row.
void MoveTo(DecoderState& s, Params p) {
    Screen& screen = S(s);
    if (p[0] < 1 || p[0] > screen.columns || p[1] < 1 || p[1] > screen.rows) {
        ++s.rejectedParameters;
        return;
    }
    screen.cursorColumn = p[0] - 1;
    screen.cursorRow = p[1] - 1;
}

void Brightness(DecoderState& s, Params p) {
    if (p[0] < 1 || p[0] > 4)
        ++s.rejectedParameters;
    else
        s.screen.brightness = p[0];
}

void Blink(DecoderState& s, Params p) {
    s.screen.blinkStep = p[0];
}

void CursorShown(DecoderState& s, Params p) {
    if (p[0] > 1)
        ++s.rejectedParameters;
    else
        s.screen.cursorVisible = p[0] == 1;
}

void CodeTable(DecoderState& s, Params p) {
    if (const std::optional<CodePage> page = CodePageFromTable(p[0]))
        s.screen.codePage = *page;
    else
        ++s.rejectedParameters;
}

void InternationalNumber(DecoderState& s, Params p) {
    if (p[0] > static_cast<int>(InternationalSet::LatinAmerica))
        ++s.rejectedParameters;
    else
        s.screen.international = static_cast<InternationalSet>(p[0]);
}

void InternationalLetter(DecoderState& s, Params p) {
    static constexpr std::string_view kLetters = "AFGUDWISJ?E";
    const std::size_t at = kLetters.find(static_cast<char>(p[0]));
    if (at == std::string_view::npos || kLetters[at] == '?')
        ++s.rejectedParameters;
    else
        s.screen.international = static_cast<InternationalSet>(at);
}

void Select(DecoderState& s, Params p) {
    s.selected = (p[0] & 2) != 0;
}

template <int row> void StartString(DecoderState& s, Params) {
    s.stringRow = row;
    s.stringBytes.clear();
}

void Ignore(DecoderState&, Params) {}

constexpr CommandSpec kControls[] = {
    {"\x08", 0, Left},  {"\x09", 0, Right},     {"\x0a", 0, Down},      {"\x0b", 0, Home},
    {"\x0c", 0, Clear}, {"\x0d", 0, LineStart}, {"\x18", 0, ClearLine},
};

constexpr CommandSpec kEscPos[] = {
    {"\x1b@", 0, Init},
    {"\x1bt", 1, CodeTable},
    {"\x1bR", 1, InternationalNumber},
    {"\x1b=", 1, Select},
    {"\x1f\x01", 0, SetMode<ScrollMode::Overwrite>},
    {"\x1f\x02", 0, SetMode<ScrollMode::Vertical>},
    {"\x1f\x03", 0, SetMode<ScrollMode::Horizontal>},
    {"\x1f\x0a", 0, Up},
    {"\x1f\x0d", 0, LineEnd},
    {"\x1f"
     "B",
     0, BottomLeft},
    {"\x1f$", 2, MoveTo},
    {"\x1fX", 1, Brightness},
    {"\x1f"
     "E",
     1, Blink},
    {"\x1f"
     "C",
     1, CursorShown},
    {"\x1f@", 0, Ignore}, // self test
};

constexpr CommandSpec kCd5220[] = {
    {"\x1b@", 0, Init},
    {"\x1b\x11", 0, SetMode<ScrollMode::Overwrite>},
    {"\x1b\x12", 0, SetMode<ScrollMode::Vertical>},
    {"\x1b\x13", 0, SetMode<ScrollMode::Horizontal>},
    {"\x1bQA", 0, StartString<0>},
    {"\x1bQB", 0, StartString<1>},
    {"\x1bQD", 0, StartString<-2>},
    {"\x1b[D", 0, Left},
    {"\x1b[C", 0, Right},
    {"\x1b[A", 0, Up},
    {"\x1b[B", 0, Down},
    {"\x1b[H", 0, Home},
    {"\x1b[L", 0, LineStart},
    {"\x1b[R", 0, LineEnd},
    {"\x1b[K", 0, BottomLeft},
    {"\x1bl", 2, MoveTo},
    {"\x1bW", 4, Ignore}, // window for horizontal scroll
    {"\x1b*", 1, Brightness},
    {"\x1b_", 1, CursorShown},
    {"\x1b"
     "f",
     1, InternationalLetter},
    {"\x1b"
     "c",
     1, Ignore}, // ASCII or JIS
    {"\x1b=", 1, Select},
    {"\x1b?", 1, Ignore}, // delete a downloaded character
    {"\x1b%", 1, Ignore}, // downloaded character set on or off
    {"\x1bs", 1, Ignore}, // store downloaded characters
    {"\x1b"
     "d",
     1, Ignore}, // load downloaded characters
};

std::span<const CommandSpec> SetOf(Protocol protocol) {
    if (protocol == Protocol::Cd5220)
        return kCd5220;
    return kEscPos;
}

void EndString(DecoderState& s) {
    std::u16string text;
    for (char byte : s.stringBytes)
        text += DecodeByte(static_cast<unsigned char>(byte), s.screen.codePage);
    const int row = s.stringRow < 0 ? 0 : s.stringRow;
    if (s.stringRow == -2)
        s.screen.marquee = text;
    if (row < s.screen.rows) {
        s.screen.ClearRow(row);
        s.screen.WriteAt(row, 0, text);
    }
    s.stringRow = -1;
    s.stringBytes.clear();
}

// "ESC & s n m" defines characters n to m, six bytes each.
std::size_t DownloadLength(std::string_view bytes) {
    if (bytes.size() < 5)
        return 0;
    const int first = static_cast<unsigned char>(bytes[3]), last = static_cast<unsigned char>(bytes[4]);
    const std::size_t total = 5 + static_cast<std::size_t>(std::max(0, last - first + 1)) * 6;
    return bytes.size() >= total ? total : 0;
}

} // namespace

DisplayDecoder::DisplayDecoder(Protocol protocol, int rows, int columns) : protocol_(protocol) {
    state_.screen = Screen::Blank(rows, columns);
}

void DisplayDecoder::Feed(std::string_view bytes) {
    pending_.append(bytes);
    std::size_t used = 0;
    while (!pending_.empty()) {
        used = Step();
        if (used == 0)
            break;
        pending_.erase(0, used);
    }
}

std::size_t DisplayDecoder::Step() {
    const auto first = static_cast<unsigned char>(pending_[0]);
    if (state_.stringRow != -1) {
        if (first == '\r' || state_.stringBytes.size() >= kLongestString)
            EndString(state_);
        else
            state_.stringBytes += pending_[0];
        return 1;
    }
    // The display's own scrolling runs until anything else arrives.
    state_.screen.marquee.clear();
    const std::span<const CommandSpec> set = SetOf(protocol_);
    if (!state_.selected) { // only "ESC = n" reaches a display that is not selected
        if (pending_.size() < 3 && std::string_view("\x1b=").starts_with(pending_))
            return 0;
        if (pending_.starts_with("\x1b="))
            Select(state_, reinterpret_cast<Params>(pending_.data() + 2));
        return pending_.starts_with("\x1b=") ? 3 : 1;
    }
    if (first >= 0x20 && first != 0x7F) {
        WriteChar(state_, DecodeByte(first, state_.screen.codePage));
        return 1;
    }
    if (protocol_ == Protocol::Cd5220 && pending_.starts_with("\x1b&")) {
        const std::size_t length = DownloadLength(pending_);
        return length; // downloaded glyphs are not shown
    }
    bool partial = false;
    for (const std::span<const CommandSpec> table : {std::span<const CommandSpec>(kControls), set}) {
        for (const CommandSpec& command : table) {
            const std::size_t total = command.prefix.size() + static_cast<std::size_t>(command.params);
            if (pending_.size() >= command.prefix.size() && pending_.starts_with(command.prefix)) {
                if (pending_.size() < total)
                    return 0;
                command.apply(state_, reinterpret_cast<Params>(pending_.data() + command.prefix.size()));
                return total;
            }
            partial =
                partial || (pending_.size() < command.prefix.size() && command.prefix.starts_with(pending_));
        }
    }
    if (partial)
        return 0;
    ++state_.unknownCommands;
    // An unknown ESC or US sequence: skip the lead-in and the byte after it.
    return (first == 0x1B || first == 0x1F) && pending_.size() >= 2 ? 2 : 1;
}

std::string DisplayDecoder::Text() const {
    std::string text;
    for (int row = 0; row < state_.screen.rows; ++row) {
        text += ToUtf8(state_.screen.Row(row));
        text += '\n';
    }
    return text;
}

std::string ToUtf8(std::u16string_view text) {
    std::string out;
    for (char16_t c : text) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

} // namespace zorv::opos::display
