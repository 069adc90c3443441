#include "model/printable_text.h"

namespace zorv::opos {
namespace {

bool IsControl(char16_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

std::u16string Escape(char16_t c) {
    switch (c) {
    case u'\n':
        return u"\\n";
    case u'\r':
        return u"\\r";
    case u'\t':
        return u"\\t";
    default:
        break;
    }
    constexpr char16_t kHex[] = u"0123456789ABCDEF";
    return {u'\\', u'x', kHex[(c >> 4) & 0xF], kHex[c & 0xF]};
}

} // namespace

std::u16string EscapedControls(std::u16string_view text) {
    std::u16string shown;
    shown.reserve(text.size());
    for (char16_t c : text)
        if (IsControl(c))
            shown += Escape(c);
        else
            shown += c;
    return shown;
}

} // namespace zorv::opos
