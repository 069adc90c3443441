#include "protocols/escpos/commands.h"

#include <algorithm>

namespace zorv::opos::escpos {
namespace {

char Byte(int value) {
    return static_cast<char>(static_cast<uint8_t>(value));
}

Bytes Command(std::initializer_list<int> bytes) {
    Bytes out;
    for (int b : bytes)
        out.push_back(Byte(b));
    return out;
}

// A command that takes a count of at most 255, repeated for larger counts.
Bytes Repeated(char command, int count) {
    Bytes out;
    for (int left = std::max(count, 0); left > 0; left -= 255)
        out += Command({kEsc, command, std::min(left, 255)});
    return out;
}

} // namespace

Bytes Initialize() {
    return Command({kEsc, '@'});
}
Bytes Emphasis(bool on) {
    return Command({kEsc, 'E', on ? 1 : 0});
}
Bytes Underline(int dots) {
    return Command({kEsc, '-', std::clamp(dots, 0, 2)});
}

Bytes CharacterSize(int width, int height) {
    const int w = std::clamp(width, 1, 8) - 1;
    const int h = std::clamp(height, 1, 8) - 1;
    return Command({kGs, '!', (w << 4) | h});
}

Bytes Justify(Justification justification) {
    return Command({kEsc, 'a', static_cast<int>(justification)});
}
Bytes ReverseVideo(bool on) {
    return Command({kGs, 'B', on ? 1 : 0});
}
Bytes SelectCodePage(uint8_t number) {
    return Command({kEsc, 't', number});
}
Bytes FeedLines(int lines) {
    return Repeated('d', lines);
}
Bytes FeedDots(int dots) {
    return Repeated('J', dots);
}
Bytes FeedBackLines(int lines) {
    return Repeated('e', lines);
}
Bytes Cut(CutKind kind) {
    return Command({kGs, 'V', kind == CutKind::Full ? 0 : 1});
}

Bytes DrawerKick(DrawerPin pin, int onMs, int offMs) {
    const int on = std::clamp(onMs / 2, 1, 255);
    const int off = std::clamp(offMs / 2, on, 255); // the printer wants t2 >= t1
    return Command({kEsc, 'p', static_cast<int>(pin), on, off});
}

Bytes RealTimeStatus(StatusQuery query) {
    return Command({kDle, 0x04, static_cast<int>(query)});
}
Bytes AutomaticStatusBack(uint8_t groups) {
    return Command({kGs, 'a', groups});
}

} // namespace zorv::opos::escpos
