#pragma once
// A signed 128-bit integer for the exact steps of number conversions: the
// compiler's own where it has one, else two 64-bit halves (32-bit targets).
#include <cstdint>

namespace zorv::com {

#if defined(__SIZEOF_INT128__)

using Int128 = __int128;

#else

class Int128 {
public:
    constexpr Int128() = default;
    constexpr Int128(int v) : Int128(static_cast<std::int64_t>(v)) {}
    constexpr Int128(long v) : Int128(static_cast<std::int64_t>(v)) {}
    constexpr Int128(long long v) : hi_(v < 0 ? ~std::uint64_t{0} : 0), lo_(static_cast<std::uint64_t>(v)) {}
    constexpr Int128(unsigned long long v) : hi_(0), lo_(v) {}
    constexpr Int128(unsigned long v) : hi_(0), lo_(v) {}
    constexpr Int128(unsigned v) : hi_(0), lo_(v) {}
    // Integral values only, below 2^64 in magnitude (what the conversions give).
    explicit Int128(double d) {
        const bool negative = d < 0;
        *this = Int128(static_cast<std::uint64_t>(negative ? -d : d));
        if (negative)
            *this = -*this;
    }

    template <class T> explicit constexpr operator T() const { return static_cast<T>(lo_); }

    friend constexpr bool operator==(Int128 a, Int128 b) { return a.hi_ == b.hi_ && a.lo_ == b.lo_; }
    friend constexpr bool operator<(Int128 a, Int128 b) {
        const auto ah = static_cast<std::int64_t>(a.hi_), bh = static_cast<std::int64_t>(b.hi_);
        return ah != bh ? ah < bh : a.lo_ < b.lo_;
    }
    friend constexpr bool operator>(Int128 a, Int128 b) { return b < a; }
    friend constexpr bool operator<=(Int128 a, Int128 b) { return !(b < a); }
    friend constexpr bool operator>=(Int128 a, Int128 b) { return !(a < b); }

    constexpr Int128 operator-() const { return Int128(~hi_, ~lo_) + Int128(1); }
    friend constexpr Int128 operator+(Int128 a, Int128 b) {
        const std::uint64_t lo = a.lo_ + b.lo_;
        return Int128(a.hi_ + b.hi_ + (lo < a.lo_ ? 1 : 0), lo);
    }
    friend constexpr Int128 operator-(Int128 a, Int128 b) { return a + -b; }
    friend constexpr Int128 operator*(Int128 a, Int128 b) {
        const std::uint64_t a0 = a.lo_ & 0xFFFFFFFF, a1 = a.lo_ >> 32;
        const std::uint64_t b0 = b.lo_ & 0xFFFFFFFF, b1 = b.lo_ >> 32;
        const std::uint64_t p00 = a0 * b0, p01 = a0 * b1, p10 = a1 * b0, p11 = a1 * b1;
        const std::uint64_t middle = (p00 >> 32) + (p01 & 0xFFFFFFFF) + (p10 & 0xFFFFFFFF);
        const std::uint64_t lo = (middle << 32) | (p00 & 0xFFFFFFFF);
        const std::uint64_t hi =
            p11 + (p01 >> 32) + (p10 >> 32) + (middle >> 32) + a.hi_ * b.lo_ + a.lo_ * b.hi_;
        return Int128(hi, lo);
    }
    friend constexpr Int128 operator/(Int128 a, Int128 b) { return Divide(a, b, nullptr); }
    friend constexpr Int128 operator%(Int128 a, Int128 b) {
        Int128 remainder;
        Divide(a, b, &remainder);
        return remainder;
    }
    friend constexpr Int128 operator&(Int128 a, Int128 b) { return Int128(a.hi_ & b.hi_, a.lo_ & b.lo_); }
    friend constexpr Int128 operator<<(Int128 a, int bits) {
        if (bits == 0)
            return a;
        if (bits >= 64)
            return Int128(a.lo_ << (bits - 64), 0);
        return Int128((a.hi_ << bits) | (a.lo_ >> (64 - bits)), a.lo_ << bits);
    }
    constexpr Int128& operator+=(Int128 b) { return *this = *this + b; }
    constexpr Int128& operator-=(Int128 b) { return *this = *this - b; }
    constexpr Int128& operator*=(Int128 b) { return *this = *this * b; }
    constexpr Int128& operator/=(Int128 b) { return *this = *this / b; }
    constexpr Int128& operator++() { return *this += 1; }
    constexpr Int128& operator--() { return *this -= 1; }
    explicit constexpr operator bool() const { return hi_ != 0 || lo_ != 0; }

private:
    constexpr Int128(std::uint64_t hi, std::uint64_t lo) : hi_(hi), lo_(lo) {}

    constexpr bool Negative() const { return static_cast<std::int64_t>(hi_) < 0; }
    constexpr bool Bit(int i) const { return ((i >= 64 ? hi_ >> (i - 64) : lo_ >> i) & 1) != 0; }

    // Truncating division, the remainder taking the dividend's sign, as C++'s.
    static constexpr Int128 Divide(Int128 a, Int128 b, Int128* remainder) {
        const bool negativeA = a.Negative(), negativeB = b.Negative();
        const Int128 n = negativeA ? -a : a, d = negativeB ? -b : b;
        Int128 quotient, rest;
        for (int i = 127; i >= 0; --i) {
            rest = (rest << 1) + Int128(n.Bit(i) ? 1 : 0);
            if (!(rest < d)) {
                rest -= d;
                quotient = quotient + (Int128(1) << i);
            }
        }
        if (remainder != nullptr)
            *remainder = negativeA ? -rest : rest;
        return negativeA != negativeB ? -quotient : quotient;
    }

    std::uint64_t hi_ = 0;
    std::uint64_t lo_ = 0;
};

#endif

} // namespace zorv::com
