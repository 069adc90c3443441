#pragma once
// The calendar, rounding and digit rules that Automation's conversions and
// the script engine share: proleptic Gregorian days, banker's rounding, and
// the digits of decimal, hexadecimal and octal numbers.
#include <cstdint>

namespace zorv::com {

// Days since 1 January 1970 of a proleptic Gregorian date (month 1 to 12).
constexpr std::int64_t DaysFromCivil(std::int64_t year, unsigned month, unsigned day) {
    year -= month <= 2;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const auto yoe = static_cast<unsigned>(year - era * 400);
    const unsigned doy = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

// The date of a day counted as DaysFromCivil counts it.
void CivilFromDays(std::int64_t days, std::int64_t* year, unsigned* month, unsigned* day);

// Day 0 of an OLE date (30 December 1899), in DaysFromCivil's count.
inline constexpr std::int64_t kOleDateEpoch = DaysFromCivil(1899, 12, 30);

bool IsLeapYear(std::int64_t year);
unsigned DaysInMonth(std::int64_t year, unsigned month);

// To the nearest whole number, halves to the even one (2.5 -> 2, 3.5 -> 4);
// infinities and NaN unchanged.
double RoundHalfEven(double x);

// The value of a decimal or hexadecimal digit, either case; 99 for anything
// else (so that `DigitValue(c) < base` checks a digit of any base).
int DigitValue(char16_t c);
// The same, -1 for anything else.
int HexDigitValue(char16_t c);

} // namespace zorv::com
