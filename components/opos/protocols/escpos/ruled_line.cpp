#include "protocols/escpos/ruled_line.h"

#include <algorithm>
#include <span>

namespace zorv::opos::escpos {
namespace {

// Dots inked and left blank along the line, repeated.
constexpr int kBroken[] = {12, 6};
constexpr int kChain[] = {16, 4, 4, 4};

bool Inked(RuleStyle style, int along) {
    std::span<const int> pattern;
    if (style == RuleStyle::Broken)
        pattern = kBroken;
    else if (style == RuleStyle::Chain)
        pattern = kChain;
    else
        return true;
    int period = 0;
    for (int run : pattern)
        period += run;
    int at = along % period;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (at < pattern[i])
            return i % 2 == 0;
        at -= pattern[i];
    }
    return false;
}

} // namespace

MonoImage HorizontalRules(const std::vector<print::RuleSegment>& rules, int paperDots, int thickness,
                          RuleStyle style) {
    thickness = std::clamp(thickness, 1, kThickestRule);
    // A double rule is two rules of the thickness with as much blank between.
    const int height = style == RuleStyle::Double ? thickness * 3 : thickness;
    MonoImage image{paperDots, height, std::vector<uint8_t>(static_cast<size_t>(paperDots) * height)};
    for (int y = 0; y < height; ++y) {
        if (style == RuleStyle::Double && y >= thickness && y < thickness * 2)
            continue;
        for (const print::RuleSegment& rule : rules) {
            const int end = std::min(paperDots, rule.start + rule.length);
            for (int x = std::max(0, rule.start); x < end; ++x)
                image.dots[static_cast<size_t>(y) * paperDots + x] = Inked(style, x - rule.start) ? 1 : 0;
        }
    }
    return image;
}

} // namespace zorv::opos::escpos
