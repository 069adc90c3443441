#pragma once
// VBScript's conversions between subtypes: numbers from texts, texts from
// numbers and dates, banker's rounding, and the checked narrowing that
// CInt, CLng, CByte and friends perform.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/com/date_number_rules.h"
#include "value.h"

namespace zorv::vbs {

// Round half to even, as every VBScript conversion to an integer does.
using com::RoundHalfEven; // banker's rounding, shared with Automation's conversions

// A number written as VBScript reads texts: spaces around, a sign, the
// locale's decimal sign, an exponent, or &H / &O prefixes.
std::optional<double> ParseNumber(std::u16string_view text);

// Values as numbers; objects must have been replaced by their default
// value before. Null raises 94, a text that is no number 13.
double ToDouble(const Value& value);
std::int32_t ToLong(const Value& value);
std::int16_t ToInteger(const Value& value);
std::uint8_t ToByte(const Value& value);
bool ToBool(const Value& value);
std::u16string ToText(const Value& value);
// Appends the text form without building a temporary when it can.
void AppendText(std::u16string& out, const Value& value);

// The value as a number of its own subtype: Empty is Integer 0, Boolean an
// Integer, a text a Double; numbers stay as they are.
Value ToNumeric(const Value& value);

std::u16string FormatDouble(double value, int digits);
std::u16string FormatCurrency(std::int64_t scaled);
std::u16string FormatDate(double date);

// Dates as VBScript counts them: days since 30 December 1899.
std::optional<double> MakeDate(int year, int month, int day);
double MakeTime(int hour, int minute, int second);
struct DateParts {
    int year, month, day, hour, minute, second, weekday; // weekday 1 = Sunday
};
DateParts SplitDate(double date);
// A date written as the active locale writes it (31/12/2024 in French,
// 12/31/2024 in English, 2024-12-31 in both, month names, a time after).
std::optional<double> ParseDateText(std::u16string_view text);
// A value as a date (CDate): numbers as they stand, texts by ParseDateText;
// Null raises 94, anything else that is no date 13.
double ToDate(const Value& value);

// The text of a #...# literal: m/d/yyyy or yyyy-mm-dd, then an optional time.
std::optional<double> ParseDateLiteral(std::u16string_view text);

} // namespace zorv::vbs
