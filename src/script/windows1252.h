#pragma once
// Windows-1252, the 8-bit code page of the script files: files written by
// earlier tools on Western European systems use it.
#include <optional>
#include <string>
#include <string_view>

namespace zorv::script {

std::u16string DecodeWindows1252(std::string_view bytes);

struct Unrepresentable {
    char32_t character;
    std::size_t line; // 1-based
};

// The bytes of `text`, or the first character the code page cannot hold
// (with its line), so that nothing is ever replaced silently.
struct EncodedText {
    std::string bytes;
    std::optional<Unrepresentable> refused;
};
EncodedText EncodeWindows1252(std::u16string_view text);

} // namespace zorv::script
