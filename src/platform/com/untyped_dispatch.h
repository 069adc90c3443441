#pragma once
// An IDispatch that offers no type information: callers here learn members
// by name (GetIDsOfNames) or know their identifiers.
#include "platform/com/com_object.h"

namespace zorv::com {

template <class... Interfaces> class UntypedDispatch : public ComObject<IDispatch, Interfaces...> {
public:
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count == nullptr)
            return E_INVALIDARG;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info != nullptr)
            *info = nullptr;
        return DISP_E_BADINDEX;
    }
};

} // namespace zorv::com
