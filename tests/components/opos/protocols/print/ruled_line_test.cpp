// DrawRuledLine's position lists: pairs for horizontal rules, positions for
// vertical ones, refused when malformed or wider than the line.
#include <gtest/gtest.h>

#include "protocols/print/ruled_line.h"

using namespace zorv::opos::print;

TEST(RuledLinePositions, HorizontalRulesArePairs) {
    EXPECT_EQ(HorizontalRules(u"0,200;300,100", 512), (std::vector<RuleSegment>{{0, 200}, {300, 100}}));
    EXPECT_EQ(HorizontalRules(u" 12 , 500 ", 512), (std::vector<RuleSegment>{{12, 500}}));
    for (const char16_t* bad : {u"", u"0", u"0,", u",5", u"0,0", u"0,100;", u"0,100,200", u"-1,5", u"1,5x",
                                u"400,113", u"9999999,1"})
        EXPECT_FALSE(HorizontalRules(bad, 512)) << static_cast<int>(bad[0]);
    EXPECT_TRUE(HorizontalRules(u"400,112", 512));
}

TEST(RuledLinePositions, VerticalRulesArePositionsAndEmptyEndsThem) {
    EXPECT_EQ(VerticalRules(u"0,100,400,500", 512),
              (std::vector<RuleSegment>{{0, 0}, {100, 0}, {400, 0}, {500, 0}}));
    EXPECT_EQ(VerticalRules(u"", 512), std::vector<RuleSegment>{});
    for (const char16_t* bad : {u"512", u"0,,1", u"0;1", u"a", u","})
        EXPECT_FALSE(VerticalRules(bad, 512));
}
