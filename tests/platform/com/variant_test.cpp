#include "platform/com/variant.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "platform/com/bstr.h"
#include "platform/com/dispatch.h"
#include "platform/com/safearray.h"

namespace {

// A value as the tables spell it: integers by their bits, reals, text, or
// the error a conversion must give.
struct Value {
    Value(VARTYPE vt_ = VT_EMPTY, std::int64_t i_ = 0, double d_ = 0, std::u16string s_ = {},
          HRESULT hr_ = S_OK)
        : vt(vt_), i(i_), d(d_), s(std::move(s_)), hr(hr_) {}
    VARTYPE vt;
    std::int64_t i;
    double d;
    std::u16string s;
    HRESULT hr;
};
const auto I1 = [](std::int64_t v) { return Value{VT_I1, v}; };
const auto I2 = [](std::int64_t v) { return Value{VT_I2, v}; };
const auto I4 = [](std::int64_t v) { return Value{VT_I4, v}; };
const auto I8 = [](std::int64_t v) { return Value{VT_I8, v}; };
const auto Int = [](std::int64_t v) { return Value{VT_INT, v}; };
const auto UI1 = [](std::int64_t v) { return Value{VT_UI1, v}; };
const auto UI2 = [](std::int64_t v) { return Value{VT_UI2, v}; };
const auto UI4 = [](std::int64_t v) { return Value{VT_UI4, v}; };
const auto Uint = [](std::int64_t v) { return Value{VT_UINT, v}; };
const auto UI8 = [](std::uint64_t v) { return Value{VT_UI8, static_cast<std::int64_t>(v)}; };
const auto Cy = [](std::int64_t raw) { return Value{VT_CY, raw}; };
const auto Bool = [](bool b) { return Value{VT_BOOL, b ? VARIANT_TRUE : VARIANT_FALSE}; };
const auto Err = [](SCODE scode) { return Value{VT_ERROR, scode}; };
const auto R4 = [](double v) { return Value{VT_R4, 0, v}; };
const auto R8 = [](double v) { return Value{VT_R8, 0, v}; };
const auto Date = [](double v) { return Value{VT_DATE, 0, v}; };
const auto Str = [](std::u16string s) { return Value{VT_BSTR, 0, 0, std::move(s)}; };
const Value Empty{VT_EMPTY}, Null{VT_NULL};
const Value Ovf{VT_EMPTY, 0, 0, {}, DISP_E_OVERFLOW}, Mis{VT_EMPTY, 0, 0, {}, DISP_E_TYPEMISMATCH};
const double kNan = std::numeric_limits<double>::quiet_NaN(), kInf = std::numeric_limits<double>::infinity();

constexpr std::pair<VARTYPE, std::size_t> kIntegerBytes[] = {
    {VT_I1, 1},  {VT_UI1, 1},  {VT_I2, 2},    {VT_UI2, 2}, {VT_BOOL, 2}, {VT_I4, 4}, {VT_UI4, 4},
    {VT_INT, 4}, {VT_UINT, 4}, {VT_ERROR, 4}, {VT_I8, 8},  {VT_UI8, 8},  {VT_CY, 8}};

std::size_t IntegerBytes(VARTYPE vt) {
    for (const auto& [type, bytes] : kIntegerBytes)
        if (type == vt)
            return bytes;
    return 0;
}

VARIANT Make(const Value& v) {
    VARIANT var;
    VariantInit(&var);
    var.vt = v.vt;
    var.llVal = v.i; // the narrower integer members share its low bytes
    if (v.vt == VT_R4)
        var.fltVal = static_cast<float>(v.d);
    else if (v.vt == VT_R8 || v.vt == VT_DATE)
        var.dblVal = v.d;
    else if (v.vt == VT_BSTR)
        var.bstrVal = SysAllocStringLen(v.s.data(), static_cast<UINT>(v.s.size()));
    return var;
}

std::u16string TextOf(const VARIANT& v) {
    return {v.bstrVal ? v.bstrVal : u"", SysStringLen(v.bstrVal)};
}

bool SameReal(double a, double b) {
    return a == b || (std::isnan(a) && std::isnan(b));
}

::testing::AssertionResult Holds(const VARIANT& actual, const Value& expected) {
    bool same = actual.vt == expected.vt;
    if (same && IntegerBytes(expected.vt) != 0)
        same = std::memcmp(&actual.llVal, &expected.i, IntegerBytes(expected.vt)) == 0;
    else if (same && expected.vt == VT_R4)
        same = SameReal(actual.fltVal, static_cast<float>(expected.d));
    else if (same && (expected.vt == VT_R8 || expected.vt == VT_DATE))
        same = SameReal(actual.dblVal, expected.d);
    else if (same && expected.vt == VT_BSTR)
        same = actual.bstrVal != nullptr && TextOf(actual) == expected.s;
    if (same)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "vt " << actual.vt << " bits " << actual.llVal << " real " << actual.dblVal;
}

struct Row {
    Value from;
    VARTYPE to;
    Value expected;
    USHORT flags = 0;
};

// Converts into a destination holding text, so that a failure can be seen to
// leave it alone and a success to free it (the leak checker would tell).
void Check(const std::vector<Row>& rows) {
    for (std::size_t n = 0; n < rows.size(); ++n) {
        const Row& r = rows[n];
        SCOPED_TRACE("row " + std::to_string(n));
        VARIANT src = Make(r.from), dest = Make(Str(u"untouched"));
        const BSTR sentinel = dest.bstrVal;
        EXPECT_EQ(VariantChangeType(&dest, &src, r.flags, r.to), r.expected.hr);
        if (SUCCEEDED(r.expected.hr))
            EXPECT_TRUE(Holds(dest, r.expected));
        else
            EXPECT_TRUE(dest.vt == VT_BSTR && dest.bstrVal == sentinel);
        EXPECT_TRUE(Holds(src, r.from)) << "source changed";
        VariantClear(&src);
        VariantClear(&dest);
    }
}

TEST(VariantConvert, NumbersToNumbers) {
    // clang-format off
    Check({
        {I4(127), VT_I1, I1(127)}, {I4(128), VT_I1, Ovf}, {I4(-128), VT_I1, I1(-128)}, {I4(-129), VT_I1, Ovf},
        {I4(32767), VT_I2, I2(32767)}, {I4(32768), VT_I2, Ovf}, {I4(-32768), VT_I2, I2(-32768)},
        {I4(-32769), VT_I2, Ovf}, {I4(255), VT_UI1, UI1(255)}, {I4(256), VT_UI1, Ovf}, {I4(-1), VT_UI1, Ovf},
        {I4(65535), VT_UI2, UI2(65535)}, {I4(65536), VT_UI2, Ovf}, {I8(INT32_MAX), VT_I4, I4(INT32_MAX)},
        {I8(2147483648), VT_I4, Ovf}, {I8(INT32_MIN), VT_INT, Int(INT32_MIN)}, {I8(-2147483649), VT_INT, Ovf},
        {I8(UINT32_MAX), VT_UI4, UI4(UINT32_MAX)}, {I8(UINT32_MAX), VT_UINT, Uint(UINT32_MAX)},
        {I8(4294967296), VT_UINT, Ovf}, {I4(-1), VT_UI4, Ovf}, {UI8(INT64_MAX), VT_I8, I8(INT64_MAX)},
        {UI8(1ULL << 63), VT_I8, Ovf}, {I8(-1), VT_UI8, Ovf}, {R8(-0x1p63), VT_I8, I8(INT64_MIN)},
        {R8(0x1p63), VT_I8, Ovf}, {R8(1.8e19), VT_UI8, UI8(18000000000000000000ULL)},
        {R8(0x1p64), VT_UI8, Ovf}, {R8(kNan), VT_I4, Ovf}, {R8(kInf), VT_I2, Ovf}, {R8(-kInf), VT_UI1, Ovf},
        // Half-way values go to the even neighbour.
        {R8(0.5), VT_I4, I4(0)}, {R8(1.5), VT_I4, I4(2)}, {R8(2.5), VT_I4, I4(2)}, {R8(-0.5), VT_I4, I4(0)},
        {R8(-1.5), VT_I4, I4(-2)}, {R8(-2.5), VT_I2, I2(-2)}, {R8(2.5000001), VT_I4, I4(3)},
        {R8(-0.4), VT_UI1, UI1(0)}, {R8(126.5), VT_I1, I1(126)}, {R8(127.5), VT_I1, Ovf},
        {R8(-128.5), VT_I1, I1(-128)}, {R8(255.5), VT_UI1, Ovf}, {R4(2.5), VT_I2, I2(2)},
        {Date(1.5), VT_I4, I4(2)}, {Cy(25000), VT_I4, I4(2)}, {Cy(35000), VT_I4, I4(4)},
        {Cy(-25000), VT_I4, I4(-2)}, {Cy(15001), VT_I4, I4(2)}, {Cy(INT64_MAX), VT_I8, I8(922337203685478)},
        {Cy(327675000), VT_I2, Ovf},
        // Reals, currency and dates.
        {R8(1e300), VT_R4, Ovf}, {R8(-1e300), VT_R4, Ovf}, {R8(FLT_MAX), VT_R4, R4(FLT_MAX)},
        {R8(3.5e38), VT_R4, Ovf}, {R8(kNan), VT_R4, R4(kNan)}, {I8(INT64_MAX), VT_R4, R4(0x1p63)},
        {R4(0.1f), VT_R8, R8(0.1f)}, {I8(922337203685477), VT_CY, Cy(9223372036854770000)},
        {I8(922337203685478), VT_CY, Ovf}, {I8(-922337203685478), VT_CY, Ovf},
        {UI8(922337203685478), VT_CY, Ovf}, {R8(1.23456), VT_CY, Cy(12346)}, {R8(-0.0625), VT_CY, Cy(-625)},
        {R8(1e15), VT_CY, Ovf}, {Cy(12345), VT_R8, R8(1.2345)},
        {Cy(INT64_MIN), VT_R8, R8(-922337203685477.5808)}, {R8(2958465.5), VT_DATE, Date(2958465.5)},
        {R8(2958466), VT_DATE, Ovf}, {R8(-657434.5), VT_DATE, Date(-657434.5)}, {R8(-657435), VT_DATE, Ovf},
        {I4(3000000), VT_DATE, Ovf}, {R8(kNan), VT_DATE, Ovf}, {Date(36526.75), VT_R8, R8(36526.75)},
    });
    // clang-format on
}

TEST(VariantConvert, BooleansEmptyNullAndError) {
    // clang-format off
    Check({
        {Bool(true), VT_I2, I2(-1)}, {Bool(true), VT_R8, R8(-1)}, {Bool(false), VT_R8, R8(0)},
        {Bool(true), VT_CY, Cy(-10000)}, {Bool(true), VT_DATE, Date(-1)},
        // VARIANT_TRUE keeps all its bits in unsigned targets.
        {Bool(true), VT_UI1, UI1(255)}, {Bool(true), VT_UI2, UI2(65535)},
        {Bool(true), VT_UI8, UI8(UINT64_MAX)}, {I4(-7), VT_BOOL, Bool(true)},
        {R8(0.0001), VT_BOOL, Bool(true)}, {R8(0), VT_BOOL, Bool(false)}, {Cy(1), VT_BOOL, Bool(true)},
        {UI8(1ULL << 63), VT_BOOL, Bool(true)}, {Bool(true), VT_BSTR, Str(u"-1")},
        {Bool(false), VT_BSTR, Str(u"0")}, {Bool(true), VT_BSTR, Str(u"True"), VARIANT_ALPHABOOL},
        {Bool(false), VT_BSTR, Str(u"False"), VARIANT_ALPHABOOL},
        {Bool(true), VT_BSTR, Str(u"True"), VARIANT_LOCALBOOL}, {Str(u"True"), VT_BOOL, Bool(true)},
        {Str(u"FALSE"), VT_BOOL, Bool(false)}, {Str(u" tRuE\t"), VT_BOOL, Bool(true)},
        {Str(u"#TRUE#"), VT_BOOL, Bool(true)}, {Str(u"#false#"), VT_BOOL, Bool(false)},
        {Str(u"0"), VT_BOOL, Bool(false)}, {Str(u"0.0"), VT_BOOL, Bool(false)},
        {Str(u"2"), VT_BOOL, Bool(true)}, {Str(u"-0.5"), VT_BOOL, Bool(true)},
        {Str(u"&H0"), VT_BOOL, Bool(false)}, {Str(u"1e999"), VT_BOOL, Bool(true)},
        {Str(u"yes"), VT_BOOL, Mis}, {Str(u"truely"), VT_BOOL, Mis}, {Str(u""), VT_BOOL, Mis},
        {Empty, VT_I4, I4(0)}, {Empty, VT_R8, R8(0)}, {Empty, VT_BSTR, Str(u"")},
        {Empty, VT_BOOL, Bool(false)}, {Empty, VT_CY, Cy(0)}, {Empty, VT_DATE, Date(0)},
        {Empty, VT_NULL, Null}, {Empty, VT_EMPTY, Empty}, {Empty, VT_ERROR, Mis}, {Null, VT_NULL, Null},
        {Null, VT_VARIANT, Null}, {Null, VT_EMPTY, Mis}, {Null, VT_I4, Mis}, {Null, VT_BSTR, Mis},
        {Null, VT_BOOL, Mis}, {I4(0), VT_NULL, Mis}, {Str(u""), VT_NULL, Mis}, {I4(0), VT_EMPTY, Mis},
        {Err(DISP_E_PARAMNOTFOUND), VT_ERROR, Err(DISP_E_PARAMNOTFOUND)}, {Err(5), VT_VARIANT, Err(5)},
        {Err(5), VT_I4, Mis}, {Err(5), VT_BSTR, Mis}, {I4(5), VT_ERROR, Mis}, {Str(u"5"), VT_ERROR, Mis},
        {I4(5), VT_VARIANT, I4(5)}, {Str(u"copy"), VT_BSTR, Str(u"copy")}, {I4(5), VT_DISPATCH, Mis},
        {Str(u"x"), VT_UNKNOWN, Mis},
    });
    // clang-format on
}

TEST(VariantConvert, TextToNumber) {
    // clang-format off
    Check({
        {Str(u" 12 "), VT_I4, I4(12)}, {Str(u"\t-7\t"), VT_I2, I2(-7)}, {Str(u"+5"), VT_UI1, UI1(5)},
        {Str(u"007"), VT_I4, I4(7)}, {Str(u"1e3"), VT_I4, I4(1000)}, {Str(u"1.5E-2"), VT_R8, R8(0.015)},
        {Str(u"12.5"), VT_I4, I4(12)}, {Str(u"13.5"), VT_I4, I4(14)}, {Str(u"-2.5"), VT_I4, I4(-2)},
        {Str(u".5"), VT_R8, R8(0.5)}, {Str(u"5."), VT_R8, R8(5)}, {Str(u"0.1"), VT_R8, R8(0.1)},
        {Str(u"1.7976931348623157e308"), VT_R8, R8(DBL_MAX)}, {Str(u"1e400"), VT_R8, Ovf},
        {Str(u"-1e400"), VT_R8, Ovf}, {Str(u"1e-400"), VT_R8, R8(0)}, {Str(u"3.5e38"), VT_R4, Ovf},
        {Str(u"3.4028234e38"), VT_R4, R4(FLT_MAX)}, {Str(u"32768"), VT_I2, Ovf},
        {Str(u"-32768"), VT_I2, I2(-32768)}, {Str(u"256"), VT_UI1, Ovf}, {Str(u"-1"), VT_UI1, Ovf},
        {Str(u"9223372036854775807"), VT_I8, I8(INT64_MAX)},
        {Str(u"-9223372036854775808"), VT_I8, I8(INT64_MIN)}, {Str(u"9223372036854775808"), VT_I8, Ovf},
        {Str(u"-9223372036854775809"), VT_I8, Ovf}, {Str(u"18446744073709551615"), VT_UI8, UI8(UINT64_MAX)},
        {Str(u"18446744073709551616"), VT_UI8, Ovf},
        {Str(u"123456789012345678901234567890"), VT_R8, R8(123456789012345678901234567890.0)},
        // Hexadecimal and octal may fill the target's full width.
        {Str(u"&HFF"), VT_UI1, UI1(255)}, {Str(u"&hff"), VT_I4, I4(255)}, {Str(u"&HFF"), VT_I1, I1(-1)},
        {Str(u"&HFFFF"), VT_I2, I2(-1)}, {Str(u"&H8000"), VT_I2, I2(-32768)}, {Str(u"&H10000"), VT_I2, Ovf},
        {Str(u"&HFFFF"), VT_I4, I4(65535)}, {Str(u"&HFFFFFFFF"), VT_I4, I4(-1)},
        {Str(u"&HFFFFFFFFFFFFFFFF"), VT_I8, I8(-1)}, {Str(u"&HFFFFFFFFFFFFFFFF"), VT_UI8, UI8(UINT64_MAX)},
        {Str(u"&H1FFFFFFFFFFFFFFFF"), VT_UI8, Ovf}, {Str(u"&HFFFF"), VT_R8, R8(65535)},
        {Str(u" &O17 "), VT_I4, I4(15)}, {Str(u"&o177777"), VT_I2, I2(-1)}, {Str(u"&O8"), VT_I4, Mis},
        {Str(u"&H"), VT_I4, Mis}, {Str(u"&HFG"), VT_I4, Mis}, {Str(u"&X1"), VT_I4, Mis},
        {Str(u"-&H1"), VT_I4, Mis},
        // Not numbers.
        {Str(u""), VT_I4, Mis}, {Str(u"   "), VT_R8, Mis}, {Str(u"abc"), VT_I4, Mis},
        {Str(u"12abc"), VT_I4, Mis}, {Str(u"1e"), VT_R8, Mis}, {Str(u"1e+"), VT_R8, Mis},
        {Str(u"."), VT_R8, Mis}, {Str(u"-"), VT_I4, Mis}, {Str(u"1 2"), VT_I4, Mis},
        {Str(u"1,000"), VT_I4, Mis}, {Str(u"0x1F"), VT_I4, Mis}, {Str(u"\uFF11"), VT_I4, Mis},
        {Str(std::u16string(u"1\0" u"2", 3)), VT_I4, Mis}, {Str(u"nan"), VT_R8, Mis},
        {Str(u"inf"), VT_R8, Mis},
        // Currency rounds the decimal text itself, half to even, all 19 digits kept.
        {Str(u"1.23455"), VT_CY, Cy(12346)}, {Str(u"1.23445"), VT_CY, Cy(12344)},
        {Str(u"0.00005"), VT_CY, Cy(0)}, {Str(u"0.00015"), VT_CY, Cy(2)}, {Str(u"-0.00025"), VT_CY, Cy(-2)},
        {Str(u"922337203685477.5807"), VT_CY, Cy(INT64_MAX)},
        {Str(u"-922337203685477.5808"), VT_CY, Cy(INT64_MIN)}, {Str(u"922337203685477.5808"), VT_CY, Ovf},
        {Str(u"1e14"), VT_CY, Cy(1000000000000000000)}, {Str(u"1e15"), VT_CY, Ovf},
        {Str(u"12345e-7"), VT_CY, Cy(12)}, {Str(u"1e-100"), VT_CY, Cy(0)},
        {Str(u"&HFFFF"), VT_CY, Cy(655350000)},
    });
    // clang-format on
}

TEST(VariantConvert, ValuesToText) {
    // clang-format off
    Check({
        {I4(-123), VT_BSTR, Str(u"-123")}, {I1(-128), VT_BSTR, Str(u"-128")},
        {UI1(255), VT_BSTR, Str(u"255")}, {UI4(UINT32_MAX), VT_BSTR, Str(u"4294967295")},
        {I8(INT64_MIN), VT_BSTR, Str(u"-9223372036854775808")},
        {UI8(UINT64_MAX), VT_BSTR, Str(u"18446744073709551615")}, {R8(0.1), VT_BSTR, Str(u"0.1")},
        {R8(0.1 + 0.2), VT_BSTR, Str(u"0.3")}, {R8(1.0 / 3), VT_BSTR, Str(u"0.333333333333333")},
        {R8(-2.5), VT_BSTR, Str(u"-2.5")}, {R8(100), VT_BSTR, Str(u"100")}, {R8(-0.0), VT_BSTR, Str(u"0")},
        {R8(123456789012345.0), VT_BSTR, Str(u"123456789012345")},
        {R8(999999999999999.9), VT_BSTR, Str(u"1E+15")}, {R8(1e20), VT_BSTR, Str(u"1E+20")},
        {R8(-1.25e100), VT_BSTR, Str(u"-1.25E+100")}, {R8(0.0001), VT_BSTR, Str(u"0.0001")},
        {R8(0.00001), VT_BSTR, Str(u"1E-05")}, {R8(1.5e-7), VT_BSTR, Str(u"1.5E-07")},
        {R8(1e-300), VT_BSTR, Str(u"1E-300")}, {R4(0.1f), VT_BSTR, Str(u"0.1")},
        {R4(3.14159274f), VT_BSTR, Str(u"3.141593")}, {R4(1234567.0f), VT_BSTR, Str(u"1234567")},
        {R4(16777216.0f), VT_BSTR, Str(u"1.677722E+07")}, {R4(-0.0f), VT_BSTR, Str(u"0")},
        {Cy(12345), VT_BSTR, Str(u"1.2345")}, {Cy(10000), VT_BSTR, Str(u"1")},
        {Cy(-5000), VT_BSTR, Str(u"-0.5")}, {Cy(INT64_MIN), VT_BSTR, Str(u"-922337203685477.5808")},
        {Date(36526), VT_BSTR, Str(u"2000-01-01")}, {Date(36526.75), VT_BSTR, Str(u"2000-01-01 18:00:00")},
        {Date(0.5), VT_BSTR, Str(u"12:00:00")}, {Date(0), VT_BSTR, Str(u"00:00:00")},
        {Date(1), VT_BSTR, Str(u"1899-12-31")}, {Date(-1.25), VT_BSTR, Str(u"1899-12-29 06:00:00")},
        {Date(-657434), VT_BSTR, Str(u"0100-01-01")}, {Date(45000.99999999), VT_BSTR, Str(u"2023-03-16")},
        {Date(2958465.0 + 86399.0 / 86400), VT_BSTR, Str(u"9999-12-31 23:59:59")},
        {Date(2958466), VT_BSTR, Ovf}, {Date(kNan), VT_BSTR, Ovf},
    });
    // clang-format on
}

TEST(VariantConvert, TextToDate) {
    // clang-format off
    Check({
        {Str(u"2000-01-01"), VT_DATE, Date(36526)}, {Str(u" 2000-01-01 18:00 "), VT_DATE, Date(36526.75)},
        {Str(u"2000-1-1 18:00:00"), VT_DATE, Date(36526.75)},
        {Str(u"1899-12-29 06:00:00"), VT_DATE, Date(-1.25)}, {Str(u"12:00:00"), VT_DATE, Date(0.5)},
        {Str(u"06:00"), VT_DATE, Date(0.25)}, {Str(u"2024-02-29"), VT_DATE, Date(45351)},
        {Str(u"0100-01-01"), VT_DATE, Date(-657434)}, {Str(u"9999-12-31"), VT_DATE, Date(2958465)},
        {Str(u"0099-12-31"), VT_DATE, Ovf}, {Str(u"2023-02-29"), VT_DATE, Mis},
        {Str(u"2024-02-30"), VT_DATE, Mis}, {Str(u"2024-13-01"), VT_DATE, Mis},
        {Str(u"2024-00-10"), VT_DATE, Mis}, {Str(u"24:00:00"), VT_DATE, Mis}, {Str(u"12:60"), VT_DATE, Mis},
        {Str(u"12:00:60"), VT_DATE, Mis}, {Str(u"2024-01-01x"), VT_DATE, Mis}, {Str(u"12345"), VT_DATE, Mis},
        {Str(u"1.5"), VT_DATE, Mis}, {Str(u""), VT_DATE, Mis}, {Str(u"12:"), VT_DATE, Mis},
    });
    // clang-format on
    for (const double date : {45000.1234, -1000.75, 1.0 / 86400, 2958465.5, -657433.999}) {
        VARIANT v = Make(Date(date));
        ASSERT_EQ(VariantChangeType(&v, &v, 0, VT_BSTR), S_OK);
        ASSERT_EQ(VariantChangeType(&v, &v, 0, VT_DATE), S_OK);
        EXPECT_NEAR(v.date, date, 0.5 / 86400) << "round trip to the second";
    }
}

TEST(VariantConvert, InPlaceAndByReference) {
    VARIANT v = Make(Str(u" 42 "));
    EXPECT_EQ(VariantChangeType(&v, &v, 0, VT_I4), S_OK);
    EXPECT_TRUE(Holds(v, I4(42)));
    EXPECT_EQ(VariantChangeType(&v, &v, 0, VT_BSTR), S_OK);
    EXPECT_EQ(VariantChangeType(&v, &v, 0, VT_I1), S_OK);
    EXPECT_TRUE(Holds(v, I1(42)));
    VariantClear(&v);
    v = Make(Str(u"abc"));
    EXPECT_EQ(VariantChangeType(&v, &v, 0, VT_I4), DISP_E_TYPEMISMATCH);
    EXPECT_TRUE(Holds(v, Str(u"abc")));
    VariantClear(&v);

    LONG number = 300;
    VARIANT ref{}, dest{};
    ref.vt = VT_BYREF | VT_I4;
    ref.plVal = &number;
    EXPECT_EQ(VariantChangeType(&dest, &ref, 0, VT_BSTR), S_OK);
    EXPECT_TRUE(Holds(dest, Str(u"300")));
    EXPECT_EQ(VariantChangeType(&dest, &ref, 0, VT_UI1), DISP_E_OVERFLOW);
    EXPECT_EQ(VariantChangeType(&ref, &ref, 0, VT_I2), S_OK); // the reference goes, the referent stays
    EXPECT_TRUE(Holds(ref, I2(300)));
    EXPECT_EQ(number, 300);

    VARIANT inner = Make(Str(u"7")), refVar{}, nested{}, dangling{};
    refVar.vt = nested.vt = VT_BYREF | VT_VARIANT;
    refVar.pvarVal = &inner;
    nested.pvarVal = &refVar;
    dangling.vt = VT_BYREF | VT_BSTR;
    EXPECT_EQ(VariantChangeType(&dest, &refVar, 0, VT_I4), S_OK);
    EXPECT_TRUE(Holds(dest, I4(7)));
    EXPECT_EQ(VariantChangeType(&dest, &refVar, 0, VT_VARIANT), S_OK);
    EXPECT_TRUE(Holds(dest, Str(u"7")));
    EXPECT_NE(dest.bstrVal, inner.bstrVal);
    EXPECT_EQ(VariantChangeType(&dest, &nested, 0, VT_I4), E_INVALIDARG); // one level only
    EXPECT_EQ(VariantChangeType(&dest, &dangling, 0, VT_I4), E_INVALIDARG);
    EXPECT_TRUE(Holds(dest, Str(u"7")));
    VariantClear(&dest);
    VariantClear(&inner);
}

TEST(VariantConvert, ArraysOnlyConvertToTheirOwnType) {
    VARIANT arr{}, dest{}, number = Make(I4(1));
    arr.vt = VT_ARRAY | VT_I4;
    arr.parray = SafeArrayCreateVector(VT_I4, 0, 3);
    for (const VARTYPE to : {VARTYPE(VT_ARRAY | VT_I4), VARTYPE(VT_VARIANT)}) {
        ASSERT_EQ(VariantChangeType(&dest, &arr, 0, to), S_OK);
        EXPECT_EQ(dest.vt, VT_ARRAY | VT_I4);
        EXPECT_TRUE(dest.parray != nullptr && dest.parray != arr.parray);
    }
    for (const VARTYPE to : {VARTYPE(VT_ARRAY | VT_I2), VARTYPE(VT_ARRAY | VT_VARIANT), VARTYPE(VT_I4),
                             VARTYPE(VT_BSTR), VARTYPE(VT_BOOL)})
        EXPECT_EQ(VariantChangeType(&dest, &arr, 0, to), DISP_E_TYPEMISMATCH) << to;
    EXPECT_EQ(VariantChangeType(&dest, &number, 0, VT_ARRAY | VT_I4), DISP_E_TYPEMISMATCH);
    VariantClear(&dest);
    VariantClear(&arr);
}

TEST(VariantConvert, NullArgumentsAndBadTypes) {
    VARIANT v = Make(I4(1));
    EXPECT_EQ(VariantChangeType(nullptr, &v, 0, VT_I2), E_INVALIDARG);
    EXPECT_EQ(VariantChangeType(&v, nullptr, 0, VT_I2), E_INVALIDARG);
    EXPECT_EQ(VariantChangeTypeEx(&v, &v, LOCALE_USER_DEFAULT, 0, VT_I2), S_OK);
    for (const unsigned bad : std::initializer_list<unsigned>{
             VT_DECIMAL, VT_VOID, VT_HRESULT, 15, VT_BYREF | VT_I4, VT_ARRAY | VT_EMPTY, VT_RESERVED | VT_I4,
             VT_ARRAY | VT_DECIMAL, 0xFFFF, VT_TYPEMASK})
        EXPECT_EQ(VariantChangeType(&v, &v, 0, static_cast<VARTYPE>(bad)), DISP_E_BADVARTYPE) << bad;
    EXPECT_TRUE(Holds(v, I2(1)));
}

// Whatever the tag, nothing crashes and bad tags are refused as such.
TEST(VariantConvert, GarbageTypeTagsNeverCrash) {
    int accepted = 0;
    for (unsigned tag = 0; tag <= 0xFFFF; ++tag) {
        VARIANT src{}, dest{}, number = Make(I4(5));
        src.vt = static_cast<VARTYPE>(tag);
        for (const VARTYPE to : {VT_I4, VT_BSTR, VT_VARIANT, VT_DISPATCH, VT_NULL}) {
            const HRESULT hr = VariantChangeType(&dest, &src, 0, to);
            ASSERT_TRUE(hr == S_OK || hr == DISP_E_BADVARTYPE || hr == DISP_E_TYPEMISMATCH ||
                        hr == E_INVALIDARG)
                << tag;
            VariantClear(&dest);
        }
        const HRESULT to = VariantChangeType(&dest, &number, 0, static_cast<VARTYPE>(tag));
        ASSERT_TRUE(to == S_OK || to == DISP_E_BADVARTYPE || to == DISP_E_TYPEMISMATCH) << tag;
        VariantClear(&dest);
        const HRESULT copy = VariantCopy(&dest, &src), ind = VariantCopyInd(&dest, &src);
        VariantClear(&dest);
        const HRESULT clear = VariantClear(&src);
        if (clear == S_OK) {
            ++accepted;
            EXPECT_EQ(copy, S_OK) << tag;
        } else {
            EXPECT_EQ(clear, DISP_E_BADVARTYPE) << tag;
            EXPECT_EQ(static_cast<unsigned>(src.vt), tag) << "a bad variant is left as it was";
            EXPECT_TRUE(copy == DISP_E_BADVARTYPE && ind == DISP_E_BADVARTYPE) << tag;
        }
    }
    // 21 plain types, 20 array element types, BYREF of both.
    EXPECT_EQ(accepted, 21 + 20 + 20 + 20);
}

TEST(VariantCopyClear, CopiesTextDeeplyAndReferencesShallowly) {
    const std::u16string text(u"a\0b", 3);
    VARIANT src = Make(Str(text)), dest = Make(Str(u"old")), ref{}, inner = Make(I4(9)), refVar{}, nested{};
    ASSERT_EQ(VariantCopy(&dest, &src), S_OK);
    EXPECT_NE(dest.bstrVal, src.bstrVal);
    EXPECT_EQ(TextOf(dest), text);
    EXPECT_EQ(VariantCopy(&dest, &dest), S_OK);
    EXPECT_EQ(TextOf(dest), text);

    ref.vt = VT_BYREF | VT_BSTR;
    ref.pbstrVal = &src.bstrVal;
    ASSERT_EQ(VariantCopy(&dest, &ref), S_OK);
    EXPECT_TRUE(dest.vt == (VT_BYREF | VT_BSTR) && dest.pbstrVal == &src.bstrVal);
    EXPECT_EQ(VariantClear(&dest), S_OK); // owns nothing: src stays intact
    EXPECT_EQ(dest.vt, VT_EMPTY);
    ASSERT_EQ(VariantCopyInd(&dest, &ref), S_OK);
    EXPECT_TRUE(dest.vt == VT_BSTR && dest.bstrVal != src.bstrVal && TextOf(dest) == text);
    ASSERT_EQ(VariantCopyInd(&ref, &ref), S_OK); // dereferenced in place
    EXPECT_TRUE(ref.vt == VT_BSTR && ref.bstrVal != src.bstrVal);

    refVar.vt = nested.vt = VT_BYREF | VT_VARIANT;
    refVar.pvarVal = &inner;
    nested.pvarVal = &refVar;
    ASSERT_EQ(VariantCopyInd(&dest, &refVar), S_OK);
    EXPECT_TRUE(Holds(dest, I4(9)));
    EXPECT_EQ(VariantCopyInd(&dest, &nested), E_INVALIDARG);
    EXPECT_TRUE(Holds(dest, I4(9)));
    for (VARIANT* v : {&src, &dest, &ref})
        EXPECT_EQ(VariantClear(v), S_OK);

    EXPECT_EQ(VariantClear(nullptr), E_INVALIDARG);
    EXPECT_EQ(VariantCopy(nullptr, &src), E_INVALIDARG);
    EXPECT_EQ(VariantCopy(&src, nullptr), E_INVALIDARG);
    EXPECT_EQ(VariantCopyInd(nullptr, &src), E_INVALIDARG);
    EXPECT_EQ(VariantCopyInd(&src, nullptr), E_INVALIDARG);
}

TEST(VariantCopyClear, ArrayOfTextVariantsIsCopiedIndependently) {
    VARIANT src{}, copy{};
    src.vt = VT_ARRAY | VT_VARIANT;
    src.parray = SafeArrayCreateVector(VT_VARIANT, 1, 2);
    for (LONG i = 1; i <= 2; ++i) {
        VARIANT element = Make(Str(i == 1 ? u"one" : u"two"));
        ASSERT_EQ(SafeArrayPutElement(src.parray, &i, &element), S_OK);
        VariantClear(&element);
    }
    ASSERT_EQ(VariantCopy(&copy, &src), S_OK);
    ASSERT_NE(copy.parray, src.parray);
    LONG first = 1;
    VARIANT replacement = Make(Str(u"changed"));
    ASSERT_EQ(SafeArrayPutElement(src.parray, &first, &replacement), S_OK);
    VariantClear(&replacement);
    const auto* original = static_cast<const VARIANT*>(src.parray->pvData);
    const auto* copied = static_cast<const VARIANT*>(copy.parray->pvData);
    EXPECT_TRUE(Holds(original[0], Str(u"changed")));
    EXPECT_TRUE(Holds(copied[0], Str(u"one")));
    EXPECT_TRUE(Holds(copied[1], Str(u"two")));
    EXPECT_NE(original[1].bstrVal, copied[1].bstrVal);

    ASSERT_EQ(SafeArrayLock(copy.parray), S_OK);
    EXPECT_EQ(VariantClear(&copy), DISP_E_ARRAYISLOCKED); // still owned by the variant
    EXPECT_EQ(copy.vt, VT_ARRAY | VT_VARIANT);
    ASSERT_EQ(SafeArrayUnlock(copy.parray), S_OK);
    EXPECT_EQ(VariantClear(&copy), S_OK);
    EXPECT_EQ(VariantClear(&src), S_OK);
}

// Counts its references; its default value is whatever `value` holds.
class FakeObject final : public IDispatch {
public:
    ~FakeObject() { VariantClear(&value); }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        *ppv = riid == IID_IUnknown || (dispatchable && riid == IID_IDispatch) ? this : nullptr;
        return *ppv ? (AddRef(), S_OK) : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO*, UINT*) override {
        ++invokes;
        if (member != DISPID_VALUE || flags != DISPATCH_PROPERTYGET || !params || params->cArgs != 0 ||
            !result)
            return DISP_E_MEMBERNOTFOUND;
        return failure != S_OK ? failure : VariantCopy(result, &value);
    }

    ULONG refs = 1; // the test's own
    int invokes = 0;
    bool dispatchable = true;
    HRESULT failure = S_OK;
    VARIANT value{};
};

VARIANT Holding(FakeObject& object, VARTYPE vt = VT_DISPATCH) {
    VARIANT v{};
    v.vt = vt;
    v.pdispVal = &object;
    object.AddRef();
    return v;
}

TEST(VariantConvert, ObjectsGiveTheirDefaultValue) {
    const Row rows[] = {{I4(42), VT_I4, I4(42)},           {Str(u"17"), VT_I2, I2(17)},
                        {Str(u"17"), VT_BSTR, Str(u"17")}, {I4(40000), VT_I2, Ovf},
                        {Str(u"x"), VT_R8, Mis},           {Null, VT_NULL, Null},
                        {Empty, VT_BOOL, Bool(false)}};
    for (const VARTYPE holder : {VT_DISPATCH, VT_UNKNOWN}) {
        for (const Row& r : rows) {
            SCOPED_TRACE(std::to_string(holder) + " -> " + std::to_string(r.to));
            FakeObject object;
            object.value = Make(r.from);
            VARIANT src = Holding(object, holder), dest = Make(I4(-5));
            EXPECT_EQ(VariantChangeType(&dest, &src, 0, r.to), r.expected.hr);
            EXPECT_EQ(object.invokes, 1);
            EXPECT_TRUE(Holds(dest, SUCCEEDED(r.expected.hr) ? r.expected : I4(-5)));
            EXPECT_EQ(object.refs, 2u);
            VariantClear(&dest);
            VariantClear(&src);
            EXPECT_EQ(object.refs, 1u);
        }
    }
}

TEST(VariantConvert, ObjectsThatCannotGiveAValue) {
    FakeObject inner, object; // object goes first: its value refers to inner
    VARIANT src = Holding(object), dest = Make(I4(-5)), nothing{};
    EXPECT_EQ(VariantChangeType(&dest, &src, VARIANT_NOVALUEPROP, VT_I4), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(object.invokes, 0);
    object.failure = DISP_E_EXCEPTION;
    EXPECT_EQ(VariantChangeType(&dest, &src, 0, VT_I4), DISP_E_TYPEMISMATCH);
    object.failure = S_OK;
    object.dispatchable = false;
    EXPECT_EQ(VariantChangeType(&dest, &src, 0, VT_I4), DISP_E_TYPEMISMATCH);
    nothing.vt = VT_DISPATCH;
    EXPECT_EQ(VariantChangeType(&dest, &nothing, 0, VT_I4), DISP_E_TYPEMISMATCH);
    EXPECT_TRUE(Holds(dest, I4(-5)));
    EXPECT_EQ(object.refs, 2u);

    // A default value that is an object again is not followed further.
    object.dispatchable = true;
    inner.value = Make(I4(1));
    object.value = Holding(inner);
    EXPECT_EQ(VariantChangeType(&dest, &src, 0, VT_I4), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(inner.invokes, 0);
    EXPECT_EQ(inner.refs, 2u); // the outer object's reference only
    VariantClear(&src);
    EXPECT_EQ(object.refs, 1u);
}

TEST(VariantConvert, ObjectInterfacesAndReferenceCounts) {
    FakeObject object;
    VARIANT unknown = Holding(object, VT_UNKNOWN), dest{}, empty{}, nothing{};
    ASSERT_EQ(VariantChangeType(&dest, &unknown, 0, VT_DISPATCH), S_OK);
    EXPECT_TRUE(dest.vt == VT_DISPATCH && dest.pdispVal == &object);
    EXPECT_EQ(object.refs, 3u);
    ASSERT_EQ(VariantChangeType(&dest, &dest, 0, VT_UNKNOWN), S_OK);
    EXPECT_EQ(dest.vt, VT_UNKNOWN);
    ASSERT_EQ(VariantCopy(&dest, &unknown), S_OK);
    ASSERT_EQ(VariantCopy(&dest, &dest), S_OK);
    EXPECT_EQ(object.refs, 3u);
    object.value = Make(I4(8));
    ASSERT_EQ(VariantChangeType(&dest, &dest, 0, VT_I4), S_OK); // drops the reference it held
    EXPECT_TRUE(Holds(dest, I4(8)));
    EXPECT_EQ(object.refs, 2u);
    object.dispatchable = false;
    EXPECT_EQ(VariantChangeType(&dest, &unknown, 0, VT_DISPATCH), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(object.refs, 2u);

    nothing.vt = VT_UNKNOWN;
    for (const VARIANT* from : {&empty, &nothing})
        for (const VARTYPE to : {VT_DISPATCH, VT_UNKNOWN}) {
            ASSERT_EQ(VariantChangeType(&dest, from, 0, to), S_OK);
            EXPECT_TRUE(dest.vt == to && dest.punkVal == nullptr);
        }
    VariantClear(&dest);
    VariantClear(&unknown);
    EXPECT_EQ(object.refs, 1u);
}

} // namespace
