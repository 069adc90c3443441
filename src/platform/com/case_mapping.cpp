#include "case_mapping.h"

#include <clocale>
#include <cwctype>
#include <locale.h>

namespace zorv::com {
namespace {

// The C library's Unicode tables, through the UTF-8 C locale every glibc
// carries; null when it cannot be had (then only ASCII and Latin-1 fold).
locale_t UnicodeLocale() {
    static const locale_t locale = [] {
        locale_t made = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
        return made != static_cast<locale_t>(0)
                   ? made
                   : newlocale(LC_CTYPE_MASK, "C.utf8", static_cast<locale_t>(0));
    }();
    return locale;
}

bool IsSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDFFF;
}

char16_t Narrow(wint_t mapped, char16_t original) {
    return mapped <= 0xFFFF && !IsSurrogate(static_cast<char16_t>(mapped)) ? static_cast<char16_t>(mapped)
                                                                           : original;
}

} // namespace

char16_t UpperChar(char16_t c) {
    if (c < 0x80)
        return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c;
    if (IsSurrogate(c))
        return c;
    if (const locale_t locale = UnicodeLocale())
        return Narrow(towupper_l(c, locale), c);
    return c >= 0xE0 && c <= 0xFE && c != 0xF7 ? static_cast<char16_t>(c - 32) : c;
}

char16_t LowerChar(char16_t c) {
    if (c < 0x80)
        return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
    if (IsSurrogate(c))
        return c;
    if (const locale_t locale = UnicodeLocale())
        return Narrow(towlower_l(c, locale), c);
    return c >= 0xC0 && c <= 0xDE && c != 0xD7 ? static_cast<char16_t>(c + 32) : c;
}

} // namespace zorv::com
