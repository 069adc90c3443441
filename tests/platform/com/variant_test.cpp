#include "platform/com/variant.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "platform/com/bstr.h"
#include "platform/com/dispatch.h"
#include "platform/com/safearray.h"

namespace {

// A value as the tables spell it; becomes a VARIANT on demand.
struct Value {
    VARTYPE vt = VT_EMPTY;
    std::int64_t i = 0;
    std::uint64_t u = 0;
    double d = 0;
    std::u16string s;
};

Value Int(VARTYPE vt, std::int64_t v) { return {vt, v, 0, 0, {}}; }
Value I1(std::int64_t v) { return Int(VT_I1, v); }
Value I2(std::int64_t v) { return Int(VT_I2, v); }
Value I4(std::int64_t v) { return Int(VT_I4, v); }
Value I8(std::int64_t v) { return Int(VT_I8, v); }
Value Intv(std::int64_t v) { return Int(VT_INT, v); }
Value UI1(std::int64_t v) { return Int(VT_UI1, v); }
Value UI2(std::int64_t v) { return Int(VT_UI2, v); }
Value UI4(std::int64_t v) { return Int(VT_UI4, v); }
Value Uint(std::int64_t v) { return Int(VT_UINT, v); }
Value UI8(std::uint64_t v) { return {VT_UI8, 0, v, 0, {}}; }
Value R4(double v) { return {VT_R4, 0, 0, v, {}}; }
Value R8(double v) { return {VT_R8, 0, 0, v, {}}; }
Value Date(double v) { return {VT_DATE, 0, 0, v, {}}; }
Value Cy(std::int64_t raw) { return Int(VT_CY, raw); }
Value Bool(bool b) { return Int(VT_BOOL, b ? VARIANT_TRUE : VARIANT_FALSE); }
Value Err(std::int64_t scode) { return Int(VT_ERROR, scode); }
Value Str(std::u16string s) { return {VT_BSTR, 0, 0, 0, std::move(s)}; }
const Value Empty{VT_EMPTY, 0, 0, 0, {}};
const Value Null{VT_NULL, 0, 0, 0, {}};
const Value None{}; // expected value of a failing case

VARIANT Make(const Value& v) {
    VARIANT var;
    VariantInit(&var);
    var.vt = v.vt;
    switch (v.vt) {
    case VT_UI8:
        var.ullVal = v.u;
        break;
    case VT_R4:
        var.fltVal = static_cast<float>(v.d);
        break;
    case VT_R8:
    case VT_DATE:
        var.dblVal = v.d;
        break;
    case VT_BSTR:
        var.bstrVal = SysAllocStringLen(v.s.data(), static_cast<UINT>(v.s.size()));
        break;
    case VT_I1:
        var.cVal = static_cast<CHAR>(v.i);
        break;
    case VT_UI1:
        var.bVal = static_cast<BYTE>(v.i);
        break;
    case VT_I2:
    case VT_BOOL:
        var.iVal = static_cast<SHORT>(v.i);
        break;
    case VT_UI2:
        var.uiVal = static_cast<USHORT>(v.i);
        break;
    case VT_I4:
    case VT_INT:
    case VT_ERROR:
        var.lVal = static_cast<LONG>(v.i);
        break;
    case VT_UI4:
    case VT_UINT:
        var.ulVal = static_cast<ULONG>(v.i);
        break;
    default:
        var.llVal = v.i;
        break;
    }
    return var;
}

std::u16string TextOf(const VARIANT& v) { return {v.bstrVal ? v.bstrVal : u"", SysStringLen(v.bstrVal)}; }

::testing::AssertionResult Holds(const VARIANT& actual, const Value& expected) {
    if (actual.vt != expected.vt)
        return ::testing::AssertionFailure() << "vt " << actual.vt << ", expected " << expected.vt;
    bool same = true;
    switch (expected.vt) {
    case VT_I1:
        same = static_cast<signed char>(actual.cVal) == expected.i;
        break;
    case VT_UI1:
        same = actual.bVal == expected.i;
        break;
    case VT_I2:
    case VT_BOOL:
        same = actual.iVal == expected.i;
        break;
    case VT_UI2:
        same = actual.uiVal == expected.i;
        break;
    case VT_I4:
    case VT_INT:
    case VT_ERROR:
        same = actual.lVal == expected.i;
        break;
    case VT_UI4:
    case VT_UINT:
        same = actual.ulVal == static_cast<std::uint64_t>(expected.i);
        break;
    case VT_I8:
    case VT_CY:
        same = actual.llVal == expected.i;
        break;
    case VT_UI8:
        same = actual.ullVal == expected.u;
        break;
    case VT_R4:
        same = actual.fltVal == static_cast<float>(expected.d);
        break;
    case VT_R8:
    case VT_DATE:
        same = actual.dblVal == expected.d;
        break;
    case VT_BSTR:
        same = actual.bstrVal != nullptr && TextOf(actual) == expected.s;
        break;
    default:
        break;
    }
    if (same)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "value differs: i=" << actual.llVal << " d=" << actual.dblVal
                                         << " s=" << (expected.vt == VT_BSTR ? "<text>" : "");
}

struct ConversionCase {
    Value from;
    VARTYPE to;
    HRESULT hr;
    Value expected;
    USHORT flags = 0;
};

// Converts with a text sentinel in the destination, so that a failure can be
// seen to leave it alone and a success to free it.
void CheckConversions(const std::vector<ConversionCase>& cases) {
    for (std::size_t n = 0; n < cases.size(); ++n) {
        const ConversionCase& c = cases[n];
        SCOPED_TRACE("row " + std::to_string(n));
        VARIANT src = Make(c.from);
        VARIANT dest = Make(Str(u"untouched"));
        const BSTR sentinel = dest.bstrVal;
        EXPECT_EQ(VariantChangeType(&dest, &src, c.flags, c.to), c.hr);
        if (SUCCEEDED(c.hr)) {
            EXPECT_TRUE(Holds(dest, c.expected));
        } else {
            EXPECT_EQ(dest.vt, VT_BSTR);
            EXPECT_EQ(dest.bstrVal, sentinel);
        }
        EXPECT_TRUE(Holds(src, c.from)) << "source changed";
        VariantClear(&src);
        VariantClear(&dest);
    }
}

constexpr HRESULT OK = S_OK;
constexpr HRESULT OVF = DISP_E_OVERFLOW;
constexpr HRESULT MISMATCH = DISP_E_TYPEMISMATCH;

TEST(VariantConvert, IntegerRangesAndRounding) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    CheckConversions({
        {I4(127), VT_I1, OK, I1(127)},
        {I4(128), VT_I1, OVF, None},
        {I4(-128), VT_I1, OK, I1(-128)},
        {I4(-129), VT_I1, OVF, None},
        {I4(32767), VT_I2, OK, I2(32767)},
        {I4(32768), VT_I2, OVF, None},
        {I4(-32768), VT_I2, OK, I2(-32768)},
        {I4(-32769), VT_I2, OVF, None},
        {I4(255), VT_UI1, OK, UI1(255)},
        {I4(256), VT_UI1, OVF, None},
        {I4(-1), VT_UI1, OVF, None},
        {I4(65535), VT_UI2, OK, UI2(65535)},
        {I4(65536), VT_UI2, OVF, None},
        {I8(2147483647), VT_I4, OK, I4(2147483647)},
        {I8(2147483648), VT_I4, OVF, None},
        {I8(-2147483648LL), VT_INT, OK, Intv(-2147483648LL)},
        {I8(-2147483649LL), VT_INT, OVF, None},
        {I8(4294967295LL), VT_UI4, OK, UI4(4294967295LL)},
        {I8(4294967296LL), VT_UINT, OVF, None},
        {I4(-1), VT_UINT, OVF, None},
        {UI8(9223372036854775807ULL), VT_I8, OK, I8(INT64_MAX)},
        {UI8(9223372036854775808ULL), VT_I8, OVF, None},
        {I8(-1), VT_UI8, OVF, None},
        {UI4(4294967295LL), VT_I8, OK, I8(4294967295LL)},
        {R8(-9223372036854775808.0), VT_I8, OK, I8(INT64_MIN)},
        {R8(9223372036854775808.0), VT_I8, OVF, None},
        {R8(18000000000000000000.0), VT_UI8, OK, UI8(18000000000000000000ULL)},
        {R8(18446744073709551616.0), VT_UI8, OVF, None},
        {R8(nan), VT_I4, OVF, None},
        {R8(inf), VT_I2, OVF, None},
        {R8(-inf), VT_UI1, OVF, None},
        // Half-way values go to the even neighbour.
        {R8(0.5), VT_I4, OK, I4(0)},
        {R8(1.5), VT_I4, OK, I4(2)},
        {R8(2.5), VT_I4, OK, I4(2)},
        {R8(-0.5), VT_I4, OK, I4(0)},
        {R8(-1.5), VT_I4, OK, I4(-2)},
        {R8(-2.5), VT_I2, OK, I2(-2)},
        {R8(2.5000001), VT_I4, OK, I4(3)},
        {R8(-0.4), VT_UI1, OK, UI1(0)},
        {R8(126.5), VT_I1, OK, I1(126)},
        {R8(127.5), VT_I1, OVF, None},
        {R8(-128.5), VT_I1, OK, I1(-128)},
        {R8(255.5), VT_UI1, OVF, None},
        {R4(2.5), VT_I2, OK, I2(2)},
        {Date(1.5), VT_I4, OK, I4(2)},
        {Cy(25000), VT_I4, OK, I4(2)},
        {Cy(35000), VT_I4, OK, I4(4)},
        {Cy(-25000), VT_I4, OK, I4(-2)},
        {Cy(15001), VT_I4, OK, I4(2)},
        {Cy(-15000), VT_I8, OK, I8(-2)},
        {Cy(INT64_MAX), VT_I8, OK, I8(922337203685478)},
        {Cy(327675000), VT_I2, OVF, None}, // 32767.5 rounds to 32768
    });
}

TEST(VariantConvert, RealCurrencyAndDateRanges) {
    CheckConversions({
        {R8(1e300), VT_R4, OVF, None},
        {R8(-1e300), VT_R4, OVF, None},
        {R8(FLT_MAX), VT_R4, OK, R4(FLT_MAX)},
        {R8(3.5e38), VT_R4, OVF, None},
        {I8(INT64_MAX), VT_R4, OK, R4(9223372036854775807.0)},
        {R4(0.1f), VT_R8, OK, R8(static_cast<double>(0.1f))},
        {I8(922337203685477), VT_CY, OK, Cy(9223372036854770000)},
        {I8(922337203685478), VT_CY, OVF, None},
        {I8(-922337203685478), VT_CY, OVF, None},
        {UI8(922337203685478), VT_CY, OVF, None},
        {R8(1.23456), VT_CY, OK, Cy(12346)},
        {R8(-0.0625), VT_CY, OK, Cy(-625)},
        {R8(1e15), VT_CY, OVF, None},
        {Cy(12345), VT_R8, OK, R8(1.2345)},
        {Cy(INT64_MIN), VT_R8, OK, R8(-922337203685477.5808)},
        {Bool(true), VT_CY, OK, Cy(-10000)},
        {R8(2958465.5), VT_DATE, OK, Date(2958465.5)},
        {R8(2958466.0), VT_DATE, OVF, None},
        {R8(-657434.5), VT_DATE, OK, Date(-657434.5)},
        {R8(-657435.0), VT_DATE, OVF, None},
        {I4(3000000), VT_DATE, OVF, None},
        {Date(36526.75), VT_R8, OK, R8(36526.75)},
        {Bool(true), VT_DATE, OK, Date(-1)},
        {Empty, VT_DATE, OK, Date(0)},
    });
}

TEST(VariantConvert, BooleansEmptyNullAndError) {
    CheckConversions({
        {Bool(true), VT_I2, OK, I2(-1)},
        {Bool(true), VT_I4, OK, I4(-1)},
        {Bool(false), VT_R8, OK, R8(0)},
        {Bool(true), VT_R8, OK, R8(-1)},
        // VARIANT_TRUE keeps all its bits in unsigned targets.
        {Bool(true), VT_UI1, OK, UI1(255)},
        {Bool(true), VT_UI2, OK, UI2(65535)},
        {Bool(true), VT_UI8, OK, UI8(UINT64_MAX)},
        {I4(-7), VT_BOOL, OK, Bool(true)},
        {R8(0.0001), VT_BOOL, OK, Bool(true)},
        {R8(0), VT_BOOL, OK, Bool(false)},
        {Cy(1), VT_BOOL, OK, Bool(true)},
        {UI8(1ULL << 63), VT_BOOL, OK, Bool(true)},
        {Bool(true), VT_BSTR, OK, Str(u"-1")},
        {Bool(false), VT_BSTR, OK, Str(u"0")},
        {Bool(true), VT_BSTR, OK, Str(u"True"), VARIANT_ALPHABOOL},
        {Bool(false), VT_BSTR, OK, Str(u"False"), VARIANT_ALPHABOOL},
        {Bool(true), VT_BSTR, OK, Str(u"True"), VARIANT_LOCALBOOL},
        {Str(u"True"), VT_BOOL, OK, Bool(true)},
        {Str(u"FALSE"), VT_BOOL, OK, Bool(false)},
        {Str(u" tRuE\t"), VT_BOOL, OK, Bool(true)},
        {Str(u"#TRUE#"), VT_BOOL, OK, Bool(true)},
        {Str(u"#false#"), VT_BOOL, OK, Bool(false)},
        {Str(u"0"), VT_BOOL, OK, Bool(false)},
        {Str(u"0.0"), VT_BOOL, OK, Bool(false)},
        {Str(u"2"), VT_BOOL, OK, Bool(true)},
        {Str(u"-0.5"), VT_BOOL, OK, Bool(true)},
        {Str(u"&H0"), VT_BOOL, OK, Bool(false)},
        {Str(u"1e999"), VT_BOOL, OK, Bool(true)},
        {Str(u"yes"), VT_BOOL, MISMATCH, None},
        {Str(u"truely"), VT_BOOL, MISMATCH, None},
        {Str(u""), VT_BOOL, MISMATCH, None},
        {Empty, VT_I4, OK, I4(0)},
        {Empty, VT_R8, OK, R8(0)},
        {Empty, VT_BSTR, OK, Str(u"")},
        {Empty, VT_BOOL, OK, Bool(false)},
        {Empty, VT_CY, OK, Cy(0)},
        {Empty, VT_NULL, OK, Null},
        {Empty, VT_EMPTY, OK, Empty},
        {Empty, VT_ERROR, MISMATCH, None},
        {Null, VT_NULL, OK, Null},
        {Null, VT_VARIANT, OK, Null},
        {Null, VT_EMPTY, MISMATCH, None},
        {Null, VT_I4, MISMATCH, None},
        {Null, VT_BSTR, MISMATCH, None},
        {Null, VT_BOOL, MISMATCH, None},
        {I4(0), VT_NULL, MISMATCH, None},
        {Str(u""), VT_NULL, MISMATCH, None},
        {I4(0), VT_EMPTY, MISMATCH, None},
        {Err(0x80020004), VT_ERROR, OK, Err(0x80020004)},
        {Err(5), VT_VARIANT, OK, Err(5)},
        {Err(5), VT_I4, MISMATCH, None},
        {Err(5), VT_BSTR, MISMATCH, None},
        {I4(5), VT_ERROR, MISMATCH, None},
        {Str(u"5"), VT_ERROR, MISMATCH, None},
        {I4(5), VT_VARIANT, OK, I4(5)},
        {Str(u"copy"), VT_BSTR, OK, Str(u"copy")},
        {I4(5), VT_DISPATCH, MISMATCH, None},
        {Str(u"x"), VT_UNKNOWN, MISMATCH, None},
    });
}

TEST(VariantConvert, TextToNumber) {
    CheckConversions({
        {Str(u" 12 "), VT_I4, OK, I4(12)},
        {Str(u"\t-7\t"), VT_I2, OK, I2(-7)},
        {Str(u"+5"), VT_UI1, OK, UI1(5)},
        {Str(u"007"), VT_I4, OK, I4(7)},
        {Str(u"1e3"), VT_I4, OK, I4(1000)},
        {Str(u"1.5E-2"), VT_R8, OK, R8(0.015)},
        {Str(u"12.5"), VT_I4, OK, I4(12)},
        {Str(u"13.5"), VT_I4, OK, I4(14)},
        {Str(u"-2.5"), VT_I4, OK, I4(-2)},
        {Str(u".5"), VT_R8, OK, R8(0.5)},
        {Str(u"5."), VT_R8, OK, R8(5)},
        {Str(u"0.1"), VT_R8, OK, R8(0.1)},
        {Str(u"1.7976931348623157e308"), VT_R8, OK, R8(DBL_MAX)},
        {Str(u"1e400"), VT_R8, OVF, None},
        {Str(u"-1e400"), VT_R8, OVF, None},
        {Str(u"1e-400"), VT_R8, OK, R8(0)},
        {Str(u"3.5e38"), VT_R4, OVF, None},
        {Str(u"3.4028234e38"), VT_R4, OK, R4(FLT_MAX)},
        {Str(u"32767"), VT_I2, OK, I2(32767)},
        {Str(u"32768"), VT_I2, OVF, None},
        {Str(u"-32768"), VT_I2, OK, I2(-32768)},
        {Str(u"256"), VT_UI1, OVF, None},
        {Str(u"-1"), VT_UI1, OVF, None},
        {Str(u"9223372036854775807"), VT_I8, OK, I8(INT64_MAX)},
        {Str(u"-9223372036854775808"), VT_I8, OK, I8(INT64_MIN)},
        {Str(u"9223372036854775808"), VT_I8, OVF, None},
        {Str(u"-9223372036854775809"), VT_I8, OVF, None},
        {Str(u"18446744073709551615"), VT_UI8, OK, UI8(UINT64_MAX)},
        {Str(u"18446744073709551616"), VT_UI8, OVF, None},
        {Str(u"123456789012345678901234567890"), VT_R8, OK, R8(123456789012345678901234567890.0)},
        // Hexadecimal and octal may fill the target's full width.
        {Str(u"&HFF"), VT_UI1, OK, UI1(255)},
        {Str(u"&hff"), VT_I4, OK, I4(255)},
        {Str(u"&HFF"), VT_I1, OK, I1(-1)},
        {Str(u"&HFFFF"), VT_I2, OK, I2(-1)},
        {Str(u"&H8000"), VT_I2, OK, I2(-32768)},
        {Str(u"&H10000"), VT_I2, OVF, None},
        {Str(u"&HFFFF"), VT_I4, OK, I4(65535)},
        {Str(u"&HFFFFFFFF"), VT_I4, OK, I4(-1)},
        {Str(u"&HFFFFFFFFFFFFFFFF"), VT_I8, OK, I8(-1)},
        {Str(u"&HFFFFFFFFFFFFFFFF"), VT_UI8, OK, UI8(UINT64_MAX)},
        {Str(u"&H1FFFFFFFFFFFFFFFF"), VT_UI8, OVF, None},
        {Str(u"&HFFFF"), VT_R8, OK, R8(65535)},
        {Str(u" &O17 "), VT_I4, OK, I4(15)},
        {Str(u"&o177777"), VT_I2, OK, I2(-1)},
        {Str(u"&O8"), VT_I4, MISMATCH, None},
        {Str(u"&H"), VT_I4, MISMATCH, None},
        {Str(u"&HFG"), VT_I4, MISMATCH, None},
        {Str(u"&X1"), VT_I4, MISMATCH, None},
        {Str(u"-&H1"), VT_I4, MISMATCH, None},
        {Str(u""), VT_I4, MISMATCH, None},
        {Str(u"   "), VT_R8, MISMATCH, None},
        {Str(u"abc"), VT_I4, MISMATCH, None},
        {Str(u"12abc"), VT_I4, MISMATCH, None},
        {Str(u"1e"), VT_R8, MISMATCH, None},
        {Str(u"1e+"), VT_R8, MISMATCH, None},
        {Str(u"."), VT_R8, MISMATCH, None},
        {Str(u"-"), VT_I4, MISMATCH, None},
        {Str(u"1 2"), VT_I4, MISMATCH, None},
        {Str(u"1,000"), VT_I4, MISMATCH, None},
        {Str(u"0x1F"), VT_I4, MISMATCH, None},
        {Str(u"\uFF11"), VT_I4, MISMATCH, None},
        {Str(std::u16string(u"1\0" u"2", 3)), VT_I4, MISMATCH, None},
        {Str(u"nan"), VT_R8, MISMATCH, None},
        {Str(u"inf"), VT_R8, MISMATCH, None},
        // Currency rounds the decimal text itself, half to even.
        {Str(u"1.23455"), VT_CY, OK, Cy(12346)},
        {Str(u"1.23445"), VT_CY, OK, Cy(12344)},
        {Str(u"0.00005"), VT_CY, OK, Cy(0)},
        {Str(u"0.00015"), VT_CY, OK, Cy(2)},
        {Str(u"-0.00025"), VT_CY, OK, Cy(-2)},
        {Str(u"922337203685477.5807"), VT_CY, OK, Cy(INT64_MAX)},
        {Str(u"-922337203685477.5808"), VT_CY, OK, Cy(INT64_MIN)},
        {Str(u"922337203685477.5808"), VT_CY, OVF, None},
        {Str(u"1e14"), VT_CY, OK, Cy(1000000000000000000)},
        {Str(u"1e15"), VT_CY, OVF, None},
        {Str(u"12345e-7"), VT_CY, OK, Cy(12)},
        {Str(u"1e-100"), VT_CY, OK, Cy(0)},
        {Str(u"&HFFFF"), VT_CY, OK, Cy(655350000)},
    });
}

TEST(VariantConvert, NumberToText) {
    CheckConversions({
        {I4(-123), VT_BSTR, OK, Str(u"-123")},
        {I1(-128), VT_BSTR, OK, Str(u"-128")},
        {UI1(255), VT_BSTR, OK, Str(u"255")},
        {UI4(4294967295LL), VT_BSTR, OK, Str(u"4294967295")},
        {I8(INT64_MIN), VT_BSTR, OK, Str(u"-9223372036854775808")},
        {UI8(UINT64_MAX), VT_BSTR, OK, Str(u"18446744073709551615")},
        {R8(0.1), VT_BSTR, OK, Str(u"0.1")},
        {R8(0.1 + 0.2), VT_BSTR, OK, Str(u"0.3")},
        {R8(1.0 / 3), VT_BSTR, OK, Str(u"0.333333333333333")},
        {R8(-2.5), VT_BSTR, OK, Str(u"-2.5")},
        {R8(100), VT_BSTR, OK, Str(u"100")},
        {R8(-0.0), VT_BSTR, OK, Str(u"0")},
        {R8(123456789012345.0), VT_BSTR, OK, Str(u"123456789012345")},
        {R8(999999999999999.9), VT_BSTR, OK, Str(u"1E+15")},
        {R8(1e15), VT_BSTR, OK, Str(u"1E+15")},
        {R8(1e20), VT_BSTR, OK, Str(u"1E+20")},
        {R8(-1.25e100), VT_BSTR, OK, Str(u"-1.25E+100")},
        {R8(0.0001), VT_BSTR, OK, Str(u"0.0001")},
        {R8(0.00001), VT_BSTR, OK, Str(u"1E-05")},
        {R8(1.5e-7), VT_BSTR, OK, Str(u"1.5E-07")},
        {R8(1e-300), VT_BSTR, OK, Str(u"1E-300")},
        {R4(0.1f), VT_BSTR, OK, Str(u"0.1")},
        {R4(3.14159274f), VT_BSTR, OK, Str(u"3.141593")},
        {R4(1234567.0f), VT_BSTR, OK, Str(u"1234567")},
        {R4(16777216.0f), VT_BSTR, OK, Str(u"1.677722E+07")},
        {R4(-0.0f), VT_BSTR, OK, Str(u"0")},
        {Cy(12345), VT_BSTR, OK, Str(u"1.2345")},
        {Cy(10000), VT_BSTR, OK, Str(u"1")},
        {Cy(-5000), VT_BSTR, OK, Str(u"-0.5")},
        {Cy(0), VT_BSTR, OK, Str(u"0")},
        {Cy(INT64_MIN), VT_BSTR, OK, Str(u"-922337203685477.5808")},
        {Str(u"-1.25E+100"), VT_R8, OK, R8(-1.25e100)},
    });
}

TEST(VariantConvert, DatesAsText) {
    CheckConversions({
        {Date(36526), VT_BSTR, OK, Str(u"2000-01-01")},
        {Date(36526.75), VT_BSTR, OK, Str(u"2000-01-01 18:00:00")},
        {Date(0.5), VT_BSTR, OK, Str(u"12:00:00")},
        {Date(0), VT_BSTR, OK, Str(u"00:00:00")},
        {Date(1), VT_BSTR, OK, Str(u"1899-12-31")},
        {Date(-1.25), VT_BSTR, OK, Str(u"1899-12-29 06:00:00")},
        {Date(-657434), VT_BSTR, OK, Str(u"0100-01-01")},
        {Date(2958465.0 + 86399.0 / 86400), VT_BSTR, OK, Str(u"9999-12-31 23:59:59")},
        {Date(45000.99999999), VT_BSTR, OK, Str(u"2023-03-16")}, // 23:59:59.9991 rounds up
        {Date(2958466), VT_BSTR, OVF, None},
        {Date(std::numeric_limits<double>::quiet_NaN()), VT_BSTR, OVF, None},
        {Str(u"2000-01-01"), VT_DATE, OK, Date(36526)},
        {Str(u" 2000-01-01 18:00 "), VT_DATE, OK, Date(36526.75)},
        {Str(u"2000-1-1 18:00:00"), VT_DATE, OK, Date(36526.75)},
        {Str(u"1899-12-29 06:00:00"), VT_DATE, OK, Date(-1.25)},
        {Str(u"12:00:00"), VT_DATE, OK, Date(0.5)},
        {Str(u"06:00"), VT_DATE, OK, Date(0.25)},
        {Str(u"2024-02-29"), VT_DATE, OK, Date(45351)},
        {Str(u"0100-01-01"), VT_DATE, OK, Date(-657434)},
        {Str(u"9999-12-31"), VT_DATE, OK, Date(2958465)},
        {Str(u"0099-12-31"), VT_DATE, OVF, None},
        {Str(u"2023-02-29"), VT_DATE, MISMATCH, None},
        {Str(u"2024-02-30"), VT_DATE, MISMATCH, None},
        {Str(u"2024-13-01"), VT_DATE, MISMATCH, None},
        {Str(u"2024-00-10"), VT_DATE, MISMATCH, None},
        {Str(u"24:00:00"), VT_DATE, MISMATCH, None},
        {Str(u"12:60"), VT_DATE, MISMATCH, None},
        {Str(u"12:00:60"), VT_DATE, MISMATCH, None},
        {Str(u"2024-01-01x"), VT_DATE, MISMATCH, None},
        {Str(u"2024-01-01 "), VT_DATE, OK, Date(45292)},
        {Str(u"12345"), VT_DATE, MISMATCH, None},
        {Str(u"1.5"), VT_DATE, MISMATCH, None},
        {Str(u""), VT_DATE, MISMATCH, None},
        {Str(u"12:"), VT_DATE, MISMATCH, None},
    });
}

TEST(VariantConvert, DateTextRoundTripsToTheSecond) {
    for (const double date : {45000.1234, -1000.75, 1.0 / 86400, 2958465.5, -657433.999}) {
        SCOPED_TRACE(date);
        VARIANT v = Make(Date(date));
        ASSERT_EQ(VariantChangeType(&v, &v, 0, VT_BSTR), S_OK);
        ASSERT_EQ(VariantChangeType(&v, &v, 0, VT_DATE), S_OK);
        EXPECT_NEAR(v.date, date, 0.5 / 86400);
    }
}

TEST(VariantConvert, InPlaceConversionFreesTheOldValueOrKeepsIt) {
    VARIANT v = Make(Str(u" 42 "));
    EXPECT_EQ(VariantChangeType(&v, &v, 0, VT_I4), S_OK);
    EXPECT_TRUE(Holds(v, I4(42)));
    EXPECT_EQ(VariantChangeType(&v, &v, 0, VT_BSTR), S_OK);
    EXPECT_TRUE(Holds(v, Str(u"42")));
    EXPECT_EQ(VariantChangeType(&v, &v, 0, VT_UI1), S_OK);
    EXPECT_TRUE(Holds(v, UI1(42)));
    VariantClear(&v);
    v = Make(Str(u"abc"));
    EXPECT_EQ(VariantChangeType(&v, &v, 0, VT_I4), DISP_E_TYPEMISMATCH);
    EXPECT_TRUE(Holds(v, Str(u"abc")));
    VariantClear(&v);
}

TEST(VariantConvert, ByReferenceSourcesAreDereferenced) {
    LONG number = 300;
    VARIANT ref;
    VariantInit(&ref);
    ref.vt = VT_BYREF | VT_I4;
    ref.plVal = &number;
    VARIANT dest;
    VariantInit(&dest);
    EXPECT_EQ(VariantChangeType(&dest, &ref, 0, VT_BSTR), S_OK);
    EXPECT_TRUE(Holds(dest, Str(u"300")));
    EXPECT_EQ(VariantChangeType(&dest, &ref, 0, VT_UI1), DISP_E_OVERFLOW);
    // Converting in place replaces the reference and leaves the referent.
    EXPECT_EQ(VariantChangeType(&ref, &ref, 0, VT_I2), S_OK);
    EXPECT_TRUE(Holds(ref, I2(300)));
    EXPECT_EQ(number, 300);

    VARIANT inner = Make(Str(u"7"));
    VARIANT refVar;
    VariantInit(&refVar);
    refVar.vt = VT_BYREF | VT_VARIANT;
    refVar.pvarVal = &inner;
    EXPECT_EQ(VariantChangeType(&dest, &refVar, 0, VT_I4), S_OK);
    EXPECT_TRUE(Holds(dest, I4(7)));
    EXPECT_EQ(VariantChangeType(&dest, &refVar, 0, VT_VARIANT), S_OK);
    EXPECT_TRUE(Holds(dest, Str(u"7")));
    EXPECT_NE(dest.bstrVal, inner.bstrVal);

    VARIANT nested;
    VariantInit(&nested);
    nested.vt = VT_BYREF | VT_VARIANT;
    nested.pvarVal = &refVar;
    EXPECT_EQ(VariantChangeType(&dest, &nested, 0, VT_I4), E_INVALIDARG);
    VARIANT dangling;
    VariantInit(&dangling);
    dangling.vt = VT_BYREF | VT_BSTR;
    EXPECT_EQ(VariantChangeType(&dest, &dangling, 0, VT_I4), E_INVALIDARG);
    EXPECT_TRUE(Holds(dest, Str(u"7")));
    VariantClear(&dest);
    VariantClear(&inner);
}

TEST(VariantConvert, ArraysOnlyConvertToTheirOwnType) {
    SAFEARRAY* psa = SafeArrayCreateVector(VT_I4, 0, 3);
    ASSERT_NE(psa, nullptr);
    VARIANT arr;
    VariantInit(&arr);
    arr.vt = VT_ARRAY | VT_I4;
    arr.parray = psa;
    VARIANT dest;
    VariantInit(&dest);
    EXPECT_EQ(VariantChangeType(&dest, &arr, 0, VT_ARRAY | VT_I4), S_OK);
    EXPECT_EQ(dest.vt, VT_ARRAY | VT_I4);
    EXPECT_NE(dest.parray, psa);
    EXPECT_EQ(VariantChangeType(&dest, &arr, 0, VT_VARIANT), S_OK);
    EXPECT_NE(dest.parray, psa);
    for (const VARTYPE to : {VARTYPE(VT_ARRAY | VT_I2), VARTYPE(VT_ARRAY | VT_VARIANT), VARTYPE(VT_I4),
                             VARTYPE(VT_BSTR), VARTYPE(VT_BOOL)})
        EXPECT_EQ(VariantChangeType(&dest, &arr, 0, to), DISP_E_TYPEMISMATCH) << to;
    VARIANT number = Make(I4(1));
    EXPECT_EQ(VariantChangeType(&dest, &number, 0, VT_ARRAY | VT_I4), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(dest.vt, VT_ARRAY | VT_I4);
    VariantClear(&dest);
    VariantClear(&arr);
}

TEST(VariantConvert, NullArgumentsAndBadTypes) {
    VARIANT v = Make(I4(1));
    EXPECT_EQ(VariantChangeType(nullptr, &v, 0, VT_I2), E_INVALIDARG);
    EXPECT_EQ(VariantChangeType(&v, nullptr, 0, VT_I2), E_INVALIDARG);
    EXPECT_EQ(VariantChangeTypeEx(&v, &v, LOCALE_USER_DEFAULT, 0, VT_I2), S_OK);
    for (const VARTYPE bad : {VARTYPE(VT_DECIMAL), VARTYPE(VT_VOID), VARTYPE(VT_HRESULT), VARTYPE(15),
                              VARTYPE(VT_BYREF | VT_I4), VARTYPE(VT_ARRAY | VT_EMPTY), VARTYPE(VT_RESERVED | VT_I4),
                              VARTYPE(VT_ARRAY | VT_DECIMAL), VARTYPE(0xFFFF), VARTYPE(VT_TYPEMASK)})
        EXPECT_EQ(VariantChangeType(&v, &v, 0, bad), DISP_E_BADVARTYPE) << bad;
    EXPECT_TRUE(Holds(v, I2(1)));
}

// Whatever the tag, nothing crashes and bad tags are refused as such.
TEST(VariantConvert, GarbageTypeTagsNeverCrash) {
    const VARTYPE targets[] = {VT_I4, VT_BSTR, VT_VARIANT, VT_DISPATCH, VT_NULL};
    int accepted = 0;
    for (unsigned tag = 0; tag <= 0xFFFF; ++tag) {
        VARIANT src;
        VariantInit(&src);
        src.vt = static_cast<VARTYPE>(tag);
        VARIANT dest;
        VariantInit(&dest);
        for (const VARTYPE to : targets) {
            const HRESULT hr = VariantChangeType(&dest, &src, 0, to);
            ASSERT_TRUE(hr == S_OK || hr == DISP_E_BADVARTYPE || hr == DISP_E_TYPEMISMATCH || hr == E_INVALIDARG)
                << tag;
            VariantClear(&dest);
        }
        VARIANT number = Make(I4(5));
        const HRESULT to = VariantChangeType(&dest, &number, 0, static_cast<VARTYPE>(tag));
        ASSERT_TRUE(to == S_OK || to == DISP_E_BADVARTYPE || to == DISP_E_TYPEMISMATCH || to == DISP_E_OVERFLOW)
            << tag;
        VariantClear(&dest);
        const HRESULT copy = VariantCopy(&dest, &src);
        const HRESULT ind = VariantCopyInd(&dest, &src);
        VariantClear(&dest);
        const HRESULT clear = VariantClear(&src);
        if (clear == S_OK) {
            ++accepted;
            EXPECT_EQ(copy, S_OK) << tag;
        } else {
            EXPECT_EQ(clear, DISP_E_BADVARTYPE) << tag;
            EXPECT_EQ(static_cast<unsigned>(src.vt), tag) << "a bad variant is left as it was";
            EXPECT_EQ(copy, DISP_E_BADVARTYPE) << tag;
            EXPECT_EQ(ind, DISP_E_BADVARTYPE) << tag;
        }
    }
    // 21 plain types, 20 array element types, their 20 BYREF forms and
    // BYREF of each array type.
    EXPECT_EQ(accepted, 21 + 20 + 20 + 20);
}

// ---------------------------------------------------------------------------
// Copying and clearing.

TEST(VariantCopyClear, CopiesTextDeeplyAndReferencesShallowly) {
    VARIANT src = Make(Str(std::u16string(u"a\0b", 3)));
    VARIANT dest = Make(Str(u"old"));
    ASSERT_EQ(VariantCopy(&dest, &src), S_OK);
    EXPECT_NE(dest.bstrVal, src.bstrVal);
    EXPECT_EQ(TextOf(dest), std::u16string(u"a\0b", 3));
    EXPECT_EQ(VariantCopy(&dest, &dest), S_OK);
    EXPECT_EQ(TextOf(dest), std::u16string(u"a\0b", 3));

    VARIANT ref;
    VariantInit(&ref);
    ref.vt = VT_BYREF | VT_BSTR;
    ref.pbstrVal = &src.bstrVal;
    ASSERT_EQ(VariantCopy(&dest, &ref), S_OK);
    EXPECT_EQ(dest.vt, VT_BYREF | VT_BSTR);
    EXPECT_EQ(dest.pbstrVal, &src.bstrVal);
    EXPECT_EQ(VariantClear(&dest), S_OK); // owns nothing: src stays intact
    EXPECT_EQ(dest.vt, VT_EMPTY);

    ASSERT_EQ(VariantCopyInd(&dest, &ref), S_OK);
    EXPECT_EQ(dest.vt, VT_BSTR);
    EXPECT_NE(dest.bstrVal, src.bstrVal);
    EXPECT_EQ(TextOf(dest), TextOf(src));
    // Dereferencing in place.
    ASSERT_EQ(VariantCopyInd(&ref, &ref), S_OK);
    EXPECT_EQ(ref.vt, VT_BSTR);
    EXPECT_NE(ref.bstrVal, src.bstrVal);

    VARIANT inner = Make(I4(9));
    VARIANT refVar;
    VariantInit(&refVar);
    refVar.vt = VT_BYREF | VT_VARIANT;
    refVar.pvarVal = &inner;
    ASSERT_EQ(VariantCopyInd(&dest, &refVar), S_OK);
    EXPECT_TRUE(Holds(dest, I4(9)));
    VARIANT nested;
    VariantInit(&nested);
    nested.vt = VT_BYREF | VT_VARIANT;
    nested.pvarVal = &refVar;
    EXPECT_EQ(VariantCopyInd(&dest, &nested), E_INVALIDARG);
    EXPECT_TRUE(Holds(dest, I4(9)));

    for (VARIANT* v : {&src, &dest, &ref})
        EXPECT_EQ(VariantClear(v), S_OK);
}

TEST(VariantCopyClear, NullPointers) {
    VARIANT v;
    VariantInit(&v);
    EXPECT_EQ(VariantClear(nullptr), E_INVALIDARG);
    EXPECT_EQ(VariantCopy(nullptr, &v), E_INVALIDARG);
    EXPECT_EQ(VariantCopy(&v, nullptr), E_INVALIDARG);
    EXPECT_EQ(VariantCopyInd(nullptr, &v), E_INVALIDARG);
    EXPECT_EQ(VariantCopyInd(&v, nullptr), E_INVALIDARG);
    VariantInit(nullptr);
}

TEST(VariantCopyClear, ArrayOfTextVariantsIsCopiedIndependently) {
    SAFEARRAY* psa = SafeArrayCreateVector(VT_VARIANT, 1, 2);
    ASSERT_NE(psa, nullptr);
    for (LONG i = 1; i <= 2; ++i) {
        VARIANT element = Make(Str(u"item" + std::u16string(1, static_cast<char16_t>(u'0' + i))));
        ASSERT_EQ(SafeArrayPutElement(psa, &i, &element), S_OK);
        VariantClear(&element);
    }
    VARIANT src;
    VariantInit(&src);
    src.vt = VT_ARRAY | VT_VARIANT;
    src.parray = psa;
    VARIANT copy;
    VariantInit(&copy);
    ASSERT_EQ(VariantCopy(&copy, &src), S_OK);
    ASSERT_NE(copy.parray, psa);

    LONG first = 1;
    VARIANT replacement = Make(Str(u"changed"));
    ASSERT_EQ(SafeArrayPutElement(psa, &first, &replacement), S_OK);
    VariantClear(&replacement);
    VARIANT *original = nullptr, *copied = nullptr;
    ASSERT_EQ(SafeArrayPtrOfIndex(psa, &first, reinterpret_cast<void**>(&original)), S_OK);
    ASSERT_EQ(SafeArrayPtrOfIndex(copy.parray, &first, reinterpret_cast<void**>(&copied)), S_OK);
    EXPECT_TRUE(Holds(*original, Str(u"changed")));
    EXPECT_TRUE(Holds(*copied, Str(u"item1")));
    LONG second = 2;
    ASSERT_EQ(SafeArrayPtrOfIndex(psa, &second, reinterpret_cast<void**>(&original)), S_OK);
    ASSERT_EQ(SafeArrayPtrOfIndex(copy.parray, &second, reinterpret_cast<void**>(&copied)), S_OK);
    EXPECT_NE(original->bstrVal, copied->bstrVal);
    EXPECT_TRUE(Holds(*copied, Str(u"item2")));

    // A locked array cannot be cleared away.
    ASSERT_EQ(SafeArrayLock(copy.parray), S_OK);
    EXPECT_EQ(VariantClear(&copy), DISP_E_ARRAYISLOCKED);
    EXPECT_EQ(copy.vt, VT_ARRAY | VT_VARIANT);
    ASSERT_EQ(SafeArrayUnlock(copy.parray), S_OK);
    EXPECT_EQ(VariantClear(&copy), S_OK);
    EXPECT_EQ(VariantClear(&src), S_OK);
}

// ---------------------------------------------------------------------------
// Objects.

// Counts its references; its default value is whatever `value` holds.
class FakeObject final : public IDispatch {
public:
    ~FakeObject() { VariantClear(&value); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (riid == IID_IUnknown || (dispatchable && riid == IID_IDispatch)) {
            *ppv = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO*, UINT*) override {
        ++invokes;
        if (member != DISPID_VALUE || flags != DISPATCH_PROPERTYGET || !params || params->cArgs != 0 || !result)
            return DISP_E_MEMBERNOTFOUND;
        if (failure != S_OK)
            return failure;
        return VariantCopy(result, &value);
    }

    ULONG refs = 1; // the test's own
    int invokes = 0;
    bool dispatchable = true;
    HRESULT failure = S_OK;
    VARIANT value{};
};

VARIANT Holding(FakeObject& object, VARTYPE vt = VT_DISPATCH) {
    VARIANT v;
    VariantInit(&v);
    v.vt = vt;
    v.pdispVal = &object;
    object.AddRef();
    return v;
}

TEST(VariantConvert, ObjectsGiveTheirDefaultValue) {
    struct Case {
        Value value;
        VARTYPE to;
        HRESULT hr;
        Value expected;
    } cases[] = {
        {I4(42), VT_I4, S_OK, I4(42)},
        {Str(u"17"), VT_I2, S_OK, I2(17)},
        {Str(u"17"), VT_BSTR, S_OK, Str(u"17")},
        {I4(40000), VT_I2, DISP_E_OVERFLOW, None},
        {Str(u"x"), VT_R8, DISP_E_TYPEMISMATCH, None},
        {Null, VT_NULL, S_OK, Null},
        {Empty, VT_BOOL, S_OK, Bool(false)},
    };
    for (const VARTYPE holder : {VARTYPE(VT_DISPATCH), VARTYPE(VT_UNKNOWN)}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::to_string(holder) + " -> " + std::to_string(c.to));
            FakeObject object;
            object.value = Make(c.value);
            VARIANT src = Holding(object, holder);
            VARIANT dest = Make(I4(-5));
            EXPECT_EQ(VariantChangeType(&dest, &src, 0, c.to), c.hr);
            EXPECT_EQ(object.invokes, 1);
            EXPECT_TRUE(Holds(dest, SUCCEEDED(c.hr) ? c.expected : I4(-5)));
            EXPECT_EQ(object.refs, 2u);
            VariantClear(&dest);
            VariantClear(&src);
            EXPECT_EQ(object.refs, 1u);
        }
    }
}

TEST(VariantConvert, ObjectsThatCannotGiveAValue) {
    FakeObject object;
    VARIANT src = Holding(object);
    VARIANT dest = Make(I4(-5));
    EXPECT_EQ(VariantChangeType(&dest, &src, VARIANT_NOVALUEPROP, VT_I4), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(object.invokes, 0);
    object.failure = DISP_E_EXCEPTION;
    EXPECT_EQ(VariantChangeType(&dest, &src, 0, VT_I4), DISP_E_TYPEMISMATCH);
    object.failure = S_OK;
    object.dispatchable = false;
    EXPECT_EQ(VariantChangeType(&dest, &src, 0, VT_I4), DISP_E_TYPEMISMATCH);
    EXPECT_TRUE(Holds(dest, I4(-5)));
    EXPECT_EQ(object.refs, 2u);

    // A default value that is an object again is not followed further.
    object.dispatchable = true;
    FakeObject inner;
    inner.value = Make(I4(1));
    object.value = Holding(inner);
    EXPECT_EQ(VariantChangeType(&dest, &src, 0, VT_I4), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(inner.invokes, 0);
    EXPECT_EQ(inner.refs, 2u); // the outer object's reference only
    VariantClear(&object.value);
    EXPECT_EQ(inner.refs, 1u);

    VARIANT nothing;
    VariantInit(&nothing);
    nothing.vt = VT_DISPATCH;
    EXPECT_EQ(VariantChangeType(&dest, &nothing, 0, VT_I4), DISP_E_TYPEMISMATCH);
    VariantClear(&src);
    EXPECT_EQ(object.refs, 1u);
}

TEST(VariantConvert, ObjectInterfacesAndReferenceCounts) {
    FakeObject object;
    VARIANT unknown = Holding(object, VT_UNKNOWN);
    VARIANT dest;
    VariantInit(&dest);
    ASSERT_EQ(VariantChangeType(&dest, &unknown, 0, VT_DISPATCH), S_OK);
    EXPECT_EQ(dest.vt, VT_DISPATCH);
    EXPECT_EQ(dest.pdispVal, &object);
    EXPECT_EQ(object.refs, 3u);
    ASSERT_EQ(VariantChangeType(&dest, &dest, 0, VT_UNKNOWN), S_OK);
    EXPECT_EQ(dest.vt, VT_UNKNOWN);
    EXPECT_EQ(object.refs, 3u);
    ASSERT_EQ(VariantCopy(&dest, &unknown), S_OK);
    EXPECT_EQ(object.refs, 3u);
    ASSERT_EQ(VariantCopy(&dest, &dest), S_OK);
    EXPECT_EQ(object.refs, 3u);
    // Converting an object to a value in place drops its reference.
    object.value = Make(I4(8));
    ASSERT_EQ(VariantChangeType(&dest, &dest, 0, VT_I4), S_OK);
    EXPECT_TRUE(Holds(dest, I4(8)));
    EXPECT_EQ(object.refs, 2u);

    object.dispatchable = false;
    EXPECT_EQ(VariantChangeType(&dest, &unknown, 0, VT_DISPATCH), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(object.refs, 2u);
    VARIANT empty;
    VariantInit(&empty);
    for (const VARTYPE to : {VARTYPE(VT_DISPATCH), VARTYPE(VT_UNKNOWN)}) {
        ASSERT_EQ(VariantChangeType(&dest, &empty, 0, to), S_OK);
        EXPECT_EQ(dest.vt, to);
        EXPECT_EQ(dest.punkVal, nullptr);
    }
    VARIANT nothing;
    VariantInit(&nothing);
    nothing.vt = VT_UNKNOWN;
    ASSERT_EQ(VariantChangeType(&dest, &nothing, 0, VT_DISPATCH), S_OK);
    EXPECT_EQ(dest.pdispVal, nullptr);
    VariantClear(&dest);
    VariantClear(&unknown);
    EXPECT_EQ(object.refs, 1u);
}

} // namespace
