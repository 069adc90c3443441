#include "protocols/print/ruled_line.h"

namespace zorv::opos::print {
namespace {

constexpr size_t kMostDigits = 6;

// A decimal number without sign, or none.
std::optional<int32_t> Number(std::u16string_view text) {
    while (!text.empty() && text.front() == u' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == u' ')
        text.remove_suffix(1);
    if (text.empty() || text.size() > kMostDigits)
        return std::nullopt;
    int32_t value = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c - u'0');
    }
    return value;
}

std::vector<std::u16string_view> Split(std::u16string_view text, char16_t separator) {
    std::vector<std::u16string_view> parts;
    for (;;) {
        const size_t at = text.find(separator);
        parts.push_back(text.substr(0, at));
        if (at == std::u16string_view::npos)
            return parts;
        text.remove_prefix(at + 1);
    }
}

} // namespace

std::optional<std::vector<RuleSegment>> HorizontalRules(std::u16string_view list, int32_t width) {
    std::vector<RuleSegment> rules;
    for (std::u16string_view pair : Split(list, u';')) {
        const auto fields = Split(pair, u',');
        if (fields.size() != 2)
            return std::nullopt;
        const auto start = Number(fields[0]);
        const auto length = Number(fields[1]);
        if (!start || !length || *length == 0 || *start + *length > width)
            return std::nullopt;
        rules.push_back({*start, *length});
    }
    return rules;
}

std::optional<std::vector<RuleSegment>> VerticalRules(std::u16string_view list, int32_t width) {
    std::vector<RuleSegment> rules;
    if (list.empty())
        return rules;
    for (std::u16string_view field : Split(list, u',')) {
        const auto at = Number(field);
        if (!at || *at >= width)
            return std::nullopt;
        rules.push_back({*at, 0});
    }
    return rules;
}

} // namespace zorv::opos::print
