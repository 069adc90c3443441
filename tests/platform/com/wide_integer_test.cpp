// The 128-bit steps of number conversion: on 32-bit targets a class of our
// own, elsewhere the compiler's type; both must give the same results.
#include <gtest/gtest.h>

#include <cstdint>

#include "platform/com/wide_integer.h"

using zorv::com::Int128;

namespace {

constexpr std::int64_t kMax = INT64_MAX;
constexpr std::int64_t kMin = INT64_MIN;

Int128 PowerOfTen(int n) {
    Int128 v = 1;
    for (int i = 0; i < n; ++i)
        v *= 10;
    return v;
}

} // namespace

TEST(WideInteger, CarriesAndBorrowsCrossTheHalves) {
    const Int128 max = kMax;
    const Int128 twice = max + max;
    EXPECT_TRUE(twice > max);
    EXPECT_EQ(static_cast<std::uint64_t>(twice), 0xFFFFFFFFFFFFFFFEull);
    EXPECT_EQ(twice - max, max);
    EXPECT_EQ((Int128(1) << 64) - 1, Int128(0xFFFFFFFFFFFFFFFFull));
    EXPECT_EQ(Int128(0) - Int128(1), Int128(-1));
    EXPECT_TRUE(Int128(-1) < Int128(0));
    EXPECT_TRUE(-(Int128(1) << 64) < Int128(kMin));
}

TEST(WideInteger, ProductsBeyondSixtyFourBitsDivideBackExactly) {
    const Int128 big = PowerOfTen(37); // the largest mantissa currency parsing builds
    EXPECT_EQ(big / PowerOfTen(18) / PowerOfTen(19), Int128(1));
    EXPECT_EQ(Int128(kMax) * Int128(kMax) / Int128(kMax), Int128(kMax));
    const Int128 mixed = PowerOfTen(30) + 123456789;
    EXPECT_EQ(mixed % PowerOfTen(9), Int128(123456789));
    EXPECT_EQ(mixed / PowerOfTen(9), PowerOfTen(21));
}

TEST(WideInteger, DivisionTruncatesTowardZeroAndTheRemainderTakesTheDividendsSign) {
    EXPECT_EQ(Int128(-7) / Int128(2), Int128(-3));
    EXPECT_EQ(Int128(-7) % Int128(2), Int128(-1));
    EXPECT_EQ(Int128(7) / Int128(-2), Int128(-3));
    EXPECT_EQ(Int128(7) % Int128(-2), Int128(1));
    EXPECT_EQ(-Int128(kMin), Int128(kMax) + 1);
}

TEST(WideInteger, DoublesAndNarrowingKeepTheValue) {
    EXPECT_EQ(static_cast<Int128>(-9007199254740992.0), Int128(-9007199254740992LL));
    EXPECT_EQ(static_cast<Int128>(18446744073709549568.0), Int128(18446744073709549568ull));
    EXPECT_EQ(static_cast<std::int64_t>(Int128(kMin)), kMin);
    EXPECT_EQ(static_cast<std::int8_t>(Int128(-128)), -128);
    const Int128 high = Int128(1) << 100;
    EXPECT_TRUE(static_cast<bool>(high));
    EXPECT_FALSE(static_cast<bool>(Int128(6) & Int128(1)));
}
