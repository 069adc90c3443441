#include "kinds/list_text.h"

#include <algorithm>
#include <functional>

namespace zorv::opos {
namespace {

// Calls `each` with every item that is a plain decimal number.
void ForEachNumber(std::u16string_view list, const std::function<void(LONG)>& each) {
    while (!list.empty()) {
        const auto comma = list.find(u',');
        const std::u16string_view item = list.substr(0, comma);
        LONG value = 0;
        bool number = !item.empty() && item.size() <= 9;
        for (char16_t c : item) {
            number = number && c >= u'0' && c <= u'9';
            value = value * 10 + (c - u'0');
        }
        if (number)
            each(value);
        list = comma == std::u16string_view::npos ? std::u16string_view() : list.substr(comma + 1);
    }
}

} // namespace

bool ListHolds(std::u16string_view list, LONG value) {
    bool found = false;
    ForEachNumber(list, [&](LONG item) { found = found || item == value; });
    return found;
}

LONG ListLargest(std::u16string_view list) {
    LONG largest = 0;
    ForEachNumber(list, [&](LONG item) { largest = std::max(largest, item); });
    return largest;
}

} // namespace zorv::opos
