#include "operators.h"

#include <algorithm>
#include <cmath>

#include "com_bridge.h"
#include "conversion.h"
#include "currency.h"
#include "platform/com/case_mapping.h"
#include "platform/com/text.h"
#include "script_error.h"

namespace zorv::vbs {
namespace {

// Texts compared up to this length cost no more than the step that compares them.
constexpr std::size_t kLongText = 4096;

// Numeric subtypes in the order in which arithmetic widens them.
enum Rank { kByte, kInteger, kLong, kSingle, kDouble, kCurrency, kDate };

Rank RankOf(const Value& v) {
    switch (v.Type()) {
    case VType::Byte:
        return kByte;
    case VType::Integer:
        return kInteger;
    case VType::Long:
        return kLong;
    case VType::Single:
        return kSingle;
    case VType::Currency:
        return kCurrency;
    case VType::Date:
        return kDate;
    default:
        return kDouble;
    }
}

Rank ResultRank(Rank a, Rank b) {
    if ((a == kSingle && b == kLong) || (a == kLong && b == kSingle))
        return kDouble;
    if ((a == kCurrency && (b == kSingle || b == kDouble)) ||
        (b == kCurrency && (a == kSingle || a == kDouble)))
        return kDouble;
    return std::max(a, b);
}

// An integer result in the narrowest subtype at least as wide as `rank`.
Value IntegerResult(std::int64_t n, Rank rank) {
    if (rank == kByte && n >= 0 && n <= 255)
        return Value::Byte(static_cast<std::uint8_t>(n));
    if (rank <= kInteger && n >= -32768 && n <= 32767)
        return Value::Integer(static_cast<std::int16_t>(n));
    if (n >= INT32_MIN && n <= INT32_MAX)
        return Value::Long(static_cast<std::int32_t>(n));
    return Value::Double(static_cast<double>(n));
}

Value CheckedDouble(double d) {
    if (!std::isfinite(d))
        throw ScriptError(kErrOverflow);
    return Value::Double(d);
}

enum class ArithOp { Add, Sub, Mul };

Value Arith(const Value& left, const Value& right, ArithOp op) {
    const Value a = ToNumeric(left);
    const Value b = ToNumeric(right);
    if (a.IsNull() || b.IsNull())
        return Value::Null();
    const Rank ra = RankOf(a);
    const Rank rb = RankOf(b);
    Rank rank = ResultRank(ra, rb);
    if (rank <= kLong) {
        const std::int64_t x = a.I();
        const std::int64_t y = b.I();
        return IntegerResult(op == ArithOp::Add ? x + y : op == ArithOp::Sub ? x - y : x * y, rank);
    }
    if (rank == kCurrency) {
        // Exact in ten-thousandths: the other side is an integer or Currency.
        const std::int64_t x = ToCurrency(a);
        const std::int64_t y = ToCurrency(b);
        return Value::Currency(op == ArithOp::Add   ? CurrencyAdd(x, y)
                               : op == ArithOp::Sub ? CurrencySubtract(x, y)
                                                    : CurrencyMultiply(x, y));
    }
    const double x = ToDouble(a);
    const double y = ToDouble(b);
    const double r = op == ArithOp::Add ? x + y : op == ArithOp::Sub ? x - y : x * y;
    if (rank == kDate && op != ArithOp::Mul && !(op == ArithOp::Sub && ra == kDate && rb == kDate)) {
        if (!std::isfinite(r) || std::fabs(r) > 2958465.0)
            throw ScriptError(kErrOverflow);
        return Value::Date(r);
    }
    if (rank == kSingle) {
        const float f = static_cast<float>(r);
        if (!std::isfinite(f))
            throw ScriptError(kErrOverflow);
        return Value::Single(f);
    }
    return CheckedDouble(r);
}

bool IsTextLike(const Value& v) {
    return v.Is(VType::String);
}

Value Resolved(const Value& v) {
    if (v.Is(VType::Ref))
        return Resolved(*v.Target());
    if (v.IsObject())
        return DefaultValue(v);
    return v;
}

// Integer operands of \ and Mod, and the rank of their result.
Rank IntegerOperands(const Value& a, const Value& b, std::int64_t& x, std::int64_t& y) {
    const Value na = ToNumeric(a);
    const Value nb = ToNumeric(b);
    x = ToLong(na);
    y = ToLong(nb);
    if (y == 0)
        throw ScriptError(kErrDivisionByZero);
    const Rank ra = RankOf(na);
    const Rank rb = RankOf(nb);
    if (ra == kByte && rb == kByte)
        return kByte;
    return ra <= kInteger && rb <= kInteger ? kInteger : kLong;
}

Value IntegerOnly(std::int64_t n, Rank rank) {
    if (n < INT32_MIN || n > INT32_MAX)
        throw ScriptError(kErrOverflow);
    return IntegerResult(n, rank);
}

// Bitwise operands: both Boolean stays Boolean, else the narrowest integer.
enum class LogicOp { And, Or, Xor, Eqv, Imp };

std::int64_t Apply(LogicOp op, std::int64_t x, std::int64_t y) {
    switch (op) {
    case LogicOp::And:
        return x & y;
    case LogicOp::Or:
        return x | y;
    case LogicOp::Xor:
        return x ^ y;
    case LogicOp::Eqv:
        return ~(x ^ y);
    case LogicOp::Imp:
        return ~x | y;
    }
    return 0;
}

// What a Null operand gives: the known side sometimes decides alone.
Value LogicWithNull(LogicOp op, const Value& other, bool nullIsLeft) {
    if (other.IsNull())
        return Value::Null();
    const std::int64_t n = ToLong(other);
    switch (op) {
    case LogicOp::And:
        if (n == 0)
            return other.Is(VType::Boolean) ? Value::Bool(false) : IntegerResult(0, kInteger);
        break;
    case LogicOp::Or:
        if (other.Is(VType::Boolean) && n != 0)
            return Value::Bool(true);
        break;
    case LogicOp::Imp:
        if (nullIsLeft && other.Is(VType::Boolean) && n != 0)
            return Value::Bool(true);
        if (!nullIsLeft && other.Is(VType::Boolean) && n == 0)
            return Value::Bool(true);
        break;
    default:
        break;
    }
    return Value::Null();
}

Value Logic(const Value& left, const Value& right, LogicOp op) {
    const Value a = Resolved(left);
    const Value b = Resolved(right);
    if (a.IsNull())
        return LogicWithNull(op, b, true);
    if (b.IsNull())
        return LogicWithNull(op, a, false);
    if (a.Is(VType::Boolean) && b.Is(VType::Boolean))
        return Value::Bool(Apply(op, a.I(), b.I()) != 0);
    const std::int64_t x = ToLong(a);
    const std::int64_t y = ToLong(b);
    const Rank ra = a.Is(VType::Byte)                                       ? kByte
                    : (a.Is(VType::Long) || !a.IsNumeric()) && !a.IsEmpty() ? kLong
                                                                            : kInteger;
    const Rank rb = b.Is(VType::Byte)                                       ? kByte
                    : (b.Is(VType::Long) || !b.IsNumeric()) && !b.IsEmpty() ? kLong
                                                                            : kInteger;
    const Rank rank = std::max(ra, rb);
    const std::int64_t r = Apply(op, x, y);
    if (rank == kByte)
        return Value::Byte(static_cast<std::uint8_t>(r & 0xFF));
    if (rank == kInteger)
        return Value::Integer(static_cast<std::int16_t>(r));
    return Value::Long(static_cast<std::int32_t>(r));
}

// Values that Currency holds without rounding: compared in ten-thousandths.
bool IsExactCurrency(const Value& v) {
    switch (v.Type()) {
    case VType::Currency:
    case VType::Integer:
    case VType::Long:
    case VType::Byte:
    case VType::Boolean:
    case VType::Empty:
        return true;
    default:
        return false;
    }
}

int Sign(double d) {
    return d < 0 ? -1 : d > 0 ? 1 : 0;
}

// An operand of '&' as bytes, for joining byte strings.
std::vector<std::uint8_t> ConcatBytes(const Value& v) {
    if (v.Is(VType::String))
        return v.Bytes();
    if (v.IsNull())
        return {};
    std::u16string text;
    AppendText(text, v);
    return Value::String(text).Bytes();
}

} // namespace

Value Add(const Value& left, const Value& right) {
    const Value a = Resolved(left);
    const Value b = Resolved(right);
    if (a.IsNull() || b.IsNull())
        return Value::Null();
    if (IsTextLike(a) && (IsTextLike(b) || b.IsEmpty()))
        return Concat(a, b);
    if (a.IsEmpty() && IsTextLike(b))
        return b;
    return Arith(a, b, ArithOp::Add);
}

Value Subtract(const Value& a, const Value& b) {
    return Arith(Resolved(a), Resolved(b), ArithOp::Sub);
}

Value Multiply(const Value& a, const Value& b) {
    return Arith(Resolved(a), Resolved(b), ArithOp::Mul);
}

Value Divide(const Value& left, const Value& right) {
    const Value a = ToNumeric(Resolved(left));
    const Value b = ToNumeric(Resolved(right));
    if (a.IsNull() || b.IsNull())
        return Value::Null();
    const double x = ToDouble(a);
    const double y = ToDouble(b);
    if (y == 0)
        throw ScriptError(x == 0 ? kErrOverflow : kErrDivisionByZero);
    if (RankOf(a) == kCurrency || RankOf(b) == kCurrency)
        return CheckedDouble(x / y);
    if ((RankOf(a) == kSingle && RankOf(b) <= kSingle && RankOf(b) != kLong) ||
        (RankOf(b) == kSingle && RankOf(a) <= kInteger))
        return Value::Single(static_cast<float>(x / y));
    return CheckedDouble(x / y);
}

namespace {

// \ and Mod: both operands rounded to integers, Null if either is Null.
template <class Op> Value IntegerArith(const Value& left, const Value& right, Op op) {
    const Value a = Resolved(left);
    const Value b = Resolved(right);
    if (a.IsNull() || b.IsNull())
        return Value::Null();
    std::int64_t x = 0;
    std::int64_t y = 0;
    const Rank rank = IntegerOperands(a, b, x, y);
    return IntegerOnly(op(x, y), rank);
}

} // namespace

Value IntDivide(const Value& left, const Value& right) {
    return IntegerArith(left, right, [](std::int64_t x, std::int64_t y) { return x / y; });
}

Value Modulo(const Value& left, const Value& right) {
    return IntegerArith(left, right, [](std::int64_t x, std::int64_t y) { return x % y; });
}

Value Power(const Value& left, const Value& right) {
    const Value a = ToNumeric(Resolved(left));
    const Value b = ToNumeric(Resolved(right));
    if (a.IsNull() || b.IsNull())
        return Value::Null();
    const double x = ToDouble(a);
    const double y = ToDouble(b);
    const double r = std::pow(x, y);
    if (std::isnan(r))
        throw ScriptError(kErrInvalidCall);
    if (std::isinf(r))
        throw ScriptError(x == 0 ? kErrDivisionByZero : kErrOverflow);
    return Value::Double(r);
}

Value Concat(const Value& left, const Value& right) {
    const Value& a = left.Deref();
    const Value& b = right.Deref();
    if (a.IsNull() && b.IsNull())
        return Value::Null();
    if (a.HasOddByte() || b.HasOddByte()) {
        std::vector<std::uint8_t> bytes = ConcatBytes(a);
        const std::vector<std::uint8_t> tail = ConcatBytes(b);
        bytes.insert(bytes.end(), tail.begin(), tail.end());
        return Value::FromBytes(bytes.data(), bytes.size());
    }
    // Built in script memory, so that the guard sees every character.
    Value result = a.Is(VType::String) ? a : Value::String(a.IsNull() ? std::u16string() : ToText(a));
    if (b.Is(VType::String))
        result.Append(b.Str());
    else if (!b.IsNull())
        result.Append(ToText(b));
    return result;
}

Value Negate(const Value& operand) {
    const Value a = ToNumeric(Resolved(operand));
    switch (a.Type()) {
    case VType::Null:
        return a;
    case VType::Byte:
    case VType::Integer:
    case VType::Long:
        return IntegerResult(-std::int64_t{a.I()}, a.Is(VType::Long) ? kLong : kInteger);
    case VType::Single:
        return Value::Single(-a.F());
    case VType::Currency:
        return Value::Currency(CurrencyNegate(a.Cy()));
    case VType::Date:
        return Value::Date(-a.D());
    default:
        return Value::Double(-ToDouble(a));
    }
}

Value Not(const Value& operand) {
    const Value a = Resolved(operand);
    switch (a.Type()) {
    case VType::Null:
        return a;
    case VType::Boolean:
        return Value::Bool(!a.B());
    case VType::Empty:
        return Value::Integer(-1);
    case VType::Byte:
        return Value::Byte(static_cast<std::uint8_t>(~a.I() & 0xFF));
    case VType::Integer:
        return Value::Integer(static_cast<std::int16_t>(~a.I()));
    default:
        return Value::Long(~ToLong(a));
    }
}

Value And(const Value& a, const Value& b) {
    return Logic(a, b, LogicOp::And);
}
Value Or(const Value& a, const Value& b) {
    return Logic(a, b, LogicOp::Or);
}
Value Xor(const Value& a, const Value& b) {
    return Logic(a, b, LogicOp::Xor);
}
Value Eqv(const Value& a, const Value& b) {
    return Logic(a, b, LogicOp::Eqv);
}
Value Imp(const Value& a, const Value& b) {
    return Logic(a, b, LogicOp::Imp);
}

int CompareText(std::u16string_view a, std::u16string_view b, CompareMode mode) {
    const std::size_t n = std::min(a.size(), b.size());
    std::size_t i = 0;
    int order = 0;
    for (; i < n; ++i) {
        char16_t x = a[i];
        char16_t y = b[i];
        if (mode == CompareMode::Text) {
            x = com::LowerChar(x);
            y = com::LowerChar(y);
        }
        if (x != y) {
            order = x < y ? -1 : 1;
            break;
        }
    }
    // Comparing long texts is work the interpreter's step count does not see.
    if (i >= kLongText)
        SpendWork(i / 16);
    if (order != 0)
        return order;
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

int Compare(const Value& left, const Value& right, CompareMode mode, bool& isNull) {
    const Value a = Resolved(left);
    const Value b = Resolved(right);
    isNull = a.IsNull() || b.IsNull();
    if (isNull)
        return 0;
    if (a.Is(VType::Array) || b.Is(VType::Array) || a.Is(VType::Object) || b.Is(VType::Object))
        throw ScriptError(kErrTypeMismatch);
    const bool textA = a.Is(VType::String);
    const bool textB = b.Is(VType::String);
    if (textA && textB) {
        if (a.HasOddByte() || b.HasOddByte()) {
            // Byte strings compare byte by byte, whatever the mode.
            const std::vector<std::uint8_t> x = a.Bytes();
            const std::vector<std::uint8_t> y = b.Bytes();
            return x < y ? -1 : x > y ? 1 : 0;
        }
        return CompareText(a.Str(), b.Str(), mode);
    }
    if (textA)
        return b.IsEmpty() ? CompareText(a.Str(), u"", mode) : 1; // a number is less than a text
    if (textB)
        return a.IsEmpty() ? CompareText(u"", b.Str(), mode) : -1;
    if ((a.Is(VType::Long) || a.Is(VType::Integer)) && (b.Is(VType::Long) || b.Is(VType::Integer)))
        return a.I() < b.I() ? -1 : a.I() > b.I() ? 1 : 0;
    if ((a.Is(VType::Currency) || b.Is(VType::Currency)) && IsExactCurrency(a) && IsExactCurrency(b)) {
        const std::int64_t x = ToCurrency(a);
        const std::int64_t y = ToCurrency(b);
        return x < y ? -1 : x > y ? 1 : 0;
    }
    return Sign(ToDouble(a) - ToDouble(b));
}

Value CompareValues(const Value& a, const Value& b, Relation relation) {
    bool isNull = false;
    const int c = Compare(a, b, CompareMode::Binary, isNull);
    if (isNull)
        return Value::Null();
    switch (relation) {
    case Relation::Eq:
        return Value::Bool(c == 0);
    case Relation::Ne:
        return Value::Bool(c != 0);
    case Relation::Lt:
        return Value::Bool(c < 0);
    case Relation::Gt:
        return Value::Bool(c > 0);
    case Relation::Le:
        return Value::Bool(c <= 0);
    case Relation::Ge:
        return Value::Bool(c >= 0);
    }
    return Value::Null();
}

bool SameObject(const Value& left, const Value& right) {
    const Value& a = left.Deref();
    const Value& b = right.Deref();
    if (!a.IsObject() || !b.IsObject())
        throw ScriptError(kErrObjectRequired);
    if (a.Obj() == b.Obj())
        return true;
    if (a.Obj() == nullptr || b.Obj() == nullptr)
        return false;
    return IdentityOf(a.Obj()) == IdentityOf(b.Obj());
}

bool IsTrue(const Value& condition) {
    switch (condition.Type()) {
    case VType::Boolean:
    case VType::Integer:
    case VType::Long:
    case VType::Byte:
        return condition.I() != 0;
    case VType::Null:
    case VType::Empty:
        return false;
    case VType::Ref:
        return IsTrue(*condition.Target());
    case VType::Object:
        return IsTrue(DefaultValue(condition));
    default:
        return ToBool(condition);
    }
}

} // namespace zorv::vbs
