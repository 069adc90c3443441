#pragma once
// Conversions between the UTF-8 of the C++ layers and the UTF-16 of BSTRs.
#include <string>
#include <string_view>

#include "types.h"

namespace zorv::com {

// OLECHAR is wchar_t on Windows and char16_t elsewhere: the same UTF-16 code
// units under two type names. Text crosses between the system's strings and
// ours here and nowhere else.
#ifdef _WIN32
static_assert(sizeof(OLECHAR) == sizeof(char16_t));
inline const char16_t* FromOle(const OLECHAR* text) {
    return reinterpret_cast<const char16_t*>(text);
}
inline char16_t* FromOle(OLECHAR* text) {
    return reinterpret_cast<char16_t*>(text);
}
inline const OLECHAR* ToOle(const char16_t* text) {
    return reinterpret_cast<const OLECHAR*>(text);
}
inline OLECHAR* ToOle(char16_t* text) {
    return reinterpret_cast<OLECHAR*>(text);
}
#else
inline const char16_t* FromOle(const OLECHAR* text) {
    return text;
}
inline char16_t* FromOle(OLECHAR* text) {
    return text;
}
inline const OLECHAR* ToOle(const char16_t* text) {
    return text;
}
inline OLECHAR* ToOle(char16_t* text) {
    return text;
}
#endif
// A NUL-terminated system string as our text; null is the empty text.
inline std::u16string_view OleView(const OLECHAR* text) {
    return text ? std::u16string_view(FromOle(text)) : std::u16string_view();
}

std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);
#ifdef _WIN32
// The system's own wide strings (paths, registry names, port names) from and
// to the UTF-8 of the C++ layers.
std::wstring WideFromUtf8(std::string_view text);
std::string Utf8FromWide(std::wstring_view text);
#endif
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
