#pragma once
// The event sink: the object's connection point calls it, and it hands every
// event to the host for routing. It remembers, in the descriptor's EventIid,
// the last interface the object asked it for that it does not know: that
// is the object's event interface, learnt without any type description.
#include "platform/com/dispatch.h"

namespace zorv::devices {

class TOleControl;

class TEventDispatch final : public IDispatch {
public:
    explicit TEventDispatch(TOleControl* control) : FControl(control) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pctinfo) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid,
                                            DISPID* rgDispId) override;
    // Always answers success to the object: handler errors are the host's to report.
    HRESULT STDMETHODCALLTYPE Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags,
                                     DISPPARAMS* pDispParams, VARIANT* pVarResult, EXCEPINFO* pExcepInfo,
                                     UINT* puArgErr) override;

    // The host is going: later calls find nobody to serve, and the sink
    // lives on only as long as the object still holds it.
    void Detach();

private:
    ~TEventDispatch() = default;

    TOleControl* FControl;
    // The sink's own count keeps it alive while an object that failed to
    // let go of it could still call; the host's count is kept in step.
    ULONG references_ = 1;
};

} // namespace zorv::devices
