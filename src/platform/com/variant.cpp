#include "variant.h"

#include <cstdint>
#include <cstring>

#include "bstr.h"
#include "hresult.h"
#include "safearray.h"
#include "unknown.h"
#include "variant_internal.h"

namespace zorv::com::detail {

namespace {

constexpr std::uint64_t Bit(VARTYPE vt) {
    return std::uint64_t{1} << vt;
}

// One bit per type, as every variant copy and clear asks this.
constexpr std::uint64_t kArrayElementTypes =
    Bit(VT_VARIANT) | Bit(VT_BSTR) | Bit(VT_UNKNOWN) | Bit(VT_DISPATCH) | Bit(VT_I1) | Bit(VT_UI1) |
    Bit(VT_I2) | Bit(VT_UI2) | Bit(VT_I4) | Bit(VT_UI4) | Bit(VT_INT) | Bit(VT_UINT) | Bit(VT_I8) |
    Bit(VT_UI8) | Bit(VT_R4) | Bit(VT_R8) | Bit(VT_CY) | Bit(VT_DATE) | Bit(VT_BOOL) | Bit(VT_ERROR);

// Plain values that own nothing, which clearing only marks empty.
constexpr std::uint64_t kOwnNothing =
    kArrayElementTypes & ~(Bit(VT_VARIANT) | Bit(VT_BSTR) | Bit(VT_UNKNOWN) | Bit(VT_DISPATCH));

bool OwnsNothing(VARTYPE vt) {
    return vt == VT_EMPTY || vt == VT_NULL || (vt < 64 && ((kOwnNothing >> vt) & 1) != 0);
}

} // namespace

bool IsArrayElementType(VARTYPE vt) {
    return vt < 64 && ((kArrayElementTypes >> vt) & 1) != 0;
}

bool IsValidVariantType(VARTYPE vt) {
    const VARTYPE base = vt & VT_TYPEMASK;
    const VARTYPE modifiers = vt & ~VT_TYPEMASK;
    if (modifiers & ~(VT_ARRAY | VT_BYREF))
        return false;
    if (modifiers & VT_ARRAY)
        return IsArrayElementType(base);
    if (modifiers & VT_BYREF)
        return base != VT_EMPTY && base != VT_NULL && IsArrayElementType(base);
    return base == VT_EMPTY || base == VT_NULL || (base != VT_VARIANT && IsArrayElementType(base));
}

HRESULT DereferenceView(const VARIANT& src, VARIANT* view) {
    VariantInit(view);
    if (!src.byref)
        return E_INVALIDARG;
    const VARTYPE vt = src.vt & ~VT_BYREF;
    if (vt == VT_VARIANT) {
        if (!IsValidVariantType(src.pvarVal->vt))
            return DISP_E_BADVARTYPE;
        if (src.pvarVal->vt & VT_BYREF)
            return E_INVALIDARG;
        *view = *src.pvarVal;
        return S_OK;
    }
    view->vt = vt;
    if (vt & VT_ARRAY) {
        view->parray = *src.pparray;
        return S_OK;
    }
    switch (vt) {
    case VT_I1:
    case VT_UI1:
        view->bVal = *src.pbVal;
        break;
    case VT_I2:
    case VT_UI2:
    case VT_BOOL:
        view->iVal = *src.piVal;
        break;
    case VT_I4:
    case VT_UI4:
    case VT_INT:
    case VT_UINT:
    case VT_ERROR:
        view->lVal = *src.plVal;
        break;
    case VT_R4:
        view->fltVal = *src.pfltVal;
        break;
    case VT_I8:
    case VT_UI8:
        view->llVal = *src.pllVal;
        break;
    case VT_R8:
    case VT_DATE:
        view->dblVal = *src.pdblVal;
        break;
    case VT_CY:
        view->cyVal = *src.pcyVal;
        break;
    case VT_BSTR:
        view->bstrVal = *src.pbstrVal;
        break;
    case VT_UNKNOWN:
    case VT_DISPATCH:
        view->punkVal = *src.ppunkVal;
        break;
    default:
        VariantInit(view);
        return DISP_E_BADVARTYPE;
    }
    return S_OK;
}

HRESULT CopyVariantInto(VARIANT* dest, const VARIANT& src) {
    if (!IsValidVariantType(src.vt)) {
        VariantInit(dest);
        return DISP_E_BADVARTYPE;
    }
    *dest = src;
    if (src.vt & VT_BYREF)
        return S_OK;
    if (src.vt & VT_ARRAY) {
        if (!src.parray)
            return S_OK;
        const HRESULT hr = SafeArrayCopy(src.parray, &dest->parray);
        if (FAILED(hr))
            VariantInit(dest);
        return hr;
    }
    switch (src.vt) {
    case VT_BSTR:
        if (src.bstrVal) {
            // By byte length, so that odd-length texts survive the copy.
            dest->bstrVal = SysAllocStringByteLen(reinterpret_cast<const char*>(src.bstrVal),
                                                  SysStringByteLen(src.bstrVal));
            if (!dest->bstrVal) {
                VariantInit(dest);
                return E_OUTOFMEMORY;
            }
        }
        break;
    case VT_UNKNOWN:
    case VT_DISPATCH:
        if (src.punkVal)
            src.punkVal->AddRef();
        break;
    default:
        break;
    }
    return S_OK;
}

} // namespace zorv::com::detail

using namespace zorv::com::detail;

void VariantInit(VARIANT* pvarg) {
    if (!pvarg)
        return;
    pvarg->vt = VT_EMPTY;
    pvarg->wReserved1 = pvarg->wReserved2 = pvarg->wReserved3 = 0;
    pvarg->llVal = 0;
}

HRESULT VariantClear(VARIANT* pvarg) {
    if (!pvarg)
        return E_INVALIDARG;
    if (OwnsNothing(pvarg->vt)) {
        VariantInit(pvarg);
        return S_OK;
    }
    if (!IsValidVariantType(pvarg->vt))
        return DISP_E_BADVARTYPE;
    if (!(pvarg->vt & VT_BYREF)) {
        if (pvarg->vt & VT_ARRAY) {
            if (pvarg->parray) {
                // A locked array stays where it is, still owned by the variant.
                const HRESULT hr = SafeArrayDestroy(pvarg->parray);
                if (FAILED(hr))
                    return hr;
            }
        } else if (pvarg->vt == VT_BSTR) {
            SysFreeString(pvarg->bstrVal);
        } else if ((pvarg->vt == VT_UNKNOWN || pvarg->vt == VT_DISPATCH) && pvarg->punkVal) {
            pvarg->punkVal->Release();
        }
    }
    VariantInit(pvarg);
    return S_OK;
}

HRESULT VariantCopy(VARIANT* pvargDest, const VARIANT* pvargSrc) {
    if (!pvargDest || !pvargSrc)
        return E_INVALIDARG;
    if (pvargDest == pvargSrc)
        return IsValidVariantType(pvargSrc->vt) ? S_OK : DISP_E_BADVARTYPE;
    // Copy first: the source may live inside what the destination owns.
    VARIANT copy;
    HRESULT hr = CopyVariantInto(&copy, *pvargSrc);
    if (FAILED(hr))
        return hr;
    hr = VariantClear(pvargDest);
    if (FAILED(hr)) {
        VariantClear(&copy);
        return hr;
    }
    *pvargDest = copy;
    return S_OK;
}

HRESULT VariantCopyInd(VARIANT* pvarDest, const VARIANT* pvargSrc) {
    if (!pvarDest || !pvargSrc)
        return E_INVALIDARG;
    if (!IsValidVariantType(pvargSrc->vt))
        return DISP_E_BADVARTYPE;
    if (!(pvargSrc->vt & VT_BYREF))
        return VariantCopy(pvarDest, pvargSrc);
    // Copy first: in-place dereferencing is allowed.
    VARIANT view;
    HRESULT hr = DereferenceView(*pvargSrc, &view);
    if (FAILED(hr))
        return hr;
    VARIANT copy;
    hr = CopyVariantInto(&copy, view);
    if (FAILED(hr))
        return hr;
    hr = VariantClear(pvarDest);
    if (FAILED(hr)) {
        VariantClear(&copy);
        return hr;
    }
    *pvarDest = copy;
    return S_OK;
}
