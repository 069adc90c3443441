#include "model/value.h"

#include "platform/com/dispatch_args.h"
#include "platform/com/variant_value.h"

namespace zorv::opos {

ValueType TypeOf(const Value& value) {
    return static_cast<ValueType>(value.index());
}

Value Initial::Make() const {
    switch (type) {
    case ValueType::Long:
        return number;
    case ValueType::Bool:
        return number != 0;
    case ValueType::Text:
        break;
    }
    return std::u16string(text);
}

void StoreValue(const Value& value, VARIANT& out) {
    VariantInit(&out);
    if (const LONG* number = std::get_if<LONG>(&value)) {
        out.vt = VT_I4;
        out.lVal = *number;
    } else if (const bool* flag = std::get_if<bool>(&value)) {
        out.vt = VT_BOOL;
        out.boolVal = *flag ? VARIANT_TRUE : VARIANT_FALSE;
    } else {
        const auto& text = std::get<std::u16string>(value);
        out.vt = VT_BSTR;
        out.bstrVal = com::Bstr(text).Detach();
    }
}

Value ConvertValue(const VARIANT& in, ValueType type) {
    static constexpr VARTYPE targets[] = {VT_I4, VT_BOOL, VT_BSTR};
    com::Variant converted;
    const HRESULT hr =
        VariantChangeType(&converted, &in, VARIANT_ALPHABOOL, targets[static_cast<std::size_t>(type)]);
    if (FAILED(hr))
        throw com::DispatchError{hr, 0};
    switch (type) {
    case ValueType::Long:
        return converted.lVal;
    case ValueType::Bool:
        return converted.boolVal != VARIANT_FALSE;
    case ValueType::Text:
        break;
    }
    return std::u16string(com::BstrView(converted.bstrVal));
}

} // namespace zorv::opos
