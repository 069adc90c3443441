#pragma once
// Calls on outside components by member name: property get, property put
// and method call, the way every call of the system on a device object,
// the script engine or the object registry is made. A failure raises EOleError.
#include <initializer_list>
#include <string_view>

#include "outside/ole_error.h"
#include "platform/com/com_ptr.h"
#include "platform/com/variant_value.h"

namespace zorv::outside {

// One argument: a value, or a reference to the caller's variable, which the
// callee may change.
class Arg {
public:
    Arg(const com::Variant& value) : value_(value) {}
    Arg(LONG value) : value_(value) {}
    Arg(bool value) : value_(value) {}
    Arg(std::u16string_view text) : value_(text) {}
    Arg(const char16_t* text) : value_(text) {}
    Arg(const std::u16string& text) : value_(std::u16string_view(text)) {}
    Arg(IDispatch* object) : value_(object) {}

    static Arg Ref(com::Variant& variable);
    static Arg Ref(com::Bstr& variable);
    static Arg Ref(LONG& variable);

    // What goes into DISPPARAMS; shallow, the Arg keeps ownership.
    VARIANT Slot() const { return byRef_ ? reference_ : static_cast<const VARIANT&>(value_); }

private:
    Arg() = default;

    com::Variant value_;
    VARIANT reference_{};
    bool byRef_ = false;
};

DISPID MemberId(IDispatch* object, std::u16string_view name);
com::Variant Invoke(IDispatch* object, DISPID id, WORD flags, std::initializer_list<Arg> args);

com::Variant GetProperty(IDispatch* object, std::u16string_view name);
void PutProperty(IDispatch* object, std::u16string_view name, const Arg& value);
com::Variant CallMethod(IDispatch* object, std::u16string_view name, std::initializer_list<Arg> args = {});

// The value a getter gave, converted; a value of another type raises
// EOleError with the platform's text for the conversion's failure.
LONG ToLong(const com::Variant& value);
bool ToBool(const com::Variant& value);
std::u16string ToText(const com::Variant& value);

} // namespace zorv::outside
