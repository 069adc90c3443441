#pragma once
// A property's value: every OPOS property is a 32-bit integer, a boolean or
// a string, and keeps its type for the life of the object.
#include <string>
#include <string_view>
#include <variant>

#include "platform/com/variant.h"

namespace zorv::opos {

using Value = std::variant<LONG, bool, std::u16string>;

enum class ValueType : std::uint8_t { Long, Bool, Text };

ValueType TypeOf(const Value& value);

// A property's value at Open, written as table data.
struct Initial {
    ValueType type;
    LONG number = 0;
    std::u16string_view text = {};

    Value Make() const;
};
constexpr Initial Long(LONG number) {
    return {ValueType::Long, number};
}
constexpr Initial Flag(bool on) {
    return {ValueType::Bool, on ? 1 : 0};
}
constexpr Initial Text(std::u16string_view text) {
    return {ValueType::Text, 0, text};
}

// Writes the value into an empty VARIANT as VT_I4, VT_BOOL or VT_BSTR.
void StoreValue(const Value& value, VARIANT& out);
// Converts what a caller passed to the type asked for, as Automation
// converts; a value that does not convert raises DispatchError.
Value ConvertValue(const VARIANT& in, ValueType type);

} // namespace zorv::opos
