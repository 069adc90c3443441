// VariantChangeType: Automation's coercions, with texts read and written in
// an invariant format whatever the locale, so that values recorded on one
// bench load the same on another.
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

#include "bstr.h"
#include "date_number_rules.h"
#include "dispatch.h"
#include "hresult.h"
#include "variant.h"
#include "variant_internal.h"
#include "wide_integer.h"

using namespace zorv::com::detail;
using zorv::com::CivilFromDays;
using zorv::com::DaysFromCivil;
using zorv::com::DaysInMonth;
using zorv::com::DigitValue;
using zorv::com::kOleDateEpoch;
using zorv::com::RoundHalfEven;

namespace {

using zorv::com::Int128;

// ---------------------------------------------------------------------------
// Numbers in transit between two variant types.

struct Number {
    enum class Kind { Signed, Unsigned, Real, Currency };
    Kind kind = Kind::Signed;
    std::int64_t s = 0;
    std::uint64_t u = 0;
    double d = 0;
    std::int64_t cy = 0;
    // Hexadecimal and octal text may set the sign bit of a signed target.
    bool fillsWidth = false;
    // VARIANT_TRUE is all bits set, in unsigned targets as well.
    bool boolean = false;

    static Number Signed(std::int64_t v) {
        Number n;
        n.s = v;
        return n;
    }
    static Number Unsigned(std::uint64_t v) {
        Number n;
        n.kind = Kind::Unsigned;
        n.u = v;
        return n;
    }
    static Number Real(double v) {
        Number n;
        n.kind = Kind::Real;
        n.d = v;
        return n;
    }
    static Number Currency(std::int64_t v) {
        Number n;
        n.kind = Kind::Currency;
        n.cy = v;
        return n;
    }

    bool IsZero() const {
        switch (kind) {
        case Kind::Signed:
            return s == 0;
        case Kind::Unsigned:
            return u == 0;
        case Kind::Real:
            return d == 0; // NaN counts as non-zero, i.e. true
        case Kind::Currency:
            return cy == 0;
        }
        return true;
    }

    double ToDouble() const {
        switch (kind) {
        case Kind::Signed:
            return static_cast<double>(s);
        case Kind::Unsigned:
            return static_cast<double>(u);
        case Kind::Real:
            return d;
        case Kind::Currency:
            return static_cast<double>(cy) / 10000.0;
        }
        return 0;
    }
};

constexpr std::int64_t kCurrencyScale = 10000;
// Dates run from 1 January 100 to 31 December 9999, time of day included.
constexpr double kDateMin = -657435.0;
constexpr double kDateMax = 2958466.0;
// Doubles from here on round to infinity as a float.
constexpr double kFloatLimit = 0x1.ffffffp127;

bool IsValidDate(double d) {
    return d > kDateMin && d < kDateMax;
}

std::int64_t CurrencyToInteger(std::int64_t cy) {
    std::int64_t q = cy / kCurrencyScale;
    const std::int64_t r = cy % kCurrencyScale;
    const std::int64_t half = kCurrencyScale / 2;
    if (r > half || (r == half && (q & 1)))
        ++q;
    else if (r < -half || (r == -half && (q & 1)))
        --q;
    return q;
}

struct IntegerTarget {
    int bits;
    bool isSigned;
};

bool IntegerTargetOf(VARTYPE vt, IntegerTarget* target) {
    switch (vt) {
    case VT_I1:
        *target = {8, true};
        return true;
    case VT_UI1:
        *target = {8, false};
        return true;
    case VT_I2:
        *target = {16, true};
        return true;
    case VT_UI2:
        *target = {16, false};
        return true;
    case VT_I4:
    case VT_INT:
        *target = {32, true};
        return true;
    case VT_UI4:
    case VT_UINT:
        *target = {32, false};
        return true;
    case VT_I8:
        *target = {64, true};
        return true;
    case VT_UI8:
        *target = {64, false};
        return true;
    default:
        return false;
    }
}

HRESULT ToInteger(const Number& n, IntegerTarget target, Int128* out) {
    Int128 v = 0;
    switch (n.kind) {
    case Number::Kind::Signed:
        v = n.s;
        break;
    case Number::Kind::Unsigned:
        v = n.u;
        break;
    case Number::Kind::Real: {
        if (!std::isfinite(n.d))
            return DISP_E_OVERFLOW;
        const double r = RoundHalfEven(n.d);
        if (r < -0x1p63 || r >= 0x1p64)
            return DISP_E_OVERFLOW;
        v = static_cast<Int128>(r);
        break;
    }
    case Number::Kind::Currency:
        v = CurrencyToInteger(n.cy);
        break;
    }
    const Int128 span = Int128{1} << target.bits;
    if (n.boolean && !target.isSigned && v == -1)
        v = span - 1;
    if (n.fillsWidth && target.isSigned && v >= span / 2 && v < span)
        v -= span;
    const Int128 lo = target.isSigned ? -span / 2 : 0;
    const Int128 hi = target.isSigned ? span / 2 - 1 : span - 1;
    if (v < lo || v > hi)
        return DISP_E_OVERFLOW;
    *out = v;
    return S_OK;
}

void StoreInteger(VARIANT* out, VARTYPE vt, Int128 v) {
    out->vt = vt;
    switch (vt) {
    case VT_I1:
        out->cVal = static_cast<CHAR>(v);
        break;
    case VT_UI1:
        out->bVal = static_cast<BYTE>(v);
        break;
    case VT_I2:
        out->iVal = static_cast<SHORT>(v);
        break;
    case VT_UI2:
        out->uiVal = static_cast<USHORT>(v);
        break;
    case VT_I4:
        out->lVal = static_cast<LONG>(v);
        break;
    case VT_INT:
        out->intVal = static_cast<INT>(v);
        break;
    case VT_UI4:
        out->ulVal = static_cast<ULONG>(v);
        break;
    case VT_UINT:
        out->uintVal = static_cast<UINT>(v);
        break;
    case VT_I8:
        out->llVal = static_cast<LONGLONG>(v);
        break;
    case VT_UI8:
        out->ullVal = static_cast<ULONGLONG>(v);
        break;
    default:
        break;
    }
}

HRESULT ToCurrency(const Number& n, std::int64_t* out) {
    switch (n.kind) {
    case Number::Kind::Signed:
        if (n.s > INT64_MAX / kCurrencyScale || n.s < INT64_MIN / kCurrencyScale)
            return DISP_E_OVERFLOW;
        *out = n.s * kCurrencyScale;
        return S_OK;
    case Number::Kind::Unsigned:
        if (n.u > static_cast<std::uint64_t>(INT64_MAX / kCurrencyScale))
            return DISP_E_OVERFLOW;
        *out = static_cast<std::int64_t>(n.u) * kCurrencyScale;
        return S_OK;
    case Number::Kind::Real: {
        if (!std::isfinite(n.d))
            return DISP_E_OVERFLOW;
        const double r = RoundHalfEven(n.d * kCurrencyScale);
        if (r < -0x1p63 || r >= 0x1p63)
            return DISP_E_OVERFLOW;
        *out = static_cast<std::int64_t>(r);
        return S_OK;
    }
    case Number::Kind::Currency:
        *out = n.cy;
        return S_OK;
    }
    return E_UNEXPECTED;
}

// Stores a number as one of the numeric types, VT_DATE or VT_BOOL.
HRESULT StoreNumber(VARIANT* out, const Number& n, VARTYPE vt) {
    IntegerTarget target{};
    if (IntegerTargetOf(vt, &target)) {
        Int128 v = 0;
        const HRESULT hr = ToInteger(n, target, &v);
        if (SUCCEEDED(hr))
            StoreInteger(out, vt, v);
        return hr;
    }
    switch (vt) {
    case VT_R4: {
        const double d = n.ToDouble();
        if (std::isfinite(d) && std::fabs(d) >= kFloatLimit)
            return DISP_E_OVERFLOW;
        out->vt = VT_R4;
        out->fltVal = static_cast<float>(d);
        return S_OK;
    }
    case VT_R8:
        out->vt = VT_R8;
        out->dblVal = n.ToDouble();
        return S_OK;
    case VT_DATE: {
        const double d = n.ToDouble();
        if (!IsValidDate(d))
            return DISP_E_OVERFLOW;
        out->vt = VT_DATE;
        out->date = d;
        return S_OK;
    }
    case VT_CY: {
        std::int64_t cy = 0;
        const HRESULT hr = ToCurrency(n, &cy);
        if (SUCCEEDED(hr)) {
            out->vt = VT_CY;
            out->cyVal.int64 = cy;
        }
        return hr;
    }
    case VT_BOOL:
        out->vt = VT_BOOL;
        out->boolVal = n.IsZero() ? VARIANT_FALSE : VARIANT_TRUE;
        return S_OK;
    default:
        return DISP_E_TYPEMISMATCH;
    }
}

// The number a non-text scalar holds; false for types that hold none.
bool NumberOf(const VARIANT& v, Number* n) {
    switch (v.vt) {
    case VT_EMPTY:
        *n = Number::Signed(0);
        return true;
    case VT_I1:
        *n = Number::Signed(static_cast<signed char>(v.cVal));
        return true;
    case VT_UI1:
        *n = Number::Signed(v.bVal);
        return true;
    case VT_I2:
        *n = Number::Signed(v.iVal);
        return true;
    case VT_UI2:
        *n = Number::Signed(v.uiVal);
        return true;
    case VT_I4:
        *n = Number::Signed(v.lVal);
        return true;
    case VT_INT:
        *n = Number::Signed(v.intVal);
        return true;
    case VT_UI4:
        *n = Number::Signed(v.ulVal);
        return true;
    case VT_UINT:
        *n = Number::Signed(v.uintVal);
        return true;
    case VT_I8:
        *n = Number::Signed(v.llVal);
        return true;
    case VT_UI8:
        *n = Number::Unsigned(v.ullVal);
        return true;
    case VT_R4:
        *n = Number::Real(v.fltVal);
        return true;
    case VT_R8:
        *n = Number::Real(v.dblVal);
        return true;
    case VT_DATE:
        *n = Number::Real(v.date);
        return true;
    case VT_CY:
        *n = Number::Currency(v.cyVal.int64);
        return true;
    case VT_BOOL:
        *n = Number::Signed(v.boolVal ? -1 : 0);
        n->boolean = true;
        return true;
    default:
        return false;
    }
}

// ---------------------------------------------------------------------------
// Reading text.

std::u16string_view TextOf(BSTR bstr) {
    return {bstr ? bstr : u"", SysStringLen(bstr)};
}

std::u16string_view Trim(std::u16string_view text) {
    const auto blank = [](char16_t c) { return c == u' ' || c == u'\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

char16_t Lower(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool EqualsAsciiIgnoringCase(std::u16string_view text, std::string_view word) {
    if (text.size() != word.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (Lower(text[i]) != static_cast<char16_t>(word[i]))
            return false;
    return true;
}

struct ParsedText {
    enum class Kind { Integer, Radix, Decimal };
    Kind kind = Kind::Integer;
    bool negative = false;
    std::uint64_t magnitude = 0; // Integer, Radix
    std::string digits;          // Decimal: digits × 10^exponent, no leading zeros
    std::int64_t exponent = 0;
};

// "&H1F" / "&O17": an unsigned value of up to 64 bits.
HRESULT ParseRadix(std::u16string_view text, ParsedText* out) {
    if (text.size() < 3)
        return DISP_E_TYPEMISMATCH;
    const char16_t marker = Lower(text[1]);
    const unsigned base = marker == u'h' ? 16 : marker == u'o' ? 8 : 0;
    if (base == 0)
        return DISP_E_TYPEMISMATCH;
    std::uint64_t value = 0;
    bool overflow = false;
    for (const char16_t c : text.substr(2)) {
        const int digit = DigitValue(c);
        if (digit >= static_cast<int>(base))
            return DISP_E_TYPEMISMATCH;
        if (value > (UINT64_MAX - static_cast<unsigned>(digit)) / base)
            overflow = true; // keep scanning: junk later on is still a mismatch
        value = value * base + static_cast<unsigned>(digit);
    }
    if (overflow)
        return DISP_E_OVERFLOW;
    out->kind = ParsedText::Kind::Radix;
    out->magnitude = value;
    return S_OK;
}

// [+|-] digits [. digits] [(e|E) [+|-] digits], or &H / &O; blanks around.
HRESULT ParseNumberText(std::u16string_view text, ParsedText* out) {
    text = Trim(text);
    if (!text.empty() && text[0] == u'&')
        return ParseRadix(text, out);
    std::size_t i = 0;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        out->negative = text[i++] == u'-';
    const std::size_t intStart = i;
    while (i < text.size() && IsDigit(text[i]))
        ++i;
    const std::u16string_view intDigits = text.substr(intStart, i - intStart);
    std::u16string_view fracDigits;
    bool simple = true;
    if (i < text.size() && text[i] == u'.') {
        simple = false;
        const std::size_t fracStart = ++i;
        while (i < text.size() && IsDigit(text[i]))
            ++i;
        fracDigits = text.substr(fracStart, i - fracStart);
    }
    if (intDigits.empty() && fracDigits.empty())
        return DISP_E_TYPEMISMATCH;
    std::int64_t exponent = 0;
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        simple = false;
        ++i;
        bool negativeExponent = false;
        if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
            negativeExponent = text[i++] == u'-';
        const std::size_t expStart = i;
        while (i < text.size() && IsDigit(text[i])) {
            // Saturate: beyond this the value is infinite or zero anyway.
            if (exponent < 100000000)
                exponent = exponent * 10 + (text[i] - u'0');
            ++i;
        }
        if (i == expStart)
            return DISP_E_TYPEMISMATCH;
        if (negativeExponent)
            exponent = -exponent;
    }
    if (i != text.size())
        return DISP_E_TYPEMISMATCH;

    if (simple) {
        std::uint64_t value = 0;
        bool fits = true;
        for (const char16_t c : intDigits) {
            const unsigned digit = c - u'0';
            if (value > (UINT64_MAX - digit) / 10) {
                fits = false;
                break;
            }
            value = value * 10 + digit;
        }
        if (fits) {
            out->kind = ParsedText::Kind::Integer;
            out->magnitude = value;
            return S_OK;
        }
    }
    out->kind = ParsedText::Kind::Decimal;
    for (const char16_t c : intDigits)
        if (!out->digits.empty() || c != u'0')
            out->digits += static_cast<char>(c);
    for (const char16_t c : fracDigits)
        if (!out->digits.empty() || c != u'0')
            out->digits += static_cast<char>(c);
    out->exponent = exponent - static_cast<std::int64_t>(fracDigits.size());
    return S_OK;
}

// The decimal's value times 10^scale, correctly rounded.
HRESULT DecimalToDouble(const ParsedText& p, int scale, double* out) {
    if (p.digits.empty()) {
        *out = p.negative ? -0.0 : 0.0;
        return S_OK;
    }
    const std::int64_t exponent = p.exponent + scale;
    std::string text = p.digits + 'e' + std::to_string(exponent);
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec == std::errc::result_out_of_range) {
        // Too large, or too small even for a subnormal.
        if (exponent + static_cast<std::int64_t>(p.digits.size()) > 0)
            return DISP_E_OVERFLOW;
        value = 0;
    } else if (ec != std::errc() || end != text.data() + text.size()) {
        return DISP_E_TYPEMISMATCH;
    }
    *out = p.negative ? -value : value;
    return S_OK;
}

// Currency straight from the decimal digits, so that all 19 of them count;
// S_FALSE when there are too many digits to do it exactly.
HRESULT CurrencyFromDecimal(const ParsedText& p, std::int64_t* out) {
    constexpr std::size_t kMaxDigits = 37; // twice 10^37 still fits in 127 bits
    if (p.digits.size() > kMaxDigits)
        return S_FALSE;
    Int128 mantissa = 0;
    for (const char c : p.digits)
        mantissa = mantissa * 10 + (c - '0');
    const std::int64_t shift = p.exponent + 4;
    const Int128 limit = p.negative ? -static_cast<Int128>(INT64_MIN) : static_cast<Int128>(INT64_MAX);
    if (shift >= 0) {
        for (std::int64_t i = 0; i < shift && mantissa != 0; ++i) {
            mantissa *= 10;
            if (mantissa > limit)
                return DISP_E_OVERFLOW;
        }
    } else if (shift < -static_cast<std::int64_t>(kMaxDigits)) {
        mantissa = 0; // below 10^-4 by far: rounds to zero
    } else {
        Int128 divisor = 1;
        for (std::int64_t i = 0; i < -shift; ++i)
            divisor *= 10;
        const Int128 remainder = mantissa % divisor;
        mantissa /= divisor;
        const Int128 twice = remainder * 2;
        if (twice > divisor || (twice == divisor && (mantissa & 1)))
            ++mantissa;
    }
    if (mantissa > limit)
        return DISP_E_OVERFLOW;
    *out = p.negative ? static_cast<std::int64_t>(-mantissa) : static_cast<std::int64_t>(mantissa);
    return S_OK;
}

HRESULT NumberFromText(const ParsedText& p, bool forCurrency, Number* out) {
    switch (p.kind) {
    case ParsedText::Kind::Integer:
        if (p.negative) {
            if (p.magnitude > (std::uint64_t{1} << 63))
                return DISP_E_OVERFLOW;
            *out = Number::Signed(static_cast<std::int64_t>(0 - p.magnitude));
        } else if (p.magnitude <= static_cast<std::uint64_t>(INT64_MAX)) {
            *out = Number::Signed(static_cast<std::int64_t>(p.magnitude));
        } else {
            *out = Number::Unsigned(p.magnitude);
        }
        return S_OK;
    case ParsedText::Kind::Radix:
        *out = Number::Unsigned(p.magnitude);
        out->fillsWidth = true;
        return S_OK;
    case ParsedText::Kind::Decimal: {
        if (forCurrency) {
            std::int64_t cy = 0;
            const HRESULT hr = CurrencyFromDecimal(p, &cy);
            if (hr != S_FALSE) {
                if (SUCCEEDED(hr))
                    *out = Number::Currency(cy);
                return hr;
            }
        }
        double value = 0;
        // Scaling the text rather than the double keeps "0.00005" an exact tie.
        const HRESULT hr = DecimalToDouble(p, forCurrency ? 4 : 0, &value);
        if (FAILED(hr))
            return hr;
        if (!forCurrency) {
            *out = Number::Real(value);
            return S_OK;
        }
        const double r = RoundHalfEven(value);
        if (r < -0x1p63 || r >= 0x1p63)
            return DISP_E_OVERFLOW;
        *out = Number::Currency(static_cast<std::int64_t>(r));
        return S_OK;
    }
    }
    return E_UNEXPECTED;
}

HRESULT BoolFromText(std::u16string_view text, VARIANT_BOOL* out) {
    text = Trim(text);
    if (EqualsAsciiIgnoringCase(text, "true") || EqualsAsciiIgnoringCase(text, "#true#")) {
        *out = VARIANT_TRUE;
        return S_OK;
    }
    if (EqualsAsciiIgnoringCase(text, "false") || EqualsAsciiIgnoringCase(text, "#false#")) {
        *out = VARIANT_FALSE;
        return S_OK;
    }
    ParsedText parsed;
    const HRESULT hr = ParseNumberText(text, &parsed);
    if (hr == DISP_E_OVERFLOW) {
        // Too large for any number is still not zero.
        *out = VARIANT_TRUE;
        return S_OK;
    }
    if (FAILED(hr))
        return hr;
    const bool zero =
        parsed.kind == ParsedText::Kind::Decimal ? parsed.digits.empty() : parsed.magnitude == 0;
    *out = zero ? VARIANT_FALSE : VARIANT_TRUE;
    return S_OK;
}

// ---------------------------------------------------------------------------
// Dates.

constexpr std::int64_t kDateEpoch = kOleDateEpoch;

void AppendPadded(std::string& out, std::int64_t value, int width) {
    std::string digits = std::to_string(value);
    if (static_cast<int>(digits.size()) < width)
        out.append(static_cast<std::size_t>(width) - digits.size(), '0');
    out += digits;
}

// "YYYY-MM-DD HH:MM:SS"; midnight drops the time, day 0 drops the date.
HRESULT FormatDate(double date, std::string* out) {
    if (!IsValidDate(date))
        return DISP_E_OVERFLOW;
    auto day = static_cast<std::int64_t>(std::trunc(date));
    // Before the epoch the fraction still counts forward from midnight.
    auto seconds =
        static_cast<std::int64_t>(std::llround(std::fabs(date - static_cast<double>(day)) * 86400));
    if (seconds >= 86400) {
        if (day + 1 < static_cast<std::int64_t>(kDateMax)) {
            seconds = 0;
            ++day;
        } else {
            seconds = 86399;
        }
    }
    out->clear();
    if (day != 0) {
        std::int64_t y = 0;
        unsigned m = 0, d = 0;
        CivilFromDays(day + kDateEpoch, &y, &m, &d);
        AppendPadded(*out, y, 4);
        *out += '-';
        AppendPadded(*out, m, 2);
        *out += '-';
        AppendPadded(*out, d, 2);
        if (seconds == 0)
            return S_OK;
        *out += ' ';
    }
    AppendPadded(*out, seconds / 3600, 2);
    *out += ':';
    AppendPadded(*out, seconds / 60 % 60, 2);
    *out += ':';
    AppendPadded(*out, seconds % 60, 2);
    return S_OK;
}

// Reads between `minDigits` and `maxDigits` decimal digits at `pos`.
bool ReadField(std::u16string_view text, std::size_t& pos, std::size_t minDigits, std::size_t maxDigits,
               unsigned* value) {
    std::size_t count = 0;
    *value = 0;
    while (pos < text.size() && IsDigit(text[pos]) && count < maxDigits) {
        *value = *value * 10 + (text[pos++] - u'0');
        ++count;
    }
    return count >= minDigits && (pos == text.size() || !IsDigit(text[pos]));
}

bool Expect(std::u16string_view text, std::size_t& pos, char16_t c) {
    if (pos < text.size() && text[pos] == c) {
        ++pos;
        return true;
    }
    return false;
}

// Reads the forms FormatDate writes, and "YYYY-MM-DD HH:MM". Plain numbers
// are not dates.
HRESULT DateFromText(std::u16string_view text, double* out) {
    text = Trim(text);
    std::size_t pos = 0;
    unsigned year = 0, month = 1, dayOfMonth = 1;
    bool hasDate = false;
    const bool looksLikeDate = text.size() > 4 && text[4] == u'-';
    if (looksLikeDate) {
        if (!ReadField(text, pos, 4, 4, &year) || !Expect(text, pos, u'-') ||
            !ReadField(text, pos, 1, 2, &month) || !Expect(text, pos, u'-') ||
            !ReadField(text, pos, 1, 2, &dayOfMonth))
            return DISP_E_TYPEMISMATCH;
        if (month < 1 || month > 12 || dayOfMonth < 1 || dayOfMonth > DaysInMonth(year, month))
            return DISP_E_TYPEMISMATCH;
        hasDate = true;
        if (pos < text.size()) {
            if (text[pos] != u' ' && text[pos] != u'T')
                return DISP_E_TYPEMISMATCH;
            while (pos < text.size() && (text[pos] == u' ' || text[pos] == u'\t'))
                ++pos;
            if (pos < text.size() && text[pos] == u'T')
                ++pos;
        }
    }
    unsigned hour = 0, minute = 0, second = 0;
    if (!hasDate || pos < text.size()) {
        if (!ReadField(text, pos, 1, 2, &hour) || !Expect(text, pos, u':') ||
            !ReadField(text, pos, 1, 2, &minute))
            return DISP_E_TYPEMISMATCH;
        if (Expect(text, pos, u':') && !ReadField(text, pos, 1, 2, &second))
            return DISP_E_TYPEMISMATCH;
        if (pos != text.size() || hour > 23 || minute > 59 || second > 59)
            return DISP_E_TYPEMISMATCH;
    }
    if (hasDate && year < 100)
        return DISP_E_OVERFLOW;
    const double time = (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
    if (!hasDate) {
        *out = time;
        return S_OK;
    }
    const auto day = static_cast<double>(DaysFromCivil(year, month, dayOfMonth) - kDateEpoch);
    *out = day < 0 ? day - time : day + time;
    return S_OK;
}

// ---------------------------------------------------------------------------
// Writing numbers as text.

// Up to `precision` significant digits, no trailing zeros; the exponent form
// ("1E+20", "1.5E-07") only for magnitudes from 10^precision or below 10^-4.
std::string FormatReal(double value, int precision) {
    if (std::isnan(value))
        return "1.#QNAN";
    if (std::isinf(value))
        return value > 0 ? "1.#INF" : "-1.#INF";
    if (value == 0)
        return "0";
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof(buffer), value, std::chars_format::scientific, precision - 1);
    const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    const bool negative = text[0] == '-';
    const std::size_t e = text.find('e');
    std::string digits;
    for (const char c : text.substr(0, e))
        if (c >= '0' && c <= '9')
            digits += c;
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    int exponent = 0;
    const std::string_view expText = text.substr(e + 1);
    std::from_chars(expText.data() + (expText[0] == '+' ? 1 : 0), expText.data() + expText.size(), exponent);

    std::string out = negative ? "-" : "";
    if (exponent >= precision || exponent < -4) {
        out += digits[0];
        if (digits.size() > 1) {
            out += '.';
            out += digits.substr(1);
        }
        out += exponent < 0 ? "E-" : "E+";
        const int magnitude = exponent < 0 ? -exponent : exponent;
        if (magnitude < 10)
            out += '0';
        out += std::to_string(magnitude);
    } else if (exponent >= 0) {
        const auto intLength = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= intLength) {
            out += digits;
            out.append(intLength - digits.size(), '0');
        } else {
            out += digits.substr(0, intLength);
            out += '.';
            out += digits.substr(intLength);
        }
    } else {
        out += "0.";
        out.append(static_cast<std::size_t>(-exponent - 1), '0');
        out += digits;
    }
    return out;
}

std::string FormatCurrency(std::int64_t cy) {
    const std::uint64_t magnitude =
        cy < 0 ? 0 - static_cast<std::uint64_t>(cy) : static_cast<std::uint64_t>(cy);
    std::string out = cy < 0 ? "-" : "";
    out += std::to_string(magnitude / kCurrencyScale);
    std::string fraction = std::to_string(magnitude % kCurrencyScale);
    fraction.insert(0, 4 - fraction.size(), '0');
    while (!fraction.empty() && fraction.back() == '0')
        fraction.pop_back();
    if (!fraction.empty())
        out += '.' + fraction;
    return out;
}

HRESULT FormatValue(const VARIANT& v, USHORT flags, std::string* out) {
    switch (v.vt) {
    case VT_EMPTY:
        out->clear();
        return S_OK;
    case VT_I1:
        *out = std::to_string(static_cast<signed char>(v.cVal));
        return S_OK;
    case VT_UI1:
        *out = std::to_string(v.bVal);
        return S_OK;
    case VT_I2:
        *out = std::to_string(v.iVal);
        return S_OK;
    case VT_UI2:
        *out = std::to_string(v.uiVal);
        return S_OK;
    case VT_I4:
        *out = std::to_string(v.lVal);
        return S_OK;
    case VT_INT:
        *out = std::to_string(v.intVal);
        return S_OK;
    case VT_UI4:
        *out = std::to_string(v.ulVal);
        return S_OK;
    case VT_UINT:
        *out = std::to_string(v.uintVal);
        return S_OK;
    case VT_I8:
        *out = std::to_string(v.llVal);
        return S_OK;
    case VT_UI8:
        *out = std::to_string(v.ullVal);
        return S_OK;
    case VT_R4:
        *out = FormatReal(v.fltVal, 7);
        return S_OK;
    case VT_R8:
        *out = FormatReal(v.dblVal, 15);
        return S_OK;
    case VT_CY:
        *out = FormatCurrency(v.cyVal.int64);
        return S_OK;
    case VT_DATE:
        return FormatDate(v.date, out);
    case VT_BOOL:
        if (flags & (VARIANT_ALPHABOOL | VARIANT_LOCALBOOL))
            *out = v.boolVal ? "True" : "False";
        else
            *out = v.boolVal ? "-1" : "0";
        return S_OK;
    default:
        return DISP_E_TYPEMISMATCH;
    }
}

// ---------------------------------------------------------------------------
// The conversion itself.

HRESULT ConvertAny(VARIANT* out, const VARIANT& in, LCID lcid, USHORT flags, VARTYPE vt);

bool IsObject(VARTYPE vt) {
    return vt == VT_DISPATCH || vt == VT_UNKNOWN;
}

// An object's default value: its DISPID_VALUE property.
HRESULT FetchDefaultValue(IUnknown* object, LCID lcid, VARIANT* value) {
    VariantInit(value);
    if (!object)
        return DISP_E_TYPEMISMATCH;
    void* raw = nullptr;
    if (FAILED(object->QueryInterface(IID_IDispatch, &raw)) || !raw)
        return DISP_E_TYPEMISMATCH;
    auto* dispatch = static_cast<IDispatch*>(raw);
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    const HRESULT hr =
        dispatch->Invoke(DISPID_VALUE, IID_NULL, lcid, DISPATCH_PROPERTYGET, &none, value, nullptr, nullptr);
    dispatch->Release();
    if (FAILED(hr)) {
        VariantClear(value);
        VariantInit(value);
        return DISP_E_TYPEMISMATCH;
    }
    return S_OK;
}

HRESULT ConvertObject(VARIANT* out, const VARIANT& in, LCID lcid, USHORT flags, VARTYPE vt) {
    if (vt == VT_UNKNOWN) {
        // An IDispatch is an IUnknown already.
        out->vt = VT_UNKNOWN;
        out->punkVal = in.punkVal;
        if (out->punkVal)
            out->punkVal->AddRef();
        return S_OK;
    }
    if (vt == VT_DISPATCH) {
        out->vt = VT_DISPATCH;
        out->pdispVal = nullptr;
        if (!in.punkVal)
            return S_OK;
        void* raw = nullptr;
        if (FAILED(in.punkVal->QueryInterface(IID_IDispatch, &raw)) || !raw) {
            VariantInit(out);
            return DISP_E_TYPEMISMATCH;
        }
        out->pdispVal = static_cast<IDispatch*>(raw);
        return S_OK;
    }
    if (flags & VARIANT_NOVALUEPROP)
        return DISP_E_TYPEMISMATCH;
    VARIANT value;
    HRESULT hr = FetchDefaultValue(in.punkVal, lcid, &value);
    if (FAILED(hr))
        return hr;
    // One level only: a default value that is an object again is a mismatch.
    hr = ConvertAny(out, value, lcid, flags | VARIANT_NOVALUEPROP, vt);
    VariantClear(&value);
    return hr;
}

// Converts a value that is not by reference into raw storage `out`.
HRESULT Convert(VARIANT* out, const VARIANT& in, LCID lcid, USHORT flags, VARTYPE vt) {
    VariantInit(out);
    if (in.vt == vt || vt == VT_VARIANT)
        return CopyVariantInto(out, in);
    if ((in.vt | vt) & VT_ARRAY)
        return DISP_E_TYPEMISMATCH;
    if (IsObject(in.vt))
        return ConvertObject(out, in, lcid, flags, vt);
    if (IsObject(vt)) {
        if (in.vt != VT_EMPTY)
            return DISP_E_TYPEMISMATCH;
        out->vt = vt;
        out->punkVal = nullptr;
        return S_OK;
    }
    // Null converts to nothing else; only Empty becomes Null.
    if (in.vt == VT_NULL || vt == VT_EMPTY || in.vt == VT_ERROR || vt == VT_ERROR)
        return DISP_E_TYPEMISMATCH;
    if (vt == VT_NULL) {
        if (in.vt != VT_EMPTY)
            return DISP_E_TYPEMISMATCH;
        out->vt = VT_NULL;
        return S_OK;
    }
    if (vt == VT_BSTR) {
        std::string text;
        const HRESULT hr = FormatValue(in, flags, &text);
        if (FAILED(hr))
            return hr;
        // The formatted text is ASCII, so widening is a plain copy.
        const std::u16string wide(text.begin(), text.end());
        BSTR bstr = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
        if (!bstr)
            return E_OUTOFMEMORY;
        out->vt = VT_BSTR;
        out->bstrVal = bstr;
        return S_OK;
    }
    if (in.vt == VT_BSTR) {
        const std::u16string_view text = TextOf(in.bstrVal);
        if (vt == VT_DATE) {
            double date = 0;
            const HRESULT hr = DateFromText(text, &date);
            if (SUCCEEDED(hr)) {
                out->vt = VT_DATE;
                out->date = date;
            }
            return hr;
        }
        if (vt == VT_BOOL) {
            VARIANT_BOOL value = VARIANT_FALSE;
            const HRESULT hr = BoolFromText(text, &value);
            if (SUCCEEDED(hr)) {
                out->vt = VT_BOOL;
                out->boolVal = value;
            }
            return hr;
        }
        ParsedText parsed;
        HRESULT hr = ParseNumberText(text, &parsed);
        if (FAILED(hr))
            return hr;
        Number number;
        hr = NumberFromText(parsed, vt == VT_CY, &number);
        if (FAILED(hr))
            return hr;
        hr = StoreNumber(out, number, vt);
        if (FAILED(hr))
            VariantInit(out);
        return hr;
    }
    Number number;
    if (!NumberOf(in, &number))
        return DISP_E_TYPEMISMATCH;
    const HRESULT hr = StoreNumber(out, number, vt);
    if (FAILED(hr))
        VariantInit(out);
    return hr;
}

HRESULT ConvertAny(VARIANT* out, const VARIANT& in, LCID lcid, USHORT flags, VARTYPE vt) {
    VariantInit(out);
    if (!IsValidVariantType(in.vt))
        return DISP_E_BADVARTYPE;
    if (!(in.vt & VT_BYREF))
        return Convert(out, in, lcid, flags, vt);
    VARIANT view;
    const HRESULT hr = DereferenceView(in, &view);
    if (FAILED(hr))
        return hr;
    return Convert(out, view, lcid, flags, vt);
}

bool IsValidTarget(VARTYPE vt) {
    return vt == VT_VARIANT || (IsValidVariantType(vt) && !(vt & VT_BYREF));
}

} // namespace

HRESULT VariantChangeTypeEx(VARIANT* pvargDest, const VARIANT* pvarSrc, LCID lcid, USHORT wFlags,
                            VARTYPE vt) {
    if (!pvargDest || !pvarSrc)
        return E_INVALIDARG;
    if (!IsValidTarget(vt) || !IsValidVariantType(pvarSrc->vt))
        return DISP_E_BADVARTYPE;
    // Convert aside so that a failure leaves the destination as it was, and
    // so that converting in place reads the source before it is cleared.
    VARIANT result;
    HRESULT hr = ConvertAny(&result, *pvarSrc, lcid, wFlags, vt);
    if (FAILED(hr))
        return hr;
    hr = VariantClear(pvargDest);
    if (FAILED(hr)) {
        VariantClear(&result);
        return hr;
    }
    *pvargDest = result;
    return S_OK;
}

HRESULT VariantChangeType(VARIANT* pvargDest, const VARIANT* pvarSrc, USHORT wFlags, VARTYPE vt) {
    return VariantChangeTypeEx(pvargDest, pvarSrc, LOCALE_SYSTEM_DEFAULT, wFlags, vt);
}
