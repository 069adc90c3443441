// The four name tables at and beyond their bounds.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "views/common_properties.h"
#include "views/opos_names.h"

using namespace zorv::views;

namespace {

struct NameCase {
    std::u16string (*format)(LONG);
    LONG code;
    std::u16string expected;
};

const NameCase kNameCases[] = {
    {StateToStr, 0, u"0"},
    {StateToStr, 1, u"OPOS_S_CLOSED"},
    {StateToStr, 2, u"OPOS_S_IDLE"},
    {StateToStr, 4, u"OPOS_S_ERROR"},
    {StateToStr, 5, u"5"},
    {StateToStr, 7, u"7"},
    {StateToStr, -1, u"-1"},
    {ResultCodeToStr, 0, u"0"},
    {ResultCodeToStr, 100, u"100"},
    {ResultCodeToStr, 101, u"OPOS_E_CLOSED"},
    {ResultCodeToStr, 106, u"OPOS_E_ILLEGAL"},
    {ResultCodeToStr, 114, u"OPOS_E_EXTENDED"},
    {ResultCodeToStr, 115, u"115"},
    {PowerReportingToStr, 0, u"OPOS_PR_NONE"},
    {PowerReportingToStr, 2, u"OPOS_PR_ADVANCED"},
    {PowerReportingToStr, 3, u"3"},
    {PowerReportingToStr, -1, u"-1"},
    {PowerStateToStr, 0, u"0"},
    {PowerStateToStr, 1999, u"1999"},
    {PowerStateToStr, 2000, u"OPOS_PS_UNKNOWN"},
    {PowerStateToStr, 2003, u"OPOS_PS_OFFLINE"},
    {PowerStateToStr, 2004, u"OPOS_PS_OFF_OFFLINE"},
    {PowerStateToStr, 2005, u"2005"},
};

} // namespace

TEST(OposNames, CodesInsideTheRangeAreNamedAndOthersWrittenInDecimal) {
    for (const NameCase& c : kNameCases)
        EXPECT_EQ(c.format(c.code), c.expected) << "code " << c.code;
}

TEST(OposNames, TheExtremeCodesShowTheirFullDecimalNumberInEveryTable) {
    for (auto format : {StateToStr, ResultCodeToStr, PowerReportingToStr, PowerStateToStr}) {
        EXPECT_EQ(format(INT32_MIN), u"-2147483648");
        EXPECT_EQ(format(INT32_MAX), u"2147483647");
        EXPECT_EQ(format(INT32_MIN + 1), u"-2147483647");
    }
}

TEST(OposNames, BooleansReadInEnglish) {
    EXPECT_EQ(BooleanToStr(true), u"True");
    EXPECT_EQ(BooleanToStr(false), u"False");
}
