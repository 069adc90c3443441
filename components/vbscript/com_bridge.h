#pragma once
// The object boundary: values to VARIANTs and back, late-bound calls on any
// IDispatch with variables passed by reference, and failed calls turned
// into script errors that carry the object's number and description.
#include <span>
#include <string_view>

#include "platform/com/com_ptr.h"
#include "platform/com/dispatch.h"
#include "script_error.h"
#include "value.h"

namespace zorv::vbs {

Value FromVariant(const VARIANT& variant);
// `out` must be initialised; it receives a copy it owns.
void ToVariant(const Value& value, VARIANT& out);

// The value of an object's default member; Nothing raises 91, an object
// without one 438.
Value DefaultValue(const Value& object);
// The object's identity, for Is.
IUnknown* IdentityOf(IDispatch* object);

// A call by member name. Arguments that are references (Value::RefTo) go
// out as VT_BYREF|VT_VARIANT and come back into the script's variables.
// `putValue` makes it a property put (putRef: Set) with that value.
Value InvokeByName(IDispatch* object, std::u16string_view name, WORD flags, std::span<Value> args,
                   const Value* putValue = nullptr, bool putRef = false);
Value InvokeById(IDispatch* object, DISPID id, std::u16string_view name, WORD flags, std::span<Value> args,
                 const Value* putValue = nullptr, bool putRef = false);
// The enumerator the object's _NewEnum answers, or null when it answers
// anything else; a failed call raises its error.
com::ComPtr<IEnumVARIANT> NewEnumerator(IDispatch* object);
// Whether the object has a member of that name.
bool HasMember(IDispatch* object, std::u16string_view name, DISPID* id = nullptr);

ScriptError ErrorFromInvoke(HRESULT hr, const EXCEPINFO& info, std::u16string_view member);

} // namespace zorv::vbs
