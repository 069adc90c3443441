#include "conversion.h"

#include <cmath>
#include <cstdio>
#include <ctime>
#include <limits>
#include <vector>

#include "com_bridge.h"
#include "platform/com/text.h"
#include "script_error.h"
#include "script_locale.h"

namespace zorv::vbs {
namespace {

bool IsSpace(char16_t c) {
    return c == u' ' || c == u'\t' || c == 0xA0 || c == u'\r' || c == u'\n';
}

std::u16string_view TrimSpaces(std::u16string_view text) {
    while (!text.empty() && IsSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

std::optional<double> ParseRadix(std::u16string_view digits, int radix) {
    if (digits.empty() || digits.size() > 22)
        return std::nullopt;
    std::uint64_t value = 0;
    for (char16_t c : digits) {
        const int d = com::DigitValue(c);
        if (d >= radix)
            return std::nullopt;
        value = value * radix + d;
        if (value > 0xFFFFFFFFull)
            return std::nullopt;
    }
    // &HFFFF in a text reads as a 16-bit pattern when it fits, as the original does.
    if (value <= 0xFFFF && digits.size() <= (radix == 16 ? 4u : 6u))
        return static_cast<double>(static_cast<std::int16_t>(value));
    return static_cast<double>(static_cast<std::int32_t>(static_cast<std::uint32_t>(value)));
}

std::optional<double> ParseDecimal(std::u16string_view text, char16_t decimal) {
    std::string ascii;
    ascii.reserve(text.size());
    std::size_t i = 0;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        ascii += static_cast<char>(text[i++]);
    bool digits = false;
    while (i < text.size() && text[i] >= u'0' && text[i] <= u'9') {
        ascii += static_cast<char>(text[i++]);
        digits = true;
    }
    if (i < text.size() && text[i] == decimal) {
        ascii += '.';
        ++i;
        while (i < text.size() && text[i] >= u'0' && text[i] <= u'9') {
            ascii += static_cast<char>(text[i++]);
            digits = true;
        }
    }
    if (!digits)
        return std::nullopt;
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E' || text[i] == u'd' || text[i] == u'D')) {
        ascii += 'e';
        ++i;
        if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
            ascii += static_cast<char>(text[i++]);
        bool exponent = false;
        while (i < text.size() && text[i] >= u'0' && text[i] <= u'9') {
            ascii += static_cast<char>(text[i++]);
            exponent = true;
        }
        if (!exponent)
            return std::nullopt;
    }
    if (i != text.size())
        return std::nullopt;
    const double value = std::strtod(ascii.c_str(), nullptr);
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}

[[noreturn]] void Mismatch() {
    throw ScriptError(kErrTypeMismatch);
}

double TextToDouble(std::u16string_view text) {
    const auto number = ParseNumber(text);
    if (!number)
        Mismatch();
    return *number;
}

std::int32_t CheckedLong(double value) {
    const double rounded = RoundHalfEven(value);
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0))
        throw ScriptError(kErrOverflow);
    return static_cast<std::int32_t>(rounded);
}

void AppendTwo(std::u16string& out, int n) {
    out += static_cast<char16_t>(u'0' + n / 10 % 10);
    out += static_cast<char16_t>(u'0' + n % 10);
}

void AppendNumber(std::u16string& out, long long n) {
    char buffer[24];
    const int length = std::snprintf(buffer, sizeof buffer, "%lld", n);
    out.append(buffer, buffer + length);
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

void AppendDatePart(std::u16string& out, const DateParts& p, const Locale& locale) {
    auto field = [&](int n) {
        if (locale.twoDigitDayMonth)
            AppendTwo(out, n);
        else
            AppendNumber(out, n);
    };
    field(locale.dayFirst ? p.day : p.month);
    out += u'/';
    field(locale.dayFirst ? p.month : p.day);
    out += u'/';
    AppendNumber(out, p.year);
}

void AppendTimePart(std::u16string& out, const DateParts& p, const Locale& locale) {
    if (locale.clock24) {
        AppendTwo(out, p.hour);
    } else {
        const int hour = p.hour % 12 == 0 ? 12 : p.hour % 12;
        AppendNumber(out, hour);
    }
    out += u':';
    AppendTwo(out, p.minute);
    out += u':';
    AppendTwo(out, p.second);
    if (!locale.clock24)
        out += p.hour < 12 ? u" AM" : u" PM";
}

} // namespace

std::optional<double> ParseNumber(std::u16string_view text) {
    text = TrimSpaces(text);
    if (text.size() > 2 && text[0] == u'&') {
        if (text[1] == u'h' || text[1] == u'H')
            return ParseRadix(text.substr(2), 16);
        if (text[1] == u'o' || text[1] == u'O')
            return ParseRadix(text.substr(2), 8);
    }
    return ParseDecimal(text, ActiveLocale().decimal);
}

double ToDouble(const Value& value) {
    switch (value.Type()) {
    case VType::Empty:
        return 0;
    case VType::Integer:
    case VType::Long:
    case VType::Byte:
    case VType::Boolean:
        return value.I();
    case VType::Single:
        return value.F();
    case VType::Double:
    case VType::Date:
        return value.D();
    case VType::Currency:
        return static_cast<double>(value.Cy()) / 10000.0;
    case VType::String:
        return TextToDouble(value.Str());
    case VType::Null:
        throw ScriptError(kErrInvalidUseOfNull);
    case VType::Ref:
        return ToDouble(*value.Target());
    case VType::Object:
        return ToDouble(DefaultValue(value));
    default:
        Mismatch();
    }
}

std::int32_t ToLong(const Value& value) {
    switch (value.Type()) {
    case VType::Integer:
    case VType::Long:
    case VType::Byte:
    case VType::Boolean:
        return value.I();
    case VType::Empty:
        return 0;
    default:
        return CheckedLong(ToDouble(value));
    }
}

std::int16_t ToInteger(const Value& value) {
    const std::int32_t n = ToLong(value);
    if (n < -32768 || n > 32767)
        throw ScriptError(kErrOverflow);
    return static_cast<std::int16_t>(n);
}

std::uint8_t ToByte(const Value& value) {
    // A Boolean keeps its low byte: True is 255.
    if (value.Deref().Is(VType::Boolean))
        return static_cast<std::uint8_t>(value.Deref().I() & 0xFF);
    const std::int32_t n = ToLong(value);
    if (n < 0 || n > 255)
        throw ScriptError(kErrOverflow);
    return static_cast<std::uint8_t>(n);
}

bool ToBool(const Value& value) {
    switch (value.Type()) {
    case VType::Boolean:
    case VType::Integer:
    case VType::Long:
    case VType::Byte:
        return value.I() != 0;
    case VType::Empty:
        return false;
    case VType::String: {
        const std::u16string_view text = TrimSpaces(value.Str());
        const Locale& locale = ActiveLocale();
        // "#TRUE#" and "#FALSE#" are how Boolean values are written to files.
        for (std::u16string_view yes :
             {std::u16string_view(u"True"), std::u16string_view(u"#TRUE#"), locale.trueText})
            if (com::EqualsIgnoringCase(text, yes))
                return true;
        for (std::u16string_view no :
             {std::u16string_view(u"False"), std::u16string_view(u"#FALSE#"), locale.falseText})
            if (com::EqualsIgnoringCase(text, no))
                return false;
        return TextToDouble(text) != 0;
    }
    default:
        return ToDouble(value) != 0;
    }
}

Value ToNumeric(const Value& value) {
    switch (value.Type()) {
    case VType::Empty:
        return Value::Integer(0);
    case VType::Boolean:
        return Value::Integer(static_cast<std::int16_t>(value.I()));
    case VType::String:
        return Value::Double(TextToDouble(value.Str()));
    case VType::Ref:
        return ToNumeric(*value.Target());
    case VType::Object:
        return ToNumeric(DefaultValue(value));
    case VType::Null:
        return value;
    default:
        if (value.IsNumeric())
            return value;
        Mismatch();
    }
}

std::u16string FormatDouble(double value, int digits) {
    if (std::isnan(value))
        return u"-1.#IND";
    if (std::isinf(value))
        return value > 0 ? u"1.#INF" : u"-1.#INF";
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*G", digits, value);
    std::u16string out;
    const char16_t decimal = ActiveLocale().decimal;
    for (const char* p = buffer; *p; ++p)
        out += *p == '.' ? decimal : static_cast<char16_t>(*p);
    if (out == u"-0")
        out = u"0";
    return out;
}

std::u16string FormatCurrency(std::int64_t scaled) {
    std::u16string out;
    std::uint64_t magnitude =
        scaled < 0 ? 0 - static_cast<std::uint64_t>(scaled) : static_cast<std::uint64_t>(scaled);
    if (scaled < 0)
        out += u'-';
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%llu", static_cast<unsigned long long>(magnitude / 10000));
    for (const char* p = buffer; *p; ++p)
        out += static_cast<char16_t>(*p);
    unsigned fraction = static_cast<unsigned>(magnitude % 10000);
    if (fraction != 0) {
        std::snprintf(buffer, sizeof buffer, "%04u", fraction);
        std::string digits(buffer);
        while (!digits.empty() && digits.back() == '0')
            digits.pop_back();
        out += ActiveLocale().decimal;
        for (char c : digits)
            out += static_cast<char16_t>(c);
    }
    return out;
}

std::optional<double> MakeDate(int year, int month, int day) {
    // Months and days outside their range carry over, as DateSerial does.
    std::int64_t y = year;
    std::int64_t m = month - 1;
    y += FloorDiv(m, 12);
    m -= FloorDiv(m, 12) * 12;
    if (y < 100 || y > 9999)
        return std::nullopt;
    const std::int64_t first = com::DaysFromCivil(y, static_cast<unsigned>(m + 1), 1);
    return static_cast<double>(first - com::kOleDateEpoch + (day - 1));
}

double MakeTime(int hour, int minute, int second) {
    return (static_cast<double>(hour) * 3600 + minute * 60 + second) / 86400.0;
}

DateParts SplitDate(double date) {
    DateParts p{};
    double whole = std::trunc(date);
    double fraction = std::fabs(date - whole);
    long long seconds = std::llround(fraction * 86400.0);
    if (seconds >= 86400) {
        seconds -= 86400;
        whole += date < 0 ? -1 : 1;
    }
    p.hour = static_cast<int>(seconds / 3600);
    p.minute = static_cast<int>(seconds / 60 % 60);
    p.second = static_cast<int>(seconds % 60);
    std::int64_t year = 0;
    unsigned month = 0;
    unsigned day = 0;
    com::CivilFromDays(static_cast<std::int64_t>(whole) + com::kOleDateEpoch, &year, &month, &day);
    p.day = static_cast<int>(day);
    p.month = static_cast<int>(month);
    p.year = static_cast<int>(year);
    // 30 December 1899 was a Saturday (7).
    p.weekday = static_cast<int>(((static_cast<std::int64_t>(whole) % 7) + 7 + 6) % 7) + 1;
    return p;
}

std::u16string FormatDate(double date) {
    const Locale& locale = ActiveLocale();
    const DateParts p = SplitDate(date);
    const bool hasTime = p.hour != 0 || p.minute != 0 || p.second != 0;
    const bool hasDate = std::trunc(date) != 0;
    std::u16string out;
    if (hasDate || !hasTime)
        AppendDatePart(out, p, locale);
    if (hasTime) {
        if (!out.empty())
            out += u' ';
        AppendTimePart(out, p, locale);
    }
    return out;
}

std::optional<double> ParseDateLiteral(std::u16string_view text) {
    text = TrimSpaces(text);
    int numbers[6] = {0, 0, 0, 0, 0, 0};
    int count = 0;
    std::size_t i = 0;
    bool iso = false;
    int dateFields = 0;
    bool pm = false;
    bool am = false;
    while (i < text.size() && count < 6) {
        if (text[i] < u'0' || text[i] > u'9')
            return std::nullopt;
        int n = 0;
        int digits = 0;
        while (i < text.size() && text[i] >= u'0' && text[i] <= u'9' && digits < 5) {
            n = n * 10 + (text[i++] - u'0');
            ++digits;
        }
        numbers[count++] = n;
        if (i >= text.size())
            break;
        const char16_t sep = text[i];
        if (sep == u'/' || sep == u'-') {
            iso = iso || (count == 1 && digits == 4);
            ++i;
        } else if (sep == u':') {
            if (dateFields == 0 && count == 1)
                dateFields = -1; // time only
            ++i;
        } else if (sep == u' ') {
            if (dateFields == 0)
                dateFields = count;
            while (i < text.size() && text[i] == u' ')
                ++i;
            if (i + 1 < text.size() &&
                (text[i] == u'A' || text[i] == u'a' || text[i] == u'P' || text[i] == u'p') &&
                (text[i + 1] == u'M' || text[i + 1] == u'm')) {
                pm = text[i] == u'P' || text[i] == u'p';
                am = !pm;
                i += 2;
                if (i != text.size())
                    return std::nullopt;
            }
        } else {
            return std::nullopt;
        }
    }
    if (i != text.size())
        return std::nullopt;
    if (dateFields == 0)
        dateFields = count;
    if (dateFields == -1)
        dateFields = 0;
    double result = 0;
    if (dateFields == 3) {
        const int year = iso ? numbers[0] : numbers[2];
        const int month = iso ? numbers[1] : numbers[0];
        const int day = iso ? numbers[2] : numbers[1];
        if (month < 1 || month > 12 || day < 1 || day > 31)
            return std::nullopt;
        const auto date = MakeDate(year < 100 ? (year < 30 ? 2000 + year : 1900 + year) : year, month, day);
        if (!date)
            return std::nullopt;
        result = *date;
    } else if (dateFields != 0) {
        return std::nullopt;
    }
    const int timeFields = count - dateFields;
    if (timeFields > 0) {
        int hour = numbers[dateFields];
        const int minute = timeFields > 1 ? numbers[dateFields + 1] : 0;
        const int second = timeFields > 2 ? numbers[dateFields + 2] : 0;
        if (pm && hour < 12)
            hour += 12;
        if (am && hour == 12)
            hour = 0;
        if (hour > 23 || minute > 59 || second > 59 || timeFields < 2)
            return std::nullopt;
        const double time = MakeTime(hour, minute, second);
        result = result < 0 ? result - time : result + time;
    }
    return result;
}

std::u16string ToText(const Value& value) {
    std::u16string out;
    AppendText(out, value);
    return out;
}

void AppendText(std::u16string& out, const Value& value) {
    switch (value.Type()) {
    case VType::Empty:
        return;
    case VType::String:
        out += value.Str();
        return;
    case VType::Integer:
    case VType::Long:
    case VType::Byte:
        AppendNumber(out, value.I());
        return;
    case VType::Error:
        out += u"Erreur ";
        AppendNumber(out, value.I() & 0xFFFF);
        return;
    case VType::Boolean:
        out += value.B() ? ActiveLocale().trueText : ActiveLocale().falseText;
        return;
    case VType::Single:
        out += FormatDouble(value.F(), 7);
        return;
    case VType::Double:
        out += FormatDouble(value.D(), 15);
        return;
    case VType::Currency:
        out += FormatCurrency(value.Cy());
        return;
    case VType::Date:
        out += FormatDate(value.D());
        return;
    case VType::Null:
        throw ScriptError(kErrInvalidUseOfNull);
    case VType::Ref:
        AppendText(out, *value.Target());
        return;
    case VType::Object:
        AppendText(out, DefaultValue(value));
        return;
    case VType::Array:
        Mismatch();
    }
}

} // namespace zorv::vbs

namespace zorv::vbs {
namespace {

int DaysInMonth(int year, int month) {
    return static_cast<int>(com::DaysInMonth(year, static_cast<unsigned>(month)));
}

// A month's number from its name or abbreviation in either locale, or 0.
int MonthFromName(std::u16string_view word) {
    while (!word.empty() && word.back() == u'.')
        word.remove_suffix(1);
    if (word.size() < 3)
        return 0;
    for (const Locale* locale : {&ActiveLocale(), &FrenchLocale(), &EnglishUsLocale()})
        for (int m = 0; m < 12; ++m) {
            std::u16string_view full = locale->months[m];
            std::u16string_view shortName = locale->monthsShort[m];
            while (!shortName.empty() && shortName.back() == u'.')
                shortName.remove_suffix(1);
            if (com::EqualsIgnoringCase(word, full) || com::EqualsIgnoringCase(word, shortName) ||
                (word.size() >= 3 && word.size() < full.size() &&
                 com::EqualsIgnoringCase(word, full.substr(0, word.size()))))
                return m + 1;
        }
    return 0;
}

bool IsDayName(std::u16string_view word) {
    while (!word.empty() && word.back() == u'.')
        word.remove_suffix(1);
    for (const Locale* locale : {&FrenchLocale(), &EnglishUsLocale()})
        for (int d = 0; d < 7; ++d) {
            std::u16string_view shortName = locale->daysShort[d];
            while (!shortName.empty() && shortName.back() == u'.')
                shortName.remove_suffix(1);
            if (com::EqualsIgnoringCase(word, locale->days[d]) || com::EqualsIgnoringCase(word, shortName))
                return true;
        }
    return false;
}

bool IsLetter(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0x24F);
}

} // namespace

std::optional<double> ParseDateText(std::u16string_view text) {
    text = TrimSpaces(text);
    if (text.empty() || text.size() > 80)
        return std::nullopt;
    struct Number {
        int value;
        int digits;
    };
    std::vector<Number> dateNumbers;
    std::vector<int> timeNumbers;
    int month = 0;
    int ampm = 0; // 1 AM, 2 PM
    bool inTime = false;
    std::size_t i = 0;
    while (i < text.size()) {
        const char16_t c = text[i];
        if (c >= u'0' && c <= u'9') {
            int n = 0;
            int digits = 0;
            while (i < text.size() && text[i] >= u'0' && text[i] <= u'9') {
                if (++digits > 4)
                    return std::nullopt;
                n = n * 10 + (text[i++] - u'0');
            }
            const bool colonNext = i < text.size() && text[i] == u':';
            if (colonNext || inTime) {
                timeNumbers.push_back(n);
                inTime = colonNext;
                if (colonNext)
                    ++i;
            } else {
                dateNumbers.push_back({n, digits});
            }
        } else if (IsLetter(c)) {
            const std::size_t start = i;
            while (i < text.size() && (IsLetter(text[i]) || text[i] == u'.'))
                ++i;
            const std::u16string_view word = text.substr(start, i - start);
            if (com::EqualsIgnoringCase(word, u"AM") || com::EqualsIgnoringCase(word, u"A")) {
                ampm = 1;
            } else if (com::EqualsIgnoringCase(word, u"PM") || com::EqualsIgnoringCase(word, u"P")) {
                ampm = 2;
            } else if (int m = MonthFromName(word); m != 0 && month == 0) {
                month = m;
            } else if (!IsDayName(word)) {
                return std::nullopt;
            }
        } else if (c == u'/' || c == u'-' || c == u'.' || c == u' ' || c == u',' || c == u'\t') {
            ++i;
        } else {
            return std::nullopt;
        }
    }
    if (timeNumbers.size() > 3 || (!timeNumbers.empty() && timeNumbers.size() < 2 && ampm == 0))
        return std::nullopt;
    if (timeNumbers.empty() && ampm != 0 && dateNumbers.size() == 1 && month == 0) {
        timeNumbers.push_back(dateNumbers[0].value); // "3 PM"
        dateNumbers.clear();
    }
    const Locale& locale = ActiveLocale();
    int year = 0, mon = 0, day = 0;
    bool hasDate = true;
    auto thisYear = [] {
        const std::time_t t = std::time(nullptr);
        std::tm local{};
        localtime_r(&t, &local);
        return local.tm_year + 1900;
    };
    if (month != 0) {
        mon = month;
        if (dateNumbers.size() == 2) {
            const bool yearFirst = dateNumbers[0].digits >= 3;
            day = yearFirst ? dateNumbers[1].value : dateNumbers[0].value;
            year = yearFirst ? dateNumbers[0].value : dateNumbers[1].value;
        } else if (dateNumbers.size() == 1) {
            day = dateNumbers[0].value;
            year = thisYear();
            if (day > 31) {
                year = day;
                day = 1;
            }
        } else {
            return std::nullopt;
        }
    } else if (dateNumbers.size() == 3) {
        if (dateNumbers[0].digits >= 3) {
            year = dateNumbers[0].value, mon = dateNumbers[1].value, day = dateNumbers[2].value;
        } else {
            year = dateNumbers[2].value;
            mon = locale.dayFirst ? dateNumbers[1].value : dateNumbers[0].value;
            day = locale.dayFirst ? dateNumbers[0].value : dateNumbers[1].value;
            if (mon > 12 && day <= 12)
                std::swap(mon, day);
        }
    } else if (dateNumbers.size() == 2) {
        const int a = dateNumbers[0].value;
        const int b = dateNumbers[1].value;
        if (dateNumbers[1].digits >= 3 || b > 31) { // month and year
            mon = a, year = b, day = 1;
        } else {
            year = thisYear();
            mon = locale.dayFirst ? b : a;
            day = locale.dayFirst ? a : b;
            if (mon > 12 && day <= 12)
                std::swap(mon, day);
        }
    } else if (dateNumbers.empty()) {
        hasDate = false;
    } else {
        return std::nullopt;
    }
    double result = 0;
    if (hasDate) {
        if (year < 100)
            year = year < 30 ? 2000 + year : 1900 + year;
        if (mon < 1 || mon > 12 || day < 1 || year > 9999 || day > DaysInMonth(year, mon))
            return std::nullopt;
        const auto date = MakeDate(year, mon, day);
        if (!date)
            return std::nullopt;
        result = *date;
    }
    if (!timeNumbers.empty()) {
        int hour = timeNumbers[0];
        const int minute = timeNumbers.size() > 1 ? timeNumbers[1] : 0;
        const int second = timeNumbers.size() > 2 ? timeNumbers[2] : 0;
        if (ampm != 0 && (hour < 1 || hour > 12))
            return std::nullopt;
        if (ampm == 2 && hour < 12)
            hour += 12;
        if (ampm == 1 && hour == 12)
            hour = 0;
        if (hour > 23 || minute > 59 || second > 59)
            return std::nullopt;
        const double time = MakeTime(hour, minute, second);
        result = result < 0 ? result - time : result + time;
    } else if (!hasDate) {
        return std::nullopt;
    }
    return result;
}

double ToDate(const Value& value) {
    switch (value.Type()) {
    case VType::Date:
        return value.D();
    case VType::Null:
        throw ScriptError(kErrInvalidUseOfNull);
    case VType::String: {
        if (const auto date = ParseDateText(value.Str()))
            return *date;
        if (const auto number = ParseNumber(value.Str()))
            return ToDate(Value::Double(*number));
        throw ScriptError(kErrTypeMismatch);
    }
    case VType::Ref:
        return ToDate(*value.Target());
    case VType::Object:
        return ToDate(DefaultValue(value));
    default: {
        if (!value.IsNumeric() && !value.IsEmpty())
            throw ScriptError(kErrTypeMismatch);
        const double d = ToDouble(value);
        // 1 January 100 to 31 December 9999.
        if (!(d >= -657434.0 && d < 2958466.0))
            throw ScriptError(kErrOverflow);
        return d;
    }
    }
}

} // namespace zorv::vbs
