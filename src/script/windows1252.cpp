#include "script/windows1252.h"

#include <array>

namespace zorv::script {
namespace {

// 0x80 to 0x9F; the five bytes the code page leaves undefined map to the
// control characters of the same value, as the platform's conversion does.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

std::optional<unsigned char> ByteFor(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<unsigned char>(c);
    for (std::size_t i = 0; i < kHighControls.size(); ++i)
        if (kHighControls[i] == c)
            return static_cast<unsigned char>(0x80 + i);
    return std::nullopt;
}

} // namespace

std::u16string DecodeWindows1252(std::string_view bytes) {
    std::u16string text;
    text.reserve(bytes.size());
    for (const char b : bytes) {
        const auto byte = static_cast<unsigned char>(b);
        text += byte >= 0x80 && byte <= 0x9F ? kHighControls[byte - 0x80] : static_cast<char16_t>(byte);
    }
    return text;
}

EncodedText EncodeWindows1252(std::u16string_view text) {
    EncodedText encoded;
    encoded.bytes.reserve(text.size());
    std::size_t line = 1;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == u'\n')
            ++line;
        if (const auto byte = ByteFor(c)) {
            encoded.bytes += static_cast<char>(*byte);
            continue;
        }
        char32_t character = c;
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF)
            character = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
        encoded.refused = Unrepresentable{character, line};
        encoded.bytes.clear();
        return encoded;
    }
    return encoded;
}

} // namespace zorv::script
