// The hosted-control side of the object. An OPOS control is invisible at run
// time and keeps no persistent state, so most of this is polite agreement.
#include "control/control_object.h"

namespace zorv::opos {
namespace {

constexpr DWORD kMiscStatus =
    OLEMISC_INVISIBLEATRUNTIME | OLEMISC_SETCLIENTSITEFIRST | OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_INSIDEOUT;

template <class T> HRESULT NoneOut(T** out, HRESULT answer) {
    if (out != nullptr)
        *out = nullptr;
    return answer;
}

} // namespace

HRESULT ControlObject::SetClientSite(IOleClientSite* pClientSite) {
    site_ = pClientSite;
    return S_OK;
}

HRESULT ControlObject::GetClientSite(IOleClientSite** ppClientSite) {
    if (ppClientSite == nullptr)
        return E_POINTER;
    return site_.CopyTo(ppClientSite);
}

HRESULT ControlObject::SetHostNames(LPCOLESTR, LPCOLESTR) {
    return S_OK;
}

// Closing the OLE object is not closing the device: at exit a host closes
// the control, and the device is expected to receive no OPOS Close.
HRESULT ControlObject::Close(DWORD) {
    return S_OK;
}

HRESULT ControlObject::SetMoniker(DWORD, IMoniker*) {
    return E_NOTIMPL;
}
HRESULT ControlObject::GetMoniker(DWORD, DWORD, IMoniker** ppmk) {
    return NoneOut(ppmk, E_NOTIMPL);
}
HRESULT ControlObject::InitFromData(IDataObject*, BOOL, DWORD) {
    return E_NOTIMPL;
}
HRESULT ControlObject::GetClipboardData(DWORD, IDataObject** ppDataObject) {
    return NoneOut(ppDataObject, E_NOTIMPL);
}
HRESULT ControlObject::DoVerb(LONG, LPMSG, IOleClientSite*, LONG, HWND, LPCRECT) {
    return S_OK;
}
HRESULT ControlObject::EnumVerbs(IEnumOLEVERB** ppEnumOleVerb) {
    return NoneOut(ppEnumOleVerb, E_NOTIMPL);
}
HRESULT ControlObject::Update() {
    return S_OK;
}
HRESULT ControlObject::IsUpToDate() {
    return S_OK;
}

HRESULT ControlObject::GetUserClassID(CLSID* pClsid) {
    if (pClsid == nullptr)
        return E_POINTER;
    *pClsid = kind_.clsid;
    return S_OK;
}

HRESULT ControlObject::GetUserType(DWORD, LPOLESTR* pszUserType) {
    return NoneOut(pszUserType, E_NOTIMPL);
}

HRESULT ControlObject::SetExtent(DWORD aspect, SIZEL* psizel) {
    if (psizel == nullptr)
        return E_POINTER;
    if (aspect != DVASPECT_CONTENT)
        return E_INVALIDARG;
    extent_ = *psizel;
    return S_OK;
}

HRESULT ControlObject::GetExtent(DWORD aspect, SIZEL* psizel) {
    if (psizel == nullptr)
        return E_POINTER;
    if (aspect != DVASPECT_CONTENT)
        return E_INVALIDARG;
    *psizel = extent_;
    return S_OK;
}

HRESULT ControlObject::Advise(IAdviseSink*, DWORD* pdwConnection) {
    if (pdwConnection != nullptr)
        *pdwConnection = 0;
    return OLE_E_ADVISENOTSUPPORTED;
}
HRESULT ControlObject::Unadvise(DWORD) {
    return OLE_E_NOCONNECTION;
}
HRESULT ControlObject::EnumAdvise(IEnumSTATDATA** ppenumAdvise) {
    return NoneOut(ppenumAdvise, OLE_E_ADVISENOTSUPPORTED);
}

HRESULT ControlObject::GetMiscStatus(DWORD, DWORD* pdwStatus) {
    if (pdwStatus == nullptr)
        return E_POINTER;
    *pdwStatus = kMiscStatus;
    return S_OK;
}

HRESULT ControlObject::SetColorScheme(LOGPALETTE*) {
    return E_NOTIMPL;
}

HRESULT ControlObject::GetClassID(CLSID* pClassID) {
    return GetUserClassID(pClassID);
}
HRESULT ControlObject::IsDirty() {
    return S_FALSE;
}
HRESULT ControlObject::Load(LPSTREAM pStm) {
    return pStm == nullptr ? E_POINTER : S_OK;
}
HRESULT ControlObject::Save(LPSTREAM pStm, BOOL) {
    return pStm == nullptr ? E_POINTER : S_OK;
}

HRESULT ControlObject::GetSizeMax(ULARGE_INTEGER* pCbSize) {
    if (pCbSize == nullptr)
        return E_POINTER;
    pCbSize->QuadPart = 0;
    return S_OK;
}

// A fresh control is a closed device, which is what every object starts as.
HRESULT ControlObject::InitNew() {
    return S_OK;
}

HRESULT ControlObject::GetControlInfo(CONTROLINFO* pCI) {
    if (pCI == nullptr)
        return E_POINTER;
    pCI->cb = sizeof(CONTROLINFO);
    pCI->hAccel = nullptr;
    pCI->cAccel = 0;
    pCI->dwFlags = 0;
    return S_OK;
}

HRESULT ControlObject::OnMnemonic(MSG*) {
    return E_NOTIMPL;
}
HRESULT ControlObject::OnAmbientPropertyChange(DISPID) {
    return S_OK;
}

HRESULT ControlObject::FreezeEvents(BOOL bFreeze) {
    device_.HostFreeze(bFreeze != FALSE);
    return S_OK;
}

} // namespace zorv::opos
