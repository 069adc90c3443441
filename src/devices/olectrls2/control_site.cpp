#include "devices/olectrls2/control_site.h"

#include "devices/olectrls2/ole_control.h"
#include "platform/com/variant_value.h"

#ifndef _WIN32
LCID GetUserDefaultLCID() { return 0x040C; }
#endif

namespace zorv::devices {

ULONG TOleControlSite::AddRef() {
    if (FControl != nullptr)
        FControl->AddRefHost();
    return ComObject::AddRef();
}

ULONG TOleControlSite::Release() {
    if (FControl != nullptr)
        FControl->ReleaseHost();
    return ComObject::Release();
}

void TOleControlSite::Detach() {
    FControl = nullptr;
    Release();
}

HRESULT TOleControlSite::GetMoniker(DWORD, DWORD, IMoniker** ppmk) {
    if (ppmk != nullptr)
        *ppmk = nullptr;
    return E_NOTIMPL;
}

HRESULT TOleControlSite::GetContainer(IOleContainer** ppContainer) {
    if (ppContainer != nullptr)
        *ppContainer = nullptr;
    return E_NOINTERFACE;
}

HRESULT TOleControlSite::RequestNewObjectLayout() {
    if (FControl == nullptr)
        return E_UNEXPECTED;
    try {
        FControl->ApplyExtent();
        return S_OK;
    } catch (...) {
        return E_FAIL;
    }
}

HRESULT TOleControlSite::GetExtendedControl(IDispatch** ppDisp) {
    if (ppDisp != nullptr)
        *ppDisp = nullptr;
    return E_NOTIMPL;
}

HRESULT TOleControlSite::TransformCoords(POINTL* pPtlHimetric, POINTF* pPtfContainer, DWORD dwFlags) {
    if (pPtlHimetric == nullptr || pPtfContainer == nullptr)
        return E_POINTER;
    if (dwFlags & XFORMCOORDS_HIMETRICTOCONTAINER) {
        pPtfContainer->x = static_cast<FLOAT>(HimetricToPixels(pPtlHimetric->x));
        pPtfContainer->y = static_cast<FLOAT>(HimetricToPixels(pPtlHimetric->y));
    } else if (dwFlags & XFORMCOORDS_CONTAINERTOHIMETRIC) {
        pPtlHimetric->x = PixelsToHimetric(static_cast<int>(pPtfContainer->x));
        pPtlHimetric->y = PixelsToHimetric(static_cast<int>(pPtfContainer->y));
    } else {
        return E_INVALIDARG;
    }
    return S_OK;
}

HRESULT TOleControlSite::OnChanged(DISPID dispID) {
    return FControl != nullptr ? FControl->OnChanged(dispID) : S_OK;
}

HRESULT TOleControlSite::OnRequestEdit(DISPID dispID) {
    return FControl != nullptr ? FControl->OnRequestEdit(dispID) : S_OK;
}

HRESULT TOleControlSite::GetTypeInfoCount(UINT* pctinfo) {
    if (pctinfo == nullptr)
        return E_POINTER;
    *pctinfo = 0;
    return S_OK;
}

HRESULT TOleControlSite::GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) {
    if (ppTInfo != nullptr)
        *ppTInfo = nullptr;
    return E_NOTIMPL;
}

HRESULT TOleControlSite::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }

HRESULT TOleControlSite::Invoke(DISPID dispIdMember, REFIID, LCID, WORD wFlags, DISPPARAMS*, VARIANT* pVarResult,
                                EXCEPINFO*, UINT*) {
    // Only reads that supply a place for the result are answered.
    if ((wFlags & DISPATCH_PROPERTYGET) == 0 || pVarResult == nullptr || FControl == nullptr)
        return DISP_E_MEMBERNOTFOUND;
    VariantInit(pVarResult);
    return Ambient(dispIdMember, *pVarResult);
}

HRESULT TOleControlSite::Ambient(DISPID dispId, VARIANT& result) const {
    switch (dispId) {
    case DISPID_AMBIENT_BACKCOLOR: result = com::Variant(FControl->FColor).Detach(); return S_OK;
    case DISPID_AMBIENT_DISPLAYNAME: result = com::Variant(std::u16string_view(FControl->FName)).Detach(); return S_OK;
    case DISPID_AMBIENT_FORECOLOR: result = com::Variant(FControl->FFontColor).Detach(); return S_OK;
    case DISPID_AMBIENT_LOCALEID: result = com::Variant(static_cast<LONG>(GetUserDefaultLCID())).Detach(); return S_OK;
    case DISPID_AMBIENT_MESSAGEREFLECT:
    case DISPID_AMBIENT_USERMODE:
    case DISPID_AMBIENT_SUPPORTSMNEMONICS:
    case DISPID_AMBIENT_AUTOCLIP: result = com::Variant(true).Detach(); return S_OK;
    case DISPID_AMBIENT_UIDEAD:
    case DISPID_AMBIENT_SHOWGRABHANDLES:
    case DISPID_AMBIENT_SHOWHATCHING: result = com::Variant(false).Detach(); return S_OK;
    default: return DISP_E_MEMBERNOTFOUND; // the font among them: the controls have no visible area
    }
}

} // namespace zorv::devices
