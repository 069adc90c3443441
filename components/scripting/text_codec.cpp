#include "text_codec.h"

#include "platform/com/text.h"

namespace zorv::scripting {
namespace {

// Bytes 0x80 to 0x9F of Windows-1252; the rest of the code page is Latin-1.
// The five holes (0x81, 0x8D, 0x8F, 0x90, 0x9D) keep their own value.
constexpr char16_t kHigh1252[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr std::string_view kUtf16Mark("\xFF\xFE", 2);
constexpr std::string_view kUtf8Mark("\xEF\xBB\xBF", 3);

char To1252(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (int i = 0; i < 32; ++i)
        if (kHigh1252[i] == c)
            return static_cast<char>(0x80 + i);
    return '?';
}

} // namespace

TextFormat FormatFor(long tristate, std::string_view head) {
    if (tristate == kTristateTrue)
        return TextFormat::Unicode;
    if (tristate != kTristateUseDefault)
        return TextFormat::Ansi;
    if (head.substr(0, 2) == kUtf16Mark)
        return TextFormat::Unicode;
    if (head.substr(0, 3) == kUtf8Mark)
        return TextFormat::Utf8;
    return TextFormat::Ansi;
}

std::u16string Decode(std::string_view bytes, TextFormat format) {
    std::u16string text;
    switch (format) {
    case TextFormat::Ansi:
        text.reserve(bytes.size());
        for (unsigned char c : bytes)
            text += c >= 0x80 && c < 0xA0 ? kHigh1252[c - 0x80] : static_cast<char16_t>(c);
        return text;
    case TextFormat::Unicode:
        if (bytes.substr(0, 2) == kUtf16Mark)
            bytes.remove_prefix(2);
        text.reserve(bytes.size() / 2);
        for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
            text += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                          static_cast<unsigned char>(bytes[i + 1]) << 8);
        return text;
    case TextFormat::Utf8:
        if (bytes.substr(0, 3) == kUtf8Mark)
            bytes.remove_prefix(3);
        return com::Utf8ToUtf16(bytes);
    }
    return text;
}

std::string Encode(std::u16string_view text, TextFormat format) {
    std::string bytes;
    switch (format) {
    case TextFormat::Ansi:
        bytes.reserve(text.size());
        for (char16_t c : text)
            bytes += To1252(c);
        return bytes;
    case TextFormat::Unicode:
        bytes.reserve(text.size() * 2);
        for (char16_t c : text) {
            bytes += static_cast<char>(c & 0xFF);
            bytes += static_cast<char>(c >> 8);
        }
        return bytes;
    case TextFormat::Utf8:
        return com::Utf16ToUtf8(text);
    }
    return bytes;
}

std::string_view ByteOrderMark(TextFormat format) {
    switch (format) {
    case TextFormat::Unicode:
        return kUtf16Mark;
    case TextFormat::Utf8:
        return kUtf8Mark;
    default:
        return {};
    }
}

} // namespace zorv::scripting
