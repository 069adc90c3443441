#include "print/print_readback.h"

namespace zorv::opos {

std::u16string RenderPrintData(std::u16string_view data) {
    std::u16string shown;
    for (char16_t c : data)
        shown += c == u'\x1b' ? std::u16string(u"[ESC]") : std::u16string(1, c);
    return shown;
}

} // namespace zorv::opos
