#pragma once
// The host's side of the hosting contract, as the object sees it: client
// site, control site, property-change sink and ambient properties. A
// separate object with its own count, so that an object that keeps a
// pointer to its site after the host is gone meets a detached site rather
// than freed memory.
#include "platform/com/com_object.h"
#include "platform/com/ole_control.h"

namespace zorv::devices {

class TOleControl;

class TOleControlSite final
    : public com::ComObject<IOleClientSite, IOleControlSite, IPropertyNotifySink, IDispatch> {
public:
    explicit TOleControlSite(TOleControl* control) : FControl(control) {}

    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IOleClientSite
    HRESULT STDMETHODCALLTYPE SaveObject() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** ppmk) override;
    HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** ppContainer) override;
    HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override;

    // IOleControlSite
    HRESULT STDMETHODCALLTYPE OnControlInfoChanged() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LockInPlaceActive(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetExtendedControl(IDispatch** ppDisp) override;
    HRESULT STDMETHODCALLTYPE TransformCoords(POINTL* pPtlHimetric, POINTF* pPtfContainer, DWORD dwFlags) override;
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG*, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnFocus(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ShowPropertyFrame() override { return E_NOTIMPL; }

    // IPropertyNotifySink
    HRESULT STDMETHODCALLTYPE OnChanged(DISPID dispID) override;
    HRESULT STDMETHODCALLTYPE OnRequestEdit(DISPID dispID) override;

    // IDispatch: the ambient properties.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pctinfo) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags,
                                     DISPPARAMS* pDispParams, VARIANT* pVarResult, EXCEPINFO* pExcepInfo,
                                     UINT* puArgErr) override;

    void Detach();

private:
    HRESULT Ambient(DISPID dispId, VARIANT& result) const;

    TOleControl* FControl;
};

} // namespace zorv::devices

#ifndef _WIN32
// The user's locale, which the host reports to its objects; Windows has its
// own. Here: French (France), the program's language.
LCID GetUserDefaultLCID();
#endif
