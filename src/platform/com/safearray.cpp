#include "safearray.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "bstr.h"
#include "unknown.h"
#include "variant_internal.h"

using namespace zorv::com::detail;

namespace {

// The element type lives in a prefix just before the descriptor, where
// SafeArrayGetVartype finds it when FADF_HAVEVARTYPE is set.
constexpr std::size_t kPrefixSize = alignof(std::max_align_t);
static_assert(kPrefixSize >= sizeof(DWORD));

// Element data is addressed with 32-bit sizes, as on the platform.
constexpr std::uint64_t kMaxDataBytes = UINT32_MAX;

DWORD* VartypeSlot(SAFEARRAY* psa) {
    return reinterpret_cast<DWORD*>(reinterpret_cast<char*>(psa) - sizeof(DWORD));
}

// Indexed through a pointer: the struct declares only one bound.
SAFEARRAYBOUND* Bounds(SAFEARRAY* psa) {
    return psa->rgsabound;
}

ULONG ElementSize(VARTYPE vt) {
    switch (vt) {
    case VT_I1:
    case VT_UI1:
        return 1;
    case VT_I2:
    case VT_UI2:
    case VT_BOOL:
        return 2;
    case VT_I4:
    case VT_UI4:
    case VT_INT:
    case VT_UINT:
    case VT_R4:
    case VT_ERROR:
        return 4;
    case VT_I8:
    case VT_UI8:
    case VT_R8:
    case VT_CY:
    case VT_DATE:
        return 8;
    case VT_BSTR:
        return sizeof(BSTR);
    case VT_UNKNOWN:
    case VT_DISPATCH:
        return sizeof(IUnknown*);
    case VT_VARIANT:
        return sizeof(VARIANT);
    default:
        return 0;
    }
}

USHORT FeaturesOf(VARTYPE vt) {
    switch (vt) {
    case VT_BSTR:
        return FADF_HAVEVARTYPE | FADF_BSTR;
    case VT_UNKNOWN:
        return FADF_HAVEVARTYPE | FADF_UNKNOWN;
    case VT_DISPATCH:
        return FADF_HAVEVARTYPE | FADF_DISPATCH;
    case VT_VARIANT:
        return FADF_HAVEVARTYPE | FADF_VARIANT;
    default:
        return FADF_HAVEVARTYPE;
    }
}

bool BoundFits(const SAFEARRAYBOUND& bound) {
    // The upper bound must still be a LONG.
    return bound.cElements == 0 ||
           static_cast<std::int64_t>(bound.lLbound) + bound.cElements - 1 <= INT32_MAX;
}

// Element count of `count` bounds, or false when it cannot be addressed.
bool CountElements(const SAFEARRAYBOUND* bounds, UINT count, ULONG elementSize, std::uint64_t* total) {
    std::uint64_t n = 1;
    for (UINT i = 0; i < count; ++i) {
        if (!BoundFits(bounds[i]))
            return false;
        if (bounds[i].cElements != 0 && n > kMaxDataBytes / bounds[i].cElements)
            return false;
        n *= bounds[i].cElements;
    }
    if (n > kMaxDataBytes / elementSize)
        return false;
    *total = n;
    return true;
}

std::uint64_t ElementCount(SAFEARRAY* psa) {
    std::uint64_t n = 1;
    for (UINT i = 0; i < psa->cDims; ++i)
        n *= Bounds(psa)[i].cElements;
    return n;
}

// `bounds` in stored order, rightmost dimension first.
SAFEARRAY* Allocate(VARTYPE vt, UINT cDims, const SAFEARRAYBOUND* bounds) {
    const ULONG size = ElementSize(vt);
    std::uint64_t count = 0;
    if (size == 0 || cDims == 0 || cDims > UINT16_MAX || !CountElements(bounds, cDims, size, &count))
        return nullptr;
    const std::size_t descriptorSize = offsetof(SAFEARRAY, rgsabound) + cDims * sizeof(SAFEARRAYBOUND);
    auto* block = static_cast<char*>(std::calloc(1, kPrefixSize + descriptorSize));
    if (!block)
        return nullptr;
    // Never a null data pointer, even for an empty array.
    void* data = std::calloc(count == 0 ? 1 : static_cast<std::size_t>(count), size);
    if (!data) {
        std::free(block);
        return nullptr;
    }
    auto* psa = reinterpret_cast<SAFEARRAY*>(block + kPrefixSize);
    psa->cDims = static_cast<USHORT>(cDims);
    psa->fFeatures = FeaturesOf(vt);
    psa->cbElements = size;
    psa->cLocks = 0;
    psa->pvData = data;
    std::memcpy(Bounds(psa), bounds, cDims * sizeof(SAFEARRAYBOUND));
    *VartypeSlot(psa) = vt;
    return psa;
}

void FreeDescriptor(SAFEARRAY* psa) {
    std::free(reinterpret_cast<char*>(psa) - kPrefixSize);
}

bool VartypeOf(SAFEARRAY* psa, VARTYPE* vt) {
    if (psa->fFeatures & FADF_HAVEVARTYPE)
        *vt = static_cast<VARTYPE>(*VartypeSlot(psa));
    else if (psa->fFeatures & FADF_BSTR)
        *vt = VT_BSTR;
    else if (psa->fFeatures & FADF_UNKNOWN)
        *vt = VT_UNKNOWN;
    else if (psa->fFeatures & FADF_DISPATCH)
        *vt = VT_DISPATCH;
    else if (psa->fFeatures & FADF_VARIANT)
        *vt = VT_VARIANT;
    else
        return false;
    return true;
}

char* ElementAt(SAFEARRAY* psa, std::uint64_t index) {
    return static_cast<char*>(psa->pvData) + index * psa->cbElements;
}

// Frees what the elements own and zeroes them.
void ClearElements(SAFEARRAY* psa, std::uint64_t from, std::uint64_t to) {
    VARTYPE vt = VT_EMPTY;
    if (!psa->pvData || from >= to || !VartypeOf(psa, &vt))
        return;
    for (std::uint64_t i = from; i < to; ++i) {
        char* element = ElementAt(psa, i);
        switch (vt) {
        case VT_BSTR:
            SysFreeString(*reinterpret_cast<BSTR*>(element));
            break;
        case VT_UNKNOWN:
        case VT_DISPATCH:
            if (auto* object = *reinterpret_cast<IUnknown**>(element))
                object->Release();
            break;
        case VT_VARIANT:
            VariantClear(reinterpret_cast<VARIANT*>(element));
            break;
        default:
            break;
        }
    }
    std::memset(ElementAt(psa, from), 0, static_cast<std::size_t>((to - from) * psa->cbElements));
}

// Copies one element of type `vt` into zeroed storage.
HRESULT CopyElement(VARTYPE vt, const void* from, void* to, ULONG size) {
    switch (vt) {
    case VT_BSTR: {
        const BSTR text = *static_cast<const BSTR*>(from);
        *static_cast<BSTR*>(to) = nullptr;
        if (!text)
            return S_OK;
        const BSTR copy = SysAllocStringByteLen(reinterpret_cast<const char*>(text), SysStringByteLen(text));
        if (!copy)
            return E_OUTOFMEMORY;
        *static_cast<BSTR*>(to) = copy;
        return S_OK;
    }
    case VT_UNKNOWN:
    case VT_DISPATCH: {
        IUnknown* object = *static_cast<IUnknown* const*>(from);
        if (object)
            object->AddRef();
        *static_cast<IUnknown**>(to) = object;
        return S_OK;
    }
    case VT_VARIANT:
        return CopyVariantInto(static_cast<VARIANT*>(to), *static_cast<const VARIANT*>(from));
    default:
        std::memcpy(to, from, size);
        return S_OK;
    }
}

HRESULT OffsetOf(SAFEARRAY* psa, const LONG* rgIndices, std::uint64_t* element) {
    std::uint64_t index = 0;
    std::uint64_t stride = 1;
    // rgIndices[0] is the leftmost dimension, stored last; it varies fastest.
    for (UINT k = 0; k < psa->cDims; ++k) {
        const SAFEARRAYBOUND& bound = Bounds(psa)[psa->cDims - 1 - k];
        const std::int64_t relative = static_cast<std::int64_t>(rgIndices[k]) - bound.lLbound;
        if (relative < 0 || relative >= static_cast<std::int64_t>(bound.cElements))
            return DISP_E_BADINDEX;
        index += static_cast<std::uint64_t>(relative) * stride;
        stride *= bound.cElements;
    }
    *element = index;
    return S_OK;
}

HRESULT BoundOf(SAFEARRAY* psa, UINT nDim, const SAFEARRAYBOUND** bound) {
    if (!psa)
        return E_INVALIDARG;
    if (nDim == 0 || nDim > psa->cDims)
        return DISP_E_BADINDEX;
    // nDim counts from the left; the leftmost is stored last.
    *bound = &Bounds(psa)[psa->cDims - nDim];
    return S_OK;
}

} // namespace

SAFEARRAY* SafeArrayCreate(VARTYPE vt, UINT cDims, SAFEARRAYBOUND* rgsabound) {
    if (!rgsabound || cDims == 0 || cDims > UINT16_MAX)
        return nullptr;
    std::vector<SAFEARRAYBOUND> stored(rgsabound, rgsabound + cDims);
    std::reverse(stored.begin(), stored.end());
    return Allocate(vt, cDims, stored.data());
}

SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, LONG lLbound, ULONG cElements) {
    SAFEARRAYBOUND bound{cElements, lLbound};
    return Allocate(vt, 1, &bound);
}

HRESULT SafeArrayDestroy(SAFEARRAY* psa) {
    if (!psa)
        return E_INVALIDARG;
    if (psa->cLocks > 0)
        return DISP_E_ARRAYISLOCKED;
    ClearElements(psa, 0, ElementCount(psa));
    std::free(psa->pvData);
    FreeDescriptor(psa);
    return S_OK;
}

UINT SafeArrayGetDim(SAFEARRAY* psa) {
    return psa ? psa->cDims : 0;
}

UINT SafeArrayGetElemsize(SAFEARRAY* psa) {
    return psa ? psa->cbElements : 0;
}

HRESULT SafeArrayGetVartype(SAFEARRAY* psa, VARTYPE* pvt) {
    if (!psa || !pvt)
        return E_INVALIDARG;
    return VartypeOf(psa, pvt) ? S_OK : E_INVALIDARG;
}

HRESULT SafeArrayGetUBound(SAFEARRAY* psa, UINT nDim, LONG* plUbound) {
    if (!plUbound)
        return E_INVALIDARG;
    const SAFEARRAYBOUND* bound = nullptr;
    const HRESULT hr = BoundOf(psa, nDim, &bound);
    if (SUCCEEDED(hr))
        *plUbound = static_cast<LONG>(static_cast<std::int64_t>(bound->lLbound) + bound->cElements - 1);
    return hr;
}

HRESULT SafeArrayGetLBound(SAFEARRAY* psa, UINT nDim, LONG* plLbound) {
    if (!plLbound)
        return E_INVALIDARG;
    const SAFEARRAYBOUND* bound = nullptr;
    const HRESULT hr = BoundOf(psa, nDim, &bound);
    if (SUCCEEDED(hr))
        *plLbound = bound->lLbound;
    return hr;
}

HRESULT SafeArrayLock(SAFEARRAY* psa) {
    if (!psa)
        return E_INVALIDARG;
    if (psa->cLocks == UINT32_MAX)
        return E_UNEXPECTED;
    ++psa->cLocks;
    return S_OK;
}

HRESULT SafeArrayUnlock(SAFEARRAY* psa) {
    if (!psa)
        return E_INVALIDARG;
    if (psa->cLocks == 0)
        return E_UNEXPECTED;
    --psa->cLocks;
    return S_OK;
}

HRESULT SafeArrayAccessData(SAFEARRAY* psa, void** ppvData) {
    if (!psa || !ppvData)
        return E_INVALIDARG;
    const HRESULT hr = SafeArrayLock(psa);
    *ppvData = SUCCEEDED(hr) ? psa->pvData : nullptr;
    return hr;
}

HRESULT SafeArrayUnaccessData(SAFEARRAY* psa) {
    return SafeArrayUnlock(psa);
}

HRESULT SafeArrayPtrOfIndex(SAFEARRAY* psa, LONG* rgIndices, void** ppvData) {
    if (!psa || !rgIndices || !ppvData)
        return E_INVALIDARG;
    std::uint64_t index = 0;
    const HRESULT hr = OffsetOf(psa, rgIndices, &index);
    if (SUCCEEDED(hr))
        *ppvData = ElementAt(psa, index);
    return hr;
}

HRESULT SafeArrayGetElement(SAFEARRAY* psa, LONG* rgIndices, void* pv) {
    if (!psa || !rgIndices || !pv)
        return E_INVALIDARG;
    VARTYPE vt = VT_EMPTY;
    if (!VartypeOf(psa, &vt) && psa->cbElements == 0)
        return E_INVALIDARG;
    std::uint64_t index = 0;
    HRESULT hr = OffsetOf(psa, rgIndices, &index);
    if (FAILED(hr))
        return hr;
    SafeArrayLock(psa);
    if (vt == VT_VARIANT) {
        // The caller's variant is storage to fill, not a value to clear.
        VARIANT copy;
        hr = CopyVariantInto(&copy, *reinterpret_cast<VARIANT*>(ElementAt(psa, index)));
        if (SUCCEEDED(hr))
            std::memcpy(pv, &copy, sizeof(copy));
    } else {
        hr = CopyElement(vt, ElementAt(psa, index), pv, psa->cbElements);
    }
    SafeArrayUnlock(psa);
    return hr;
}

HRESULT SafeArrayPutElement(SAFEARRAY* psa, LONG* rgIndices, void* pv) {
    if (!psa || !rgIndices)
        return E_INVALIDARG;
    VARTYPE vt = VT_EMPTY;
    if (!VartypeOf(psa, &vt) && psa->cbElements == 0)
        return E_INVALIDARG;
    // Texts and objects are passed as the pointer itself, which may be null.
    const bool byPointer = vt == VT_BSTR || vt == VT_UNKNOWN || vt == VT_DISPATCH;
    if (!pv && !byPointer)
        return E_INVALIDARG;
    std::uint64_t index = 0;
    HRESULT hr = OffsetOf(psa, rgIndices, &index);
    if (FAILED(hr))
        return hr;
    SafeArrayLock(psa);
    char* element = ElementAt(psa, index);
    switch (vt) {
    case VT_VARIANT:
        hr = VariantCopy(reinterpret_cast<VARIANT*>(element), static_cast<const VARIANT*>(pv));
        break;
    case VT_BSTR: {
        BSTR copy = nullptr;
        const auto text = static_cast<BSTR>(pv);
        if (text) {
            copy = SysAllocStringByteLen(reinterpret_cast<const char*>(text), SysStringByteLen(text));
            if (!copy) {
                hr = E_OUTOFMEMORY;
                break;
            }
        }
        SysFreeString(*reinterpret_cast<BSTR*>(element));
        *reinterpret_cast<BSTR*>(element) = copy;
        break;
    }
    case VT_UNKNOWN:
    case VT_DISPATCH: {
        // Take the new reference first: it may be the one already stored.
        auto* object = static_cast<IUnknown*>(pv);
        if (object)
            object->AddRef();
        if (auto* old = *reinterpret_cast<IUnknown**>(element))
            old->Release();
        *reinterpret_cast<IUnknown**>(element) = object;
        break;
    }
    default:
        std::memcpy(element, pv, psa->cbElements);
        break;
    }
    SafeArrayUnlock(psa);
    return hr;
}

HRESULT SafeArrayCopy(SAFEARRAY* psa, SAFEARRAY** ppsaOut) {
    if (!ppsaOut)
        return E_INVALIDARG;
    *ppsaOut = nullptr;
    if (!psa)
        return E_INVALIDARG;
    VARTYPE vt = VT_EMPTY;
    if (!VartypeOf(psa, &vt) || ElementSize(vt) != psa->cbElements)
        return E_INVALIDARG;
    SAFEARRAY* copy = Allocate(vt, psa->cDims, Bounds(psa));
    if (!copy)
        return E_OUTOFMEMORY;
    const std::uint64_t count = ElementCount(psa);
    for (std::uint64_t i = 0; i < count; ++i) {
        const HRESULT hr = CopyElement(vt, ElementAt(psa, i), ElementAt(copy, i), psa->cbElements);
        if (FAILED(hr)) {
            // What was copied so far is released with the partial copy.
            SafeArrayDestroy(copy);
            return hr;
        }
    }
    *ppsaOut = copy;
    return S_OK;
}

HRESULT SafeArrayRedim(SAFEARRAY* psa, SAFEARRAYBOUND* psaboundNew) {
    if (!psa || !psaboundNew)
        return E_INVALIDARG;
    if (psa->cLocks > 0)
        return DISP_E_ARRAYISLOCKED;
    if (psa->fFeatures & FADF_FIXEDSIZE || psa->cbElements == 0 || psa->cDims == 0)
        return E_INVALIDARG;
    if (!BoundFits(*psaboundNew))
        return E_INVALIDARG;
    // The rightmost dimension varies slowest, so its elements form the tail.
    std::uint64_t slab = 0;
    if (!CountElements(Bounds(psa) + 1, psa->cDims - 1u, psa->cbElements, &slab))
        return E_INVALIDARG;
    std::uint64_t newCount = 0;
    if (psaboundNew->cElements != 0 && slab > kMaxDataBytes / psa->cbElements / psaboundNew->cElements)
        return E_OUTOFMEMORY;
    newCount = slab * psaboundNew->cElements;
    const std::uint64_t oldCount = ElementCount(psa);
    const auto newBytes = static_cast<std::size_t>((newCount == 0 ? 1 : newCount) * psa->cbElements);
    if (newCount < oldCount) {
        ClearElements(psa, newCount, oldCount);
        // A failed shrink keeps the larger block, which still fits.
        if (void* data = std::realloc(psa->pvData, newBytes))
            psa->pvData = data;
    } else if (newCount > oldCount) {
        void* data = std::realloc(psa->pvData, newBytes);
        if (!data)
            return E_OUTOFMEMORY;
        psa->pvData = data;
        std::memset(ElementAt(psa, oldCount), 0,
                    static_cast<std::size_t>((newCount - oldCount) * psa->cbElements));
    }
    Bounds(psa)[0] = *psaboundNew;
    return S_OK;
}
