// Dates, times and the locale-aware formatting functions of the runtime library.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "builtins_library.h"
#include "conversion.h"
#include "engine.h"
#include "interpreter.h"
#include "platform/com/text.h"
#include "script_error.h"
#include "script_locale.h"

namespace zorv::vbs::library {
namespace {

[[noreturn]] void InvalidCall() {
    throw ScriptError(kErrInvalidCall);
}

constexpr double kFirstDay = -657434.0; // 1 January 100
constexpr double kLastDay = 2958465.0;  // 31 December 9999

enum class Interval { Year, Quarter, Month, DayOfYear, Day, Weekday, Week, Hour, Minute, Second };

Interval IntervalArg(const Value& v) {
    if (v.IsNull())
        throw ScriptError(kErrInvalidUseOfNull);
    const std::u16string text = ToText(v);
    struct Name {
        std::u16string_view name;
        Interval interval;
    };
    static constexpr Name kNames[] = {{u"yyyy", Interval::Year}, {u"q", Interval::Quarter},
                                      {u"m", Interval::Month},   {u"y", Interval::DayOfYear},
                                      {u"d", Interval::Day},     {u"w", Interval::Weekday},
                                      {u"ww", Interval::Week},   {u"h", Interval::Hour},
                                      {u"n", Interval::Minute},  {u"s", Interval::Second}};
    for (const Name& n : kNames)
        if (com::EqualsIgnoringCase(text, n.name))
            return n.interval;
    InvalidCall();
}

// Dates before 1899 keep their time as a positive fraction (-1.25 is 29
// December 1899 at 06:00); arithmetic works on a straight time line instead.
double ToLinear(double date) {
    const double whole = std::trunc(date);
    return date < 0 ? whole + std::fabs(date - whole) : date;
}
double FromLinear(double linear) {
    const double days = std::floor(linear);
    const double fraction = linear - days;
    return days < 0 && fraction > 0 ? days - fraction : linear;
}
double CheckRange(double date) {
    if (!(std::trunc(date) >= kFirstDay && std::trunc(date) <= kLastDay))
        InvalidCall();
    return date;
}

int DaysIn(int year, int month) {
    return static_cast<int>(com::DaysInMonth(year, static_cast<unsigned>(month)));
}

int DayArg(Args a, std::size_t i, bool week) {
    const std::int32_t n = Given(a, i) ? ToLong(a[i]) : 1;
    if (n < 0 || n > (week ? 7 : 3))
        InvalidCall();
    if (n == 0)
        return week ? ActiveLocale().firstDayOfWeek : ActiveLocale().firstWeekOfYear;
    return n;
}

double DayNumber(double date) {
    return std::floor(ToLinear(date));
}

// Day 0 of the week that holds `day` when weeks start on `firstDay`.
double WeekStart(double day, int firstDay) {
    const DateParts p = SplitDate(day);
    return day - ((p.weekday - firstDay + 7) % 7);
}

// The first day of week 1 of `year`.
double FirstWeekStart(int year, int firstDay, int firstWeek) {
    const double jan1 = *MakeDate(year, 1, 1);
    const double start = WeekStart(jan1, firstDay);
    switch (firstWeek) {
    case 2:
        return jan1 - start >= 4 ? start + 7 : start; // at least four days in the new year
    case 3:
        return start == jan1 ? start : start + 7; // the first full week
    default:
        return start;
    }
}

int WeekOfYear(double date, int firstDay, int firstWeek) {
    const double day = DayNumber(date);
    int year = SplitDate(day).year;
    double start = FirstWeekStart(year, firstDay, firstWeek);
    if (day < start && year > 100)
        start = FirstWeekStart(--year, firstDay, firstWeek);
    if (firstWeek != 1 && year < 9999 && day >= FirstWeekStart(year + 1, firstDay, firstWeek))
        return 1;
    return static_cast<int>((day - start) / 7) + 1;
}

Value DatePartOf(Args a, int (*part)(const DateParts&)) {
    if (a[0].IsNull())
        return Value::Null();
    const DateParts p = SplitDate(ToDate(a[0]));
    return Value::Integer(static_cast<std::int16_t>(part(p)));
}

std::u16string Number(long long n, int width = 0) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%0*lld", width, n);
    return std::u16string(buffer, buffer + std::char_traits<char>::length(buffer));
}

std::u16string LongDate(double date) {
    const Locale& locale = ActiveLocale();
    const DateParts p = SplitDate(date);
    std::u16string out(locale.days[static_cast<std::size_t>(p.weekday - 1)]);
    const std::u16string_view month = locale.months[static_cast<std::size_t>(p.month - 1)];
    if (locale.dayFirst) {
        out += u" " + Number(p.day) + u" ";
        out += month;
        out += u" " + Number(p.year);
    } else {
        out += u", ";
        out += month;
        out += u" " + Number(p.day) + u", " + Number(p.year);
    }
    return out;
}

std::u16string TimeText(double date, bool seconds) {
    const Locale& locale = ActiveLocale();
    const DateParts p = SplitDate(date);
    if (!seconds)
        return Number(p.hour, 2) + u":" + Number(p.minute, 2);
    if (locale.clock24)
        return Number(p.hour, 2) + u":" + Number(p.minute, 2) + u":" + Number(p.second, 2);
    const int hour = p.hour % 12 == 0 ? 12 : p.hour % 12;
    return Number(hour) + u":" + Number(p.minute, 2) + u":" + Number(p.second, 2) +
           (p.hour < 12 ? u" AM" : u" PM");
}

// -1 True, 0 False, -2 the locale's choice.
bool Tristate(Args a, std::size_t i, bool fallback) {
    if (!Given(a, i))
        return fallback;
    const std::int32_t n = ToLong(a[i]);
    if (n == -2)
        return fallback;
    if (n != 0 && n != -1)
        InvalidCall();
    return n == -1;
}

struct NumberStyle {
    int digits;
    bool leadingZero;
    bool parens;
    bool group;
};

NumberStyle StyleArgs(Args a, bool parensByDefault) {
    NumberStyle style{2, true, parensByDefault, true};
    if (Given(a, 1)) {
        const std::int32_t digits = ToLong(a[1]);
        if (digits < -1 || digits > 99)
            InvalidCall();
        if (digits >= 0)
            style.digits = digits;
    }
    style.leadingZero = Tristate(a, 2, true);
    style.parens = Tristate(a, 3, parensByDefault);
    style.group = Tristate(a, 4, true);
    return style;
}

// The magnitude with `digits` decimals, halves rounded away from zero as
// the formatting functions do (Round rounds them to even instead).
std::u16string FixedText(double magnitude, const NumberStyle& style) {
    // Fifteen significant digits, the precision VBScript shows, rounded as decimal text.
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.14e", magnitude);
    std::string mantissa;
    for (const char* p = buffer; *p && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9')
            mantissa += *p;
    const int exponent = std::atoi(std::strchr(buffer, 'e') + 1);
    // The digits of round(magnitude * 10^digits), most significant first.
    const long keep = static_cast<long>(exponent) + 1 + style.digits;
    std::string digits;
    if (keep >= 0 && magnitude != 0) {
        if (keep >= static_cast<long>(mantissa.size())) {
            digits = mantissa + std::string(static_cast<std::size_t>(keep) - mantissa.size(), '0');
        } else {
            digits = mantissa.substr(0, static_cast<std::size_t>(keep));
            if (mantissa[static_cast<std::size_t>(keep)] >= '5') {
                int i = static_cast<int>(digits.size()) - 1;
                while (i >= 0 && digits[static_cast<std::size_t>(i)] == '9')
                    digits[static_cast<std::size_t>(i--)] = '0';
                if (i < 0)
                    digits.insert(digits.begin(), '1');
                else
                    ++digits[static_cast<std::size_t>(i)];
            }
        }
    }
    if (digits.size() <= static_cast<std::size_t>(style.digits))
        digits.insert(0, static_cast<std::size_t>(style.digits) + 1 - digits.size(), '0');
    const std::string whole = digits.substr(0, digits.size() - static_cast<std::size_t>(style.digits));
    const std::string fraction = digits.substr(whole.size());
    const Locale& locale = ActiveLocale();
    std::u16string out;
    if (whole != "0" || style.leadingZero) {
        for (std::size_t i = 0; i < whole.size(); ++i) {
            if (style.group && i > 0 && (whole.size() - i) % 3 == 0)
                out += locale.thousands;
            out += static_cast<char16_t>(whole[i]);
        }
    }
    if (!fraction.empty()) {
        out += locale.decimal;
        for (char c : fraction)
            out += static_cast<char16_t>(c);
    }
    return out;
}

double NumberArg(const Value& v) {
    if (v.IsNull())
        throw ScriptError(kErrInvalidUseOfNull);
    return ToDouble(v);
}

} // namespace

// DateAdd(interval, number, date)
Value DateAdd(Interpreter&, Args a) {
    const Interval interval = IntervalArg(a[0]);
    if (a[2].IsNull())
        return Value::Null();
    const double count = std::trunc(NumberArg(a[1]));
    const double date = ToDate(a[2]);
    switch (interval) {
    case Interval::Year:
    case Interval::Quarter:
    case Interval::Month: {
        const double months = count * (interval == Interval::Year      ? 12
                                       : interval == Interval::Quarter ? 3
                                                                       : 1);
        const DateParts p = SplitDate(date);
        const double total = p.year * 12.0 + (p.month - 1) + months;
        if (!(total >= 100 * 12.0 && total < 10000 * 12.0))
            InvalidCall();
        const int year = static_cast<int>(total / 12);
        const int month = static_cast<int>(total - year * 12.0) + 1;
        const double day = *MakeDate(year, month, std::min(p.day, DaysIn(year, month)));
        const double time = std::fabs(date - std::trunc(date));
        return Value::Date(CheckRange(day < 0 ? day - time : day + time));
    }
    default:
        break;
    }
    double seconds = 0;
    switch (interval) {
    case Interval::DayOfYear:
    case Interval::Day:
    case Interval::Weekday:
        seconds = count * 86400;
        break;
    case Interval::Week:
        seconds = count * 7 * 86400;
        break;
    case Interval::Hour:
        seconds = count * 3600;
        break;
    case Interval::Minute:
        seconds = count * 60;
        break;
    default:
        seconds = count;
        break;
    }
    const double linear = std::round(ToLinear(date) * 86400 + seconds) / 86400;
    if (!(linear >= kFirstDay && linear < kLastDay + 1))
        InvalidCall();
    return Value::Date(CheckRange(FromLinear(linear)));
}

// DateDiff(interval, date1, date2[, firstdayofweek[, firstweekofyear]])
Value DateDiff(Interpreter&, Args a) {
    const Interval interval = IntervalArg(a[0]);
    const int firstDay = DayArg(a, 3, true);
    DayArg(a, 4, false);
    if (a[1].IsNull() || a[2].IsNull())
        return Value::Null();
    const double d1 = ToDate(a[1]);
    const double d2 = ToDate(a[2]);
    const DateParts p1 = SplitDate(d1);
    const DateParts p2 = SplitDate(d2);
    const double l1 = ToLinear(d1);
    const double l2 = ToLinear(d2);
    auto units = [&](double perDay) {
        return std::floor(std::round(l2 * 86400) / 86400 * perDay + 1e-9) -
               std::floor(std::round(l1 * 86400) / 86400 * perDay + 1e-9);
    };
    double result = 0;
    switch (interval) {
    case Interval::Year:
        result = p2.year - p1.year;
        break;
    case Interval::Quarter:
        result = (p2.year * 4 + (p2.month - 1) / 3) - (p1.year * 4 + (p1.month - 1) / 3);
        break;
    case Interval::Month:
        result = (p2.year * 12 + p2.month) - (p1.year * 12 + p1.month);
        break;
    case Interval::DayOfYear:
    case Interval::Day:
        result = DayNumber(d2) - DayNumber(d1);
        break;
    case Interval::Weekday:
        result = std::trunc((DayNumber(d2) - DayNumber(d1)) / 7);
        break;
    case Interval::Week:
        result = (WeekStart(DayNumber(d2), firstDay) - WeekStart(DayNumber(d1), firstDay)) / 7;
        break;
    case Interval::Hour:
        result = units(24);
        break;
    case Interval::Minute:
        result = units(1440);
        break;
    case Interval::Second:
        result = units(86400);
        break;
    }
    if (std::fabs(result) > 2147483647.0)
        throw ScriptError(kErrOverflow);
    return Value::Long(static_cast<std::int32_t>(result));
}

// DatePart(interval, date[, firstdayofweek[, firstweekofyear]])
Value DatePart(Interpreter&, Args a) {
    const Interval interval = IntervalArg(a[0]);
    const int firstDay = DayArg(a, 2, true);
    const int firstWeek = DayArg(a, 3, false);
    if (a[1].IsNull())
        return Value::Null();
    const double date = ToDate(a[1]);
    const DateParts p = SplitDate(date);
    int result = 0;
    switch (interval) {
    case Interval::Year:
        result = p.year;
        break;
    case Interval::Quarter:
        result = (p.month - 1) / 3 + 1;
        break;
    case Interval::Month:
        result = p.month;
        break;
    case Interval::DayOfYear:
        result = static_cast<int>(DayNumber(date) - *MakeDate(p.year, 1, 1)) + 1;
        break;
    case Interval::Day:
        result = p.day;
        break;
    case Interval::Weekday:
        result = (p.weekday - firstDay + 7) % 7 + 1;
        break;
    case Interval::Week:
        result = WeekOfYear(date, firstDay, firstWeek);
        break;
    case Interval::Hour:
        result = p.hour;
        break;
    case Interval::Minute:
        result = p.minute;
        break;
    case Interval::Second:
        result = p.second;
        break;
    }
    return Value::Integer(static_cast<std::int16_t>(result));
}

// DateSerial(year, month, day): months and days out of range roll over.
Value DateSerial(Interpreter&, Args a) {
    std::int32_t year = ToInteger(a[0]);
    const std::int32_t month = ToInteger(a[1]);
    const std::int32_t day = ToInteger(a[2]);
    if (year >= 0 && year < 30)
        year += 2000;
    else if (year >= 30 && year < 100)
        year += 1900;
    const auto date = MakeDate(year, month, day);
    if (!date)
        InvalidCall();
    return Value::Date(CheckRange(*date));
}

// TimeSerial(hour, minute, second)
Value TimeSerial(Interpreter&, Args a) {
    const double seconds = ToInteger(a[0]) * 3600.0 + ToInteger(a[1]) * 60.0 + ToInteger(a[2]);
    return Value::Date(CheckRange(FromLinear(seconds / 86400)));
}

Value DateValue(Interpreter&, Args a) {
    if (a[0].IsNull())
        return Value::Null();
    return Value::Date(std::trunc(ToDate(a[0])));
}

Value TimeValue(Interpreter&, Args a) {
    if (a[0].IsNull())
        return Value::Null();
    const double date = ToDate(a[0]);
    return Value::Date(std::fabs(date - std::trunc(date)));
}

Value Year(Interpreter&, Args a) {
    return DatePartOf(a, [](const DateParts& p) { return p.year; });
}
Value Month(Interpreter&, Args a) {
    return DatePartOf(a, [](const DateParts& p) { return p.month; });
}
Value Day(Interpreter&, Args a) {
    return DatePartOf(a, [](const DateParts& p) { return p.day; });
}
Value Hour(Interpreter&, Args a) {
    return DatePartOf(a, [](const DateParts& p) { return p.hour; });
}
Value Minute(Interpreter&, Args a) {
    return DatePartOf(a, [](const DateParts& p) { return p.minute; });
}
Value Second(Interpreter&, Args a) {
    return DatePartOf(a, [](const DateParts& p) { return p.second; });
}

// Weekday(date[, firstdayofweek])
Value Weekday(Interpreter&, Args a) {
    const int firstDay = DayArg(a, 1, true);
    if (a[0].IsNull())
        return Value::Null();
    const DateParts p = SplitDate(ToDate(a[0]));
    return Value::Integer(static_cast<std::int16_t>((p.weekday - firstDay + 7) % 7 + 1));
}

// WeekdayName(weekday[, abbreviate[, firstdayofweek]])
Value WeekdayName(Interpreter&, Args a) {
    const std::int32_t weekday = ToLong(a[0]);
    const bool abbreviate = Given(a, 1) && ToBool(a[1]);
    const int firstDay = DayArg(a, 2, true);
    if (weekday < 1 || weekday > 7)
        InvalidCall();
    const std::size_t index = static_cast<std::size_t>((weekday - 1 + firstDay - 1) % 7);
    const Locale& locale = ActiveLocale();
    return Value::String(abbreviate ? locale.daysShort[index] : locale.days[index]);
}

// MonthName(month[, abbreviate])
Value MonthName(Interpreter&, Args a) {
    const std::int32_t month = ToLong(a[0]);
    const bool abbreviate = Given(a, 1) && ToBool(a[1]);
    if (month < 1 || month > 12)
        InvalidCall();
    const Locale& locale = ActiveLocale();
    const std::size_t index = static_cast<std::size_t>(month - 1);
    return Value::String(abbreviate ? locale.monthsShort[index] : locale.months[index]);
}

Value IsDate(Interpreter&, Args a) {
    const Value& v = a[0];
    if (v.Is(VType::Date))
        return Value::Bool(true);
    if (v.Is(VType::String))
        return Value::Bool(ParseDateText(v.Str()).has_value());
    return Value::Bool(false);
}

Value CDate(Interpreter&, Args a) {
    return Value::Date(ToDate(a[0]));
}

// FormatNumber(expression[, digits[, leadingdigit[, parens[, groupdigits]]]])
Value FormatNumber(Interpreter&, Args a) {
    const double n = NumberArg(a[0]);
    const NumberStyle style = StyleArgs(a, false);
    const std::u16string text = FixedText(std::fabs(n), style);
    if (n >= 0)
        return Value::String(text);
    return Value::String(style.parens ? u"(" + text + u")" : u"-" + text);
}

// FormatCurrency(expression[, digits[, leadingdigit[, parens[, groupdigits]]]])
Value FormatCurrency(Interpreter&, Args a) {
    const Locale& locale = ActiveLocale();
    const double n = NumberArg(a[0]);
    const NumberStyle style = StyleArgs(a, locale.currencyParens);
    std::u16string text = FixedText(std::fabs(n), style);
    if (locale.currencyFirst)
        text = std::u16string(locale.currency) + text;
    else
        text += std::u16string(1, 0xA0) + std::u16string(locale.currency);
    if (n >= 0)
        return Value::String(text);
    return Value::String(style.parens ? u"(" + text + u")" : u"-" + text);
}

// FormatPercent(expression[, digits[, leadingdigit[, parens[, groupdigits]]]])
Value FormatPercent(Interpreter&, Args a) {
    const double n = NumberArg(a[0]) * 100;
    const NumberStyle style = StyleArgs(a, false);
    const std::u16string text = FixedText(std::fabs(n), style) + u"%";
    if (n >= 0)
        return Value::String(text);
    return Value::String(style.parens ? u"(" + text + u")" : u"-" + text);
}

// FormatDateTime(date[, namedformat])
Value FormatDateTime(Interpreter&, Args a) {
    if (a[0].IsNull())
        throw ScriptError(kErrInvalidUseOfNull);
    const std::int32_t format = Given(a, 1) ? ToLong(a[1]) : 0;
    const double date = ToDate(a[0]);
    switch (format) {
    case 0:
        return Value::String(FormatDate(date));
    case 1:
        return Value::String(LongDate(date));
    case 2:
        return Value::String(FormatDate(std::trunc(date)));
    case 3:
        return Value::String(TimeText(date, true));
    case 4:
        return Value::String(TimeText(date, false));
    default:
        InvalidCall();
    }
}

Value GetLocale(Interpreter& vm, Args) {
    return Value::Long(static_cast<std::int32_t>(vm.GetEngine().locale->lcid));
}

// SetLocale([lcid or name]): the previous LCID; none or 0 is the default, French (France).
Value SetLocale(Interpreter& vm, Args a) {
    Engine& engine = vm.GetEngine();
    const std::int32_t previous = static_cast<std::int32_t>(engine.locale->lcid);
    const Locale* next = &FrenchLocale();
    if (Given(a, 0)) {
        const Value& v = a[0];
        if (v.Is(VType::String)) {
            next = v.Str().empty() ? &FrenchLocale() : FindLocale(v.Str());
        } else {
            const std::int32_t lcid = ToLong(v);
            next = lcid == 0 ? &FrenchLocale() : FindLocale(static_cast<std::uint32_t>(lcid));
        }
    }
    if (next == nullptr)
        InvalidCall();
    engine.locale = next;
    SetActiveLocale(*next);
    return Value::Long(previous);
}

} // namespace zorv::vbs::library
