#pragma once
// Currency: a 64-bit integer counting ten-thousandths, exact over its whole
// range (-922337203685477.5808 to 922337203685477.5807). Results outside it
// raise error 6; rounding to four decimals is half to even.
#include <cstdint>
#include <optional>
#include <string_view>

#include "value.h"

namespace zorv::vbs {

inline constexpr std::int64_t kCurrencyScale = 10000;

// A double as Currency: its whole part exactly, the fraction rounded.
std::int64_t CurrencyFromDouble(double value);
// A text written as the locale writes amounts (decimal and grouping signs,
// the currency sign before or after), read digit by digit with no rounding
// through a double; null when it is no such amount.
std::optional<std::int64_t> ParseCurrencyText(std::u16string_view text);
// Any value as Currency (CCur): integers and Booleans exactly, texts digit
// by digit. Null raises 94, what is no number 13.
std::int64_t ToCurrency(const Value& value);

std::int64_t CurrencyAdd(std::int64_t a, std::int64_t b);
std::int64_t CurrencySubtract(std::int64_t a, std::int64_t b);
std::int64_t CurrencyMultiply(std::int64_t a, std::int64_t b);
std::int64_t CurrencyNegate(std::int64_t a);
// To a multiple of `step` (a power of ten, in ten-thousandths).
std::int64_t CurrencyRound(std::int64_t a, std::int64_t step);
std::int64_t CurrencyFloor(std::int64_t a);    // Int
std::int64_t CurrencyTruncate(std::int64_t a); // Fix

} // namespace zorv::vbs
