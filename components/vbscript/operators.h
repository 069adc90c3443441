#pragma once
// VBScript's operators on values, with its Variant rules: Empty and Null
// propagation, + on texts versus numbers, Integer to Long to Double
// promotion on overflow, comparisons of mixed subtypes. The interpreter
// handles the common integer cases inline and calls these for the rest.
#include "value.h"

namespace zorv::vbs {

enum class CompareMode { Binary, Text };

Value Add(const Value& a, const Value& b);
Value Subtract(const Value& a, const Value& b);
Value Multiply(const Value& a, const Value& b);
Value Divide(const Value& a, const Value& b);
Value IntDivide(const Value& a, const Value& b);
Value Modulo(const Value& a, const Value& b);
Value Power(const Value& a, const Value& b);
Value Concat(const Value& a, const Value& b);
Value Negate(const Value& a);
Value Not(const Value& a);
Value And(const Value& a, const Value& b);
Value Or(const Value& a, const Value& b);
Value Xor(const Value& a, const Value& b);
Value Eqv(const Value& a, const Value& b);
Value Imp(const Value& a, const Value& b);

// -1, 0 or 1; Null when either side is Null (then `isNull` is set).
int Compare(const Value& a, const Value& b, CompareMode mode, bool& isNull);
// The six comparison operators, Null-propagating.
enum class Relation { Eq, Ne, Lt, Gt, Le, Ge };
Value CompareValues(const Value& a, const Value& b, Relation relation);
// Is: both objects, the same object (or both Nothing).
bool SameObject(const Value& a, const Value& b);
// Texts compared as StrComp does.
int CompareText(std::u16string_view a, std::u16string_view b, CompareMode mode);

// A condition of If, While, Do: Null counts as False.
bool IsTrue(const Value& condition);

} // namespace zorv::vbs
