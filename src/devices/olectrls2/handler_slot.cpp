#include "devices/olectrls2/handler_slot.h"

#include "platform/com/bstr_value.h"
#include "platform/com/variant_value.h"

namespace zorv::devices {
namespace {

// An object never stands for a number or a text here: its default value is
// not fetched (VARIANT_NOVALUEPROP).
bool ConvertTo(const VARIANT& arg, VARTYPE type, com::Variant& out) {
    if ((arg.vt & VT_BYREF) != 0 && arg.byref == nullptr)
        return false;
    return SUCCEEDED(VariantChangeType(&out, &arg, VARIANT_NOVALUEPROP, type));
}

// Writes a value into the variable a by-reference argument points at,
// keeping that variable's type when it is a typed reference.
void WriteBack(VARIANT& arg, const com::Variant& value) {
    if ((arg.vt & VT_BYREF) == 0 || arg.byref == nullptr)
        return;
    if (arg.vt == (VT_BYREF | VT_VARIANT)) {
        VariantCopy(arg.pvarVal, &value);
        return;
    }
    com::Variant converted;
    if (FAILED(VariantChangeType(&converted, &value, 0, arg.vt & ~VT_BYREF)))
        return;
    switch (arg.vt & ~VT_BYREF) {
    case VT_I4: *arg.plVal = converted.lVal; break;
    case VT_I2: *arg.piVal = converted.iVal; break;
    case VT_UI1: *arg.pbVal = converted.bVal; break;
    case VT_R8: *arg.pdblVal = converted.dblVal; break;
    case VT_BSTR:
        SysFreeString(*arg.pbstrVal);
        *arg.pbstrVal = converted.Detach().bstrVal;
        break;
    default: break;
    }
}

} // namespace

bool ArgumentBinding<LONG>::Load(const VARIANT& arg) {
    com::Variant converted;
    if (!ConvertTo(arg, VT_I4, converted))
        return false;
    value = converted.lVal;
    return true;
}

bool ArgumentBinding<LONG&>::Load(const VARIANT& arg) {
    com::Variant converted;
    if (!ConvertTo(arg, VT_I4, converted))
        return false;
    value = original = converted.lVal;
    return true;
}

void ArgumentBinding<LONG&>::Store(VARIANT& arg) const {
    // Untouched values go back as they came, type included.
    if (value != original)
        WriteBack(arg, com::Variant(value));
}

bool ArgumentBinding<std::u16string&>::Load(const VARIANT& arg) {
    com::Variant converted;
    if (!ConvertTo(arg, VT_BSTR, converted))
        return false;
    value = original = com::BstrView(converted.bstrVal);
    return true;
}

void ArgumentBinding<std::u16string&>::Store(VARIANT& arg) const {
    if (value != original)
        WriteBack(arg, com::Variant(std::u16string_view(value)));
}

} // namespace zorv::devices
