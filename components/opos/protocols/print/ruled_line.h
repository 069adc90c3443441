#pragma once
// A ruled line's position list as DrawRuledLine takes it. Horizontal rules
// are "start,length" pairs separated by semicolons ("0,200;300,100");
// vertical rules are the positions they run at, separated by commas
// ("0,100,400"), and an empty list ends them.
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace zorv::opos::print {

struct RuleSegment {
    int32_t start = 0;
    int32_t length = 0; // vertical rules: 0

    bool operator==(const RuleSegment&) const = default;
};

// None when the list is malformed or reaches past `width` dots.
std::optional<std::vector<RuleSegment>> HorizontalRules(std::u16string_view list, int32_t width);
std::optional<std::vector<RuleSegment>> VerticalRules(std::u16string_view list, int32_t width);

} // namespace zorv::opos::print
