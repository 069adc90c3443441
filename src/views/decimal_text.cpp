#include "views/decimal_text.h"

#include <charconv>
#include <iterator>

namespace zorv::views {

std::u16string DecimalText(LONG value) {
    char digits[16];
    const auto end = std::to_chars(std::begin(digits), std::end(digits), value).ptr;
    return std::u16string(digits, end);
}

} // namespace zorv::views
