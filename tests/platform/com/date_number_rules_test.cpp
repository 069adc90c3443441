// The calendar, rounding and digit rules that conversions and the script engine share.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/com/date_number_rules.h"

using namespace zorv::com;

TEST(DateNumberRules, DaysAndDatesRoundTripOverTheOleRange) {
    EXPECT_EQ(DaysFromCivil(1970, 1, 1), 0);
    EXPECT_EQ(kOleDateEpoch, -25569);
    EXPECT_EQ(DaysFromCivil(100, 1, 1) - kOleDateEpoch, -657434);    // the first OLE date
    EXPECT_EQ(DaysFromCivil(9999, 12, 31) - kOleDateEpoch, 2958465); // the last
    for (std::int64_t day = -657434; day <= 2958465; day += 97) {
        std::int64_t y = 0;
        unsigned m = 0;
        unsigned d = 0;
        CivilFromDays(day + kOleDateEpoch, &y, &m, &d);
        ASSERT_EQ(DaysFromCivil(y, m, d) - kOleDateEpoch, day);
        ASSERT_GE(m, 1u);
        ASSERT_LE(d, DaysInMonth(y, m));
    }
}

TEST(DateNumberRules, LeapYearsFollowTheGregorianRule) {
    struct Case {
        std::int64_t year;
        unsigned february;
    } cases[] = {{1900, 28}, {2000, 29}, {2023, 28}, {2024, 29}, {2100, 28}, {1600, 29}};
    for (const Case& c : cases)
        EXPECT_EQ(DaysInMonth(c.year, 2), c.february) << c.year;
    EXPECT_EQ(DaysInMonth(2023, 4), 30u);
    EXPECT_EQ(DaysInMonth(2023, 12), 31u);
}

TEST(DateNumberRules, HalvesRoundToEven) {
    const double cases[][2] = {{0.5, 0},   {1.5, 2},    {2.5, 2},    {-0.5, 0},  {-1.5, -2},
                               {-2.5, -2}, {2.4999, 2}, {2.5001, 3}, {-2.6, -3}, {1e16 + 1, 1e16 + 1}};
    for (const auto& c : cases)
        EXPECT_EQ(RoundHalfEven(c[0]), c[1]) << c[0];
    EXPECT_TRUE(std::isinf(RoundHalfEven(std::numeric_limits<double>::infinity())));
    EXPECT_TRUE(std::isnan(RoundHalfEven(std::nan(""))));
}

TEST(DateNumberRules, DigitsOfEveryRadix) {
    EXPECT_EQ(DigitValue(u'0'), 0);
    EXPECT_EQ(DigitValue(u'9'), 9);
    EXPECT_EQ(DigitValue(u'a'), 10);
    EXPECT_EQ(DigitValue(u'F'), 15);
    EXPECT_EQ(DigitValue(u'g'), 99);
    EXPECT_EQ(DigitValue(u' '), 99);
    EXPECT_EQ(DigitValue(u'\u0660'), 99); // other scripts' digits are not digits here
}
