// Horizontal ruled lines as raster: where the dots are for each style.
#include <gtest/gtest.h>

#include "protocols/escpos/ruled_line.h"

using namespace zorv::opos::escpos;
using zorv::opos::print::RuleSegment;

namespace {

std::string Row(const MonoImage& image, int y) {
    std::string row;
    for (int x = 0; x < image.width; ++x)
        row += image.dots[static_cast<size_t>(y) * image.width + x] ? '#' : '.';
    return row;
}

} // namespace

TEST(EscPosRuledLines, SolidRulesCoverTheirSegmentsOnly) {
    const MonoImage image = HorizontalRules({{2, 3}, {8, 2}}, 12, 2, RuleStyle::Solid);
    ASSERT_EQ(image.height, 2);
    EXPECT_EQ(Row(image, 0), "..###...##..");
    EXPECT_EQ(Row(image, 1), Row(image, 0));
    EXPECT_EQ(HorizontalRules({{10, 50}}, 12, 1, RuleStyle::Solid).dots.size(), 12u) << "cut at the edge";
    EXPECT_EQ(HorizontalRules({{0, 1}}, 12, 500, RuleStyle::Solid).height, kThickestRule);
}

TEST(EscPosRuledLines, DoubleBrokenAndChainRules) {
    const MonoImage doubled = HorizontalRules({{0, 4}}, 4, 1, RuleStyle::Double);
    ASSERT_EQ(doubled.height, 3);
    EXPECT_EQ(Row(doubled, 0), "####");
    EXPECT_EQ(Row(doubled, 1), "....");
    EXPECT_EQ(Row(doubled, 2), "####");
    EXPECT_EQ(Row(HorizontalRules({{0, 36}}, 36, 1, RuleStyle::Broken), 0),
              "############......############......");
    EXPECT_EQ(Row(HorizontalRules({{0, 28}}, 28, 1, RuleStyle::Chain), 0), "################....####....");
}
