#include "dispatch_args.h"

namespace zorv::com {

VARIANT& DispatchArgs::Raw(UINT i) const {
    if (i >= params_.cArgs)
        throw DispatchError{DISP_E_BADPARAMCOUNT};
    return params_.rgvarg[params_.cArgs - 1 - i];
}

bool DispatchArgs::IsMissing(UINT i) const {
    if (i >= params_.cArgs)
        return true;
    const VARIANT& v = Raw(i);
    return v.vt == VT_ERROR && v.scode == DISP_E_PARAMNOTFOUND;
}

Variant DispatchArgs::Converted(UINT i, VARTYPE type) const {
    Variant converted;
    const HRESULT hr = VariantChangeType(&converted, &Raw(i), VARIANT_ALPHABOOL, type);
    if (FAILED(hr))
        throw DispatchError{hr, i};
    return converted;
}

LONG DispatchArgs::Long(UINT i) const { return Converted(i, VT_I4).lVal; }

double DispatchArgs::Double(UINT i) const { return Converted(i, VT_R8).dblVal; }

bool DispatchArgs::Bool(UINT i) const { return Converted(i, VT_BOOL).boolVal != VARIANT_FALSE; }

std::u16string DispatchArgs::String(UINT i) const { return std::u16string(BstrView(Converted(i, VT_BSTR).bstrVal)); }

Variant DispatchArgs::Value(UINT i) const {
    Variant value;
    const HRESULT hr = VariantCopyInd(&value, &Raw(i));
    if (FAILED(hr))
        throw DispatchError{hr, i};
    return value;
}

ComPtr<IDispatch> DispatchArgs::Object(UINT i) const {
    const Variant value = Value(i);
    if (value.vt == VT_DISPATCH)
        return ComPtr<IDispatch>(value.pdispVal);
    if (value.vt == VT_UNKNOWN && value.punkVal != nullptr)
        return ComPtr<IUnknown>(value.punkVal).As<IDispatch>();
    return {};
}

void DispatchArgs::SetByRef(UINT i, const VARIANT& value) const {
    VARIANT& target = Raw(i);
    if ((target.vt & VT_BYREF) == 0 || target.byref == nullptr)
        return;
    if (target.vt == (VT_BYREF | VT_VARIANT)) {
        const HRESULT hr = VariantCopy(target.pvarVal, &value);
        if (FAILED(hr))
            throw DispatchError{hr, i};
        return;
    }
    // A typed reference keeps its type: convert, then move the value in.
    Variant converted;
    const HRESULT hr = VariantChangeType(&converted, &value, 0, target.vt & ~VT_BYREF);
    if (FAILED(hr))
        throw DispatchError{hr, i};
    switch (target.vt & ~VT_BYREF) {
    case VT_BSTR:
        SysFreeString(*target.pbstrVal);
        *target.pbstrVal = converted.Detach().bstrVal;
        return;
    case VT_DISPATCH:
        if (*target.ppdispVal)
            (*target.ppdispVal)->Release();
        *target.ppdispVal = converted.Detach().pdispVal;
        return;
    case VT_UNKNOWN:
        if (*target.ppunkVal)
            (*target.ppunkVal)->Release();
        *target.ppunkVal = converted.Detach().punkVal;
        return;
    case VT_I2: *target.piVal = converted.iVal; return;
    case VT_I4: *target.plVal = converted.lVal; return;
    case VT_R4: *target.pfltVal = converted.fltVal; return;
    case VT_R8: *target.pdblVal = converted.dblVal; return;
    case VT_CY: *target.pcyVal = converted.cyVal; return;
    case VT_DATE: *target.pdate = converted.date; return;
    case VT_BOOL: *target.pboolVal = converted.boolVal; return;
    case VT_ERROR: *target.pscode = converted.scode; return;
    case VT_UI1: *target.pbVal = converted.bVal; return;
    case VT_I1: *target.pcVal = converted.cVal; return;
    case VT_UI2: *target.puiVal = converted.uiVal; return;
    case VT_UI4: *target.pulVal = converted.ulVal; return;
    case VT_I8: *target.pllVal = converted.llVal; return;
    case VT_UI8: *target.pullVal = converted.ullVal; return;
    case VT_INT: *target.pintVal = converted.intVal; return;
    case VT_UINT: *target.puintVal = converted.uintVal; return;
    default: throw DispatchError{DISP_E_TYPEMISMATCH, i};
    }
}

void DispatchArgs::ExpectCount(UINT min, UINT max) const {
    if (params_.cArgs < min || params_.cArgs > max)
        throw DispatchError{DISP_E_BADPARAMCOUNT};
}

} // namespace zorv::com
