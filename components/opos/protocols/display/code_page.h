#pragma once
// The character tables a display can hold, and text in and out of them.
// Characters a table lacks become '?' and are counted, never dropped.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace zorv::opos::display {

enum class CodePage { Pc437, Pc850, Pc858 };

// "437", "PC437", "cp850", "858"...
std::optional<CodePage> CodePageFromName(std::string_view name);
// The number OPOS uses for it in CharacterSet and CharacterSetList.
long CodePageNumber(CodePage page);
// The table number "ESC t" selects, and back.
int CodeTableNumber(CodePage page);
std::optional<CodePage> CodePageFromTable(int escT);

struct EncodedText {
    std::string bytes;
    std::size_t unmappable = 0;
};

EncodedText EncodeText(std::u16string_view text, CodePage page);
// Control bytes decode to U+FFFD: they are commands, not characters.
char16_t DecodeByte(unsigned char byte, CodePage page);

} // namespace zorv::opos::display
