// OPOS print data split into text and escape tokens: every sequence the
// parser knows, its number and default, and malformed input kept as written.
#include <gtest/gtest.h>

#include "protocols/print/escape_sequences.h"

using namespace zorv::opos::print;

namespace {

const std::u16string E = u"\x1B|";

struct OneSequence {
    std::u16string input;
    TokenKind kind;
    int32_t number;
    bool off;
};

class Sequences : public ::testing::TestWithParam<OneSequence> {};

TEST_P(Sequences, ParseToOneToken) {
    const OneSequence& c = GetParam();
    const auto tokens = ParseEscapes(c.input);
    ASSERT_EQ(tokens.size(), 1u);
    EXPECT_STREQ(TokenKindName(tokens[0].kind), TokenKindName(c.kind));
    EXPECT_EQ(tokens[0].number, c.number);
    EXPECT_EQ(tokens[0].off, c.off);
}

INSTANTIATE_TEST_SUITE_P(Known, Sequences,
                         ::testing::Values(OneSequence{E + u"N", TokenKind::Normal, 0, false},
                                           OneSequence{E + u"bC", TokenKind::Bold, 0, false},
                                           OneSequence{E + u"!bC", TokenKind::Bold, 0, true},
                                           OneSequence{E + u"uC", TokenKind::Underline, 1, false},
                                           OneSequence{E + u"2uC", TokenKind::Underline, 2, false},
                                           OneSequence{E + u"!uC", TokenKind::Underline, 1, true},
                                           OneSequence{E + u"iC", TokenKind::Italic, 0, false},
                                           OneSequence{E + u"rvC", TokenKind::Reverse, 0, false},
                                           OneSequence{E + u"!rvC", TokenKind::Reverse, 0, true},
                                           OneSequence{E + u"rC", TokenKind::AlternateColor, 0, false},
                                           OneSequence{E + u"50sC", TokenKind::Shading, 50, false},
                                           OneSequence{E + u"tpC", TokenKind::Superscript, 0, false},
                                           OneSequence{E + u"tbC", TokenKind::Subscript, 0, false},
                                           OneSequence{E + u"1C", TokenKind::Size, 1, false},
                                           OneSequence{E + u"4C", TokenKind::Size, 4, false},
                                           OneSequence{E + u"2hC", TokenKind::ScaleHorizontal, 2, false},
                                           OneSequence{E + u"3vC", TokenKind::ScaleVertical, 3, false},
                                           OneSequence{E + u"fT", TokenKind::Typeface, 0, false},
                                           OneSequence{E + u"2fT", TokenKind::Typeface, 2, false},
                                           OneSequence{E + u"lA", TokenKind::AlignLeft, 0, false},
                                           OneSequence{E + u"cA", TokenKind::AlignCenter, 0, false},
                                           OneSequence{E + u"rA", TokenKind::AlignRight, 0, false},
                                           OneSequence{E + u"P", TokenKind::Cut, 100, false},
                                           OneSequence{E + u"75P", TokenKind::Cut, 75, false},
                                           OneSequence{E + u"0P", TokenKind::Cut, 0, false},
                                           OneSequence{E + u"fP", TokenKind::FeedCut, 100, false},
                                           OneSequence{E + u"90fP", TokenKind::FeedCut, 90, false},
                                           OneSequence{E + u"sP", TokenKind::FeedCutStamp, 100, false},
                                           OneSequence{E + u"sL", TokenKind::FireStamp, 0, false},
                                           OneSequence{E + u"tL", TokenKind::TopLogo, 0, false},
                                           OneSequence{E + u"bL", TokenKind::BottomLogo, 0, false},
                                           OneSequence{E + u"lF", TokenKind::FeedLines, 1, false},
                                           OneSequence{E + u"5lF", TokenKind::FeedLines, 5, false},
                                           OneSequence{E + u"30uF", TokenKind::FeedUnits, 30, false},
                                           OneSequence{E + u"2rF", TokenKind::FeedReverse, 2, false},
                                           OneSequence{E + u"3B", TokenKind::Bitmap, 3, false}));

// Well-formed but not the standard's, out of range, or cut short: kept whole.
INSTANTIATE_TEST_SUITE_P(Rejected, Sequences,
                         ::testing::Values(OneSequence{E + u"zzQ", TokenKind::Unknown, 0, false},
                                           OneSequence{E + u"5C", TokenKind::Unknown, 0, false},
                                           OneSequence{E + u"C", TokenKind::Unknown, 0, false},
                                           OneSequence{E + u"101P", TokenKind::Unknown, 0, false},
                                           OneSequence{E + u"!N", TokenKind::Unknown, 0, false},
                                           OneSequence{E + u"!2bC", TokenKind::Unknown, 0, false},
                                           OneSequence{E + u"3iC", TokenKind::Unknown, 0, false},
                                           OneSequence{E + u"B", TokenKind::Unknown, 0, false},
                                           OneSequence{E + u"12lf", TokenKind::Unknown, 0, false},
                                           OneSequence{E, TokenKind::Unknown, 0, false}));

TEST(EscapeText, TextRunsSurroundTokensAndKeepEveryCharacter) {
    const auto tokens = ParseEscapes(u"Total" + E + u"bC 12,50 \u20AC" + E + u"N\n");
    ASSERT_EQ(tokens.size(), 5u);
    EXPECT_EQ(tokens[0].text, u"Total");
    EXPECT_EQ(tokens[1].kind, TokenKind::Bold);
    EXPECT_EQ(tokens[2].text, u" 12,50 \u20AC");
    EXPECT_EQ(tokens[3].kind, TokenKind::Normal);
    EXPECT_EQ(tokens[4].text, u"\n");
}

TEST(EscapeText, UnknownSequencesKeepTheirTextAndParsingGoesOn) {
    const auto tokens = ParseEscapes(E + u"9zzQ" + u"A" + E + u"ab1" + u"B\x1B" + u"x");
    ASSERT_EQ(tokens.size(), 4u);
    EXPECT_EQ(tokens[0].kind, TokenKind::Unknown);
    EXPECT_EQ(tokens[0].text, E + u"9zzQ");
    EXPECT_EQ(tokens[1].text, u"A");
    // A lower-case run that meets a digit is not a sequence: the digit starts text again.
    EXPECT_EQ(tokens[2].kind, TokenKind::Unknown);
    EXPECT_EQ(tokens[2].text, E + u"ab");
    // An ESC without the bar is ordinary data.
    EXPECT_EQ(tokens[3].text, u"1B\x1Bx");
}

TEST(EscapeText, HugeNumbersDoNotOverflow) {
    const auto tokens = ParseEscapes(E + u"99999999999999lF");
    ASSERT_FALSE(tokens.empty());
    EXPECT_EQ(tokens[0].kind, TokenKind::Unknown);
}

TEST(EscapeEmbedded, TakesExactlyTheAnnouncedCharacters) {
    const auto tokens = ParseEscapes(E + u"3E" + u"\x1D\x56\x01" + u"after");
    ASSERT_EQ(tokens.size(), 2u);
    EXPECT_EQ(tokens[0].kind, TokenKind::Embedded);
    EXPECT_EQ(tokens[0].text, u"\x1D\x56\x01");
    EXPECT_EQ(tokens[1].text, u"after");
    const auto shortBlock = ParseEscapes(E + u"10E" + u"ab");
    ASSERT_EQ(shortBlock.size(), 1u);
    EXPECT_EQ(shortBlock[0].text, u"ab");
}

TEST(EscapeBarcode, ReadsEveryField) {
    const std::u16string block = u"s104h80w400a-2t-13d{A12345e";
    const auto tokens = ParseEscapes(E + std::u16string(u"27R") + block + u"tail");
    ASSERT_EQ(tokens.size(), 2u);
    ASSERT_EQ(tokens[0].kind, TokenKind::Barcode);
    const BarcodeRequest expected{104, 80, 400, -2, -13, u"{A12345"};
    EXPECT_EQ(*tokens[0].barcode, expected);
    EXPECT_EQ(tokens[1].text, u"tail");
}

TEST(EscapeBarcode, LengthLetsTheDataHoldAnE) {
    const auto tokens = ParseEscapes(E + u"10Rs108dABeCe");
    ASSERT_EQ(tokens.size(), 1u);
    ASSERT_TRUE(tokens[0].barcode);
    EXPECT_EQ(tokens[0].barcode->data, u"ABeC");
    const auto unsized = ParseEscapes(E + u"Rs101d012345678905e!");
    ASSERT_EQ(unsized.size(), 2u);
    EXPECT_EQ(unsized[0].barcode->data, u"012345678905");
}

TEST(EscapeBarcode, MalformedDefinitionsBecomeUnknown) {
    for (const std::u16string& bad :
         {E + u"Rh10d123e", E + u"Rs101d123", E + u"Rs101x5d1e", E + u"50Rs101d1e", E + u"Rs101h-d1e"}) {
        const auto tokens = ParseEscapes(bad);
        ASSERT_FALSE(tokens.empty());
        EXPECT_EQ(tokens[0].kind, TokenKind::Unknown);
        std::u16string joined;
        for (const Token& token : tokens)
            joined += token.text;
        EXPECT_EQ(joined, bad);
    }
}

} // namespace
