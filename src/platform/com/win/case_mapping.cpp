// Windows: the system's own Unicode case tables, with the invariant locale
// so that the user's language does not change how scripts compare.
#include "../case_mapping.h"

#include <windows.h>

namespace zorv::com {
namespace {

bool IsSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDFFF;
}

char16_t Mapped(char16_t c, DWORD how) {
    const wchar_t in = static_cast<wchar_t>(c);
    wchar_t out = in;
    if (LCMapStringW(LOCALE_INVARIANT, how, &in, 1, &out, 1) != 1)
        return c;
    return static_cast<char16_t>(out);
}

} // namespace

char16_t UpperChar(char16_t c) {
    if (c < 0x80)
        return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c;
    return IsSurrogate(c) ? c : Mapped(c, LCMAP_UPPERCASE);
}

char16_t LowerChar(char16_t c) {
    if (c < 0x80)
        return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
    return IsSurrogate(c) ? c : Mapped(c, LCMAP_LOWERCASE);
}

} // namespace zorv::com
