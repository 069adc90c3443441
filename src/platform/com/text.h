#pragma once
// Conversions between the UTF-8 of the C++ layers and the UTF-16 of BSTRs.
#include <string>
#include <string_view>

namespace zorv::com {

std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);
// Folds ASCII and Latin-1 letters to lower case, which is all that member
// names and ProgIDs need to compare without regard to case.
inline char16_t FoldCase(char16_t c) {
    if ((c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
        return static_cast<char16_t>(c + 32);
    return c;
}
bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b);
int CompareIgnoringCase(std::u16string_view a, std::u16string_view b);

} // namespace zorv::com
