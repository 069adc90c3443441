#include "devices/olectrls2/event_dispatch.h"

#include "devices/olectrls2/ole_control.h"

namespace zorv::devices {

HRESULT TEventDispatch::QueryInterface(REFIID riid, void** ppv) {
    if (ppv == nullptr)
        return E_POINTER;
    // Any interface other than IUnknown and IDispatch is the object's event
    // interface, asked for while it connects us: remember it, answer as IDispatch.
    if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IDispatch) && FControl != nullptr &&
        FControl->FControlData != nullptr)
        FControl->FControlData->EventIid = riid;
    *ppv = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
}

ULONG TEventDispatch::AddRef() {
    if (FControl != nullptr)
        FControl->AddRefHost();
    return ++references_;
}

ULONG TEventDispatch::Release() {
    if (FControl != nullptr)
        FControl->ReleaseHost();
    const ULONG left = --references_;
    if (left == 0)
        delete this;
    return left;
}

HRESULT TEventDispatch::GetTypeInfoCount(UINT* pctinfo) {
    if (pctinfo == nullptr)
        return E_POINTER;
    *pctinfo = 0;
    return S_OK;
}

HRESULT TEventDispatch::GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) {
    if (ppTInfo != nullptr)
        *ppTInfo = nullptr;
    return E_NOTIMPL;
}

HRESULT TEventDispatch::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }

HRESULT TEventDispatch::Invoke(DISPID dispIdMember, REFIID, LCID, WORD, DISPPARAMS* pDispParams, VARIANT*,
                               EXCEPINFO*, UINT*) {
    if (FControl == nullptr || pDispParams == nullptr)
        return S_OK;
    FControl->RouteEvent(dispIdMember, *pDispParams);
    return S_OK;
}

void TEventDispatch::Detach() {
    // The host's count no longer follows this sink.
    FControl = nullptr;
    Release();
}

} // namespace zorv::devices
