#include "currency.h"

#include <cmath>
#include <limits>

#include "com_bridge.h"
#include "conversion.h"
#include "platform/com/wide_integer.h"
#include "script_error.h"
#include "script_locale.h"

namespace zorv::vbs {
namespace {

// 64-bit amounts multiplied exactly before rounding back.
using Wide = com::Int128;

[[noreturn]] void Overflow() {
    throw ScriptError(kErrOverflow);
}

std::int64_t Checked(Wide n) {
    if (n < std::numeric_limits<std::int64_t>::min() || n > std::numeric_limits<std::int64_t>::max())
        Overflow();
    return static_cast<std::int64_t>(n);
}

// n / d rounded half to even (d > 0).
Wide DivideHalfEven(Wide n, Wide d) {
    Wide q = n / d;
    Wide r = n % d;
    if (r < 0) {
        --q;
        r += d;
    }
    if (2 * r > d || (2 * r == d && (q & 1) != 0))
        ++q;
    return q;
}

bool IsSpace(char16_t c) {
    return c == u' ' || c == u'\t' || c == 0xA0 || c == u'\r' || c == u'\n';
}

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

std::u16string_view Trimmed(std::u16string_view text) {
    while (!text.empty() && IsSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

// A leading sign, taken off; true when it is a minus.
bool TakeSign(std::u16string_view& text, bool& seen) {
    if (seen || text.empty() || (text.front() != u'+' && text.front() != u'-'))
        return false;
    seen = true;
    const bool negative = text.front() == u'-';
    text = Trimmed(text.substr(1));
    return negative;
}

// The locale's currency sign before or after the amount, taken off.
void TakeCurrencySign(std::u16string_view& text, std::u16string_view sign) {
    if (sign.empty())
        return;
    if (text.substr(0, sign.size()) == sign)
        text = Trimmed(text.substr(sign.size()));
    else if (text.size() >= sign.size() && text.substr(text.size() - sign.size()) == sign)
        text = Trimmed(text.substr(0, text.size() - sign.size()));
}

// The locale's grouping sign; a plain space stands for a non-breaking one.
bool IsGrouping(char16_t c, char16_t grouping) {
    return c == grouping || (grouping == 0xA0 && c == u' ');
}

} // namespace

std::int64_t CurrencyFromDouble(double value) {
    // Past 2^63 ten-thousandths whatever the fraction; NaN fails the test too.
    if (!(std::fabs(value) < 1e15))
        Overflow();
    const double whole = std::trunc(value);
    const Wide fraction = static_cast<Wide>(RoundHalfEven((value - whole) * kCurrencyScale));
    return Checked(static_cast<Wide>(static_cast<std::int64_t>(whole)) * kCurrencyScale + fraction);
}

std::optional<std::int64_t> ParseCurrencyText(std::u16string_view text) {
    const Locale& locale = ActiveLocale();
    text = Trimmed(text);
    bool signed_ = false;
    bool negative = TakeSign(text, signed_);
    TakeCurrencySign(text, locale.currency);
    negative = TakeSign(text, signed_) || negative;
    const char16_t decimal = locale.decimal;
    Wide scaled = 0; // the digits read, as ten-thousandths once the decimals are in
    int decimals = -1;
    bool digits = false;
    int beyond = 0; // digits past the fourth decimal: 0 none, 1 below half, 2 half, 3 above
    for (char16_t c : text) {
        if (c == decimal && decimals < 0) {
            decimals = 0;
            continue;
        }
        // Digits may be grouped before the decimal sign (1,234.50 or 1 234,50).
        if (IsGrouping(c, locale.thousands) && digits && decimals < 0)
            continue;
        if (!IsDigit(c))
            return std::nullopt;
        digits = true;
        const int d = c - u'0';
        if (decimals >= 4) {
            if (decimals == 4)
                beyond = d > 5 ? 3 : d == 5 ? 2 : d > 0 ? 1 : 0;
            else if (d > 0 && beyond == 2)
                beyond = 3;
            else if (d > 0 && beyond == 0)
                beyond = 1;
            ++decimals;
            continue;
        }
        scaled = scaled * 10 + d;
        if (scaled > (Wide{1} << 80))
            Overflow();
        if (decimals >= 0)
            ++decimals;
    }
    if (!digits)
        return std::nullopt;
    for (int i = decimals < 0 ? 0 : decimals; i < 4; ++i)
        scaled *= 10;
    if (beyond == 3 || (beyond == 2 && (scaled & 1) != 0))
        ++scaled;
    return Checked(negative ? -scaled : scaled);
}

std::int64_t ToCurrency(const Value& value) {
    switch (value.Type()) {
    case VType::Currency:
        return value.Cy();
    case VType::Empty:
        return 0;
    case VType::Integer:
    case VType::Long:
    case VType::Byte:
    case VType::Boolean:
        return std::int64_t{value.I()} * kCurrencyScale;
    case VType::String:
        if (const auto exact = ParseCurrencyText(value.Str()))
            return *exact;
        return CurrencyFromDouble(ToDouble(value));
    case VType::Ref:
        return ToCurrency(*value.Target());
    case VType::Object:
        return ToCurrency(DefaultValue(value));
    default:
        return CurrencyFromDouble(ToDouble(value));
    }
}

std::int64_t CurrencyAdd(std::int64_t a, std::int64_t b) {
    return Checked(Wide{a} + b);
}

std::int64_t CurrencySubtract(std::int64_t a, std::int64_t b) {
    return Checked(Wide{a} - b);
}

std::int64_t CurrencyMultiply(std::int64_t a, std::int64_t b) {
    return Checked(DivideHalfEven(Wide{a} * b, kCurrencyScale));
}

std::int64_t CurrencyNegate(std::int64_t a) {
    return Checked(-Wide{a});
}

std::int64_t CurrencyRound(std::int64_t a, std::int64_t step) {
    return Checked(DivideHalfEven(a, step) * step);
}

std::int64_t CurrencyFloor(std::int64_t a) {
    Wide q = a / kCurrencyScale;
    if (a % kCurrencyScale < 0)
        --q;
    return Checked(q * kCurrencyScale);
}

std::int64_t CurrencyTruncate(std::int64_t a) {
    return a / kCurrencyScale * kCurrencyScale;
}

} // namespace zorv::vbs
