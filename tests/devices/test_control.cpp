#include "devices/test_control.h"

#include <algorithm>

#include "platform/com/class_table.h"
#include "platform/com/inproc_server.h"
#include "platform/com/table_dispatch.h"

namespace zorv::testing {

using namespace zorv::com;

TestControl::TestControl(std::shared_ptr<TestControlLog> log) : log_(std::move(log)) {
    ++log_->created;
    ++log_->alive;
    log_->last = this;
    const TestControlBehaviour& b = log_->behaviour;
    if (b.noPoints)
        return;
    if (b.notifyPointFirst)
        points_.Add(IID_IPropertyNotifySink);
    events_ = &points_.Add(kTestEventsIid);
    if (!b.notifyPointFirst)
        points_.Add(IID_IPropertyNotifySink);
    if (b.refuseAdvise) {
        events_->SetAdviseLimit(0);
        points_.Find(IID_IPropertyNotifySink)->SetAdviseLimit(0);
    }
}

TestControl::~TestControl() {
    --log_->alive;
    if (log_->last == this)
        log_->last = nullptr;
}

HRESULT TestControl::QueryOtherInterface(REFIID, void**) { return E_NOINTERFACE; }

HRESULT TestControl::QueryInterface(REFIID riid, void** ppv) {
    const TestControlBehaviour& b = log_->behaviour;
    const bool refused = (b.noContainer && IsEqualIID(riid, IID_IConnectionPointContainer)) ||
                         (b.noDispatch && IsEqualIID(riid, IID_IDispatch)) ||
                         (b.noOleControl && IsEqualIID(riid, IID_IOleControl)) ||
                         (b.noPersist && IsEqualIID(riid, IID_IPersistStreamInit));
    if (refused) {
        if (ppv != nullptr)
            *ppv = nullptr;
        return E_NOINTERFACE;
    }
    return ComObject::QueryInterface(riid, ppv);
}

HRESULT TestControl::Fire(DISPID id, std::vector<VARIANT> args) {
    HRESULT hr = CONNECT_E_NOCONNECTION;
    if (events_ != nullptr)
        hr = events_->FireDispatch(id, args.data(), static_cast<UINT>(args.size()));
    // The arguments are ours; by-reference ones own nothing.
    for (VARIANT& arg : args)
        VariantClear(&arg);
    return hr;
}

std::size_t TestControl::EventSinkCount() { return events_ ? events_->SinkCount() : 0; }

HRESULT TestControl::SetClientSite(IOleClientSite* pClientSite) {
    log_->hostingCalls.push_back(pClientSite ? "SetClientSite" : "SetClientSite(none)");
    site_ = pClientSite;
    log_->siteHeld = static_cast<bool>(site_);
    return S_OK;
}

HRESULT TestControl::GetClientSite(IOleClientSite** ppClientSite) {
    log_->hostingCalls.push_back("GetClientSite");
    if (ppClientSite == nullptr)
        return E_POINTER;
    *ppClientSite = nullptr;
    if (FAILED(log_->behaviour.getClientSiteResult))
        return log_->behaviour.getClientSiteResult;
    return site_.CopyTo(ppClientSite);
}

HRESULT TestControl::Close(DWORD dwSaveOption) {
    log_->hostingCalls.push_back("Close(" + std::to_string(dwSaveOption) + ")");
    return S_OK;
}

HRESULT TestControl::GetExtent(DWORD, SIZEL* psizel) {
    log_->hostingCalls.push_back("GetExtent");
    if (psizel == nullptr)
        return E_POINTER;
    if (FAILED(log_->behaviour.extentResult))
        return log_->behaviour.extentResult;
    *psizel = log_->behaviour.extent;
    return S_OK;
}

HRESULT TestControl::GetMiscStatus(DWORD, DWORD* pdwStatus) {
    log_->hostingCalls.push_back("GetMiscStatus");
    if (pdwStatus == nullptr)
        return E_POINTER;
    *pdwStatus = log_->behaviour.askSiteFirst ? OLEMISC_SETCLIENTSITEFIRST : 0;
    return log_->behaviour.miscStatusResult;
}

HRESULT TestControl::InitNew() {
    log_->hostingCalls.push_back("InitNew");
    return log_->behaviour.initNewResult;
}

HRESULT TestControl::OnAmbientPropertyChange(DISPID dispID) {
    log_->hostingCalls.push_back("OnAmbientPropertyChange(" + std::to_string(dispID) + ")");
    return S_OK;
}

HRESULT TestControl::EnumConnectionPoints(IEnumConnectionPoints** ppEnum) {
    return points_.EnumConnectionPoints(ppEnum);
}

HRESULT TestControl::FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) {
    if (log_->behaviour.refuseFindPoint) {
        if (ppCP != nullptr)
            *ppCP = nullptr;
        return CONNECT_E_NOCONNECTION;
    }
    return points_.FindConnectionPoint(riid, ppCP);
}

HRESULT TestControl::GetTypeInfoCount(UINT* pctinfo) {
    if (pctinfo == nullptr)
        return E_POINTER;
    *pctinfo = 0;
    return S_OK;
}

HRESULT TestControl::GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) {
    if (ppTInfo != nullptr)
        *ppTInfo = nullptr;
    return E_NOTIMPL;
}

HRESULT TestControl::GetIDsOfNames(REFIID, LPOLESTR* rgszNames, UINT cNames, LCID, DISPID* rgDispId) {
    if (rgszNames == nullptr || rgDispId == nullptr || cNames == 0)
        return E_INVALIDARG;
    const std::u16string name(rgszNames[0]);
    if (log_->behaviour.missingMembers.count(name) != 0) {
        rgDispId[0] = DISPID_UNKNOWN;
        return DISP_E_UNKNOWNNAME;
    }
    auto found = std::find(names_.begin(), names_.end(), name);
    if (found == names_.end())
        found = names_.insert(names_.end(), name);
    rgDispId[0] = static_cast<DISPID>(found - names_.begin()) + 1;
    return S_OK;
}

HRESULT TestControl::Invoke(DISPID dispIdMember, REFIID, LCID, WORD wFlags, DISPPARAMS* pDispParams,
                            VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT*) {
    if (dispIdMember < 1 || static_cast<std::size_t>(dispIdMember) > names_.size() || pDispParams == nullptr)
        return DISP_E_MEMBERNOTFOUND;
    const std::u16string& name = names_[dispIdMember - 1];
    RecordedCall call{name, wFlags, {}, false};
    for (UINT i = 0; i < pDispParams->cArgs; ++i) {
        const VARIANT& arg = pDispParams->rgvarg[pDispParams->cArgs - 1 - i];
        Variant value;
        VariantCopyInd(&value, &arg);
        call.args.push_back(std::move(value));
        if (i == 0)
            call.firstArgByRef = (arg.vt & VT_BYREF) != 0;
    }
    log_->calls.push_back(call);
    if (log_->behaviour.duringCall)
        log_->behaviour.duringCall(*this, call);
    if (log_->behaviour.failWhen) {
        if (const auto description = log_->behaviour.failWhen(call)) {
            FillExcepInfo(pExcepInfo, u"TestControl", *description, E_FAIL);
            return DISP_E_EXCEPTION;
        }
    }
    if (const auto failing = log_->behaviour.failingMembers.find(name); failing != log_->behaviour.failingMembers.end()) {
        FillExcepInfo(pExcepInfo, u"TestControl", failing->second, E_FAIL);
        return DISP_E_EXCEPTION;
    }
    if (wFlags & DISPATCH_PROPERTYPUT) {
        if (pDispParams->cArgs != 1)
            return DISP_E_BADPARAMCOUNT;
        log_->properties[name] = Variant(pDispParams->rgvarg[0]);
        return S_OK;
    }
    if (pVarResult != nullptr) {
        VariantInit(pVarResult);
        const auto property = log_->properties.find(name);
        if (property != log_->properties.end())
            VariantCopy(pVarResult, &property->second);
        else if (wFlags & DISPATCH_METHOD)
            *pVarResult = Variant(LONG{0}).Detach();
    }
    return S_OK;
}

namespace {
// Each registration its own class, so that several can stand side by side.
CLSID NextTestClsid() {
    static std::uint8_t serial = 0;
    return {0x7E57C0DE, 0x0001, 0x4000, {0x80, 0, 0, 0, 0, 0, 0x02, ++serial}};
}
} // namespace

TestControlRegistration::TestControlRegistration(std::u16string progId)
    : progId_(std::move(progId)), log_(std::make_shared<TestControlLog>()) {
    std::shared_ptr<TestControlLog> log = log_;
    const auto factory = MakeClassFactory([log](REFIID riid, void** ppv) -> HRESULT {
        if (ppv == nullptr)
            return E_POINTER;
        *ppv = nullptr;
        return MakeObject<TestControl>(log)->QueryInterface(riid, ppv);
    });
    const CLSID clsid = NextTestClsid();
    CoRegisterClassObject(clsid, factory.Get(), CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie_);
    RegisterProgID(progId_, clsid);
}

TestControlRegistration::~TestControlRegistration() {
    UnregisterProgID(progId_);
    CoRevokeClassObject(cookie_);
}

} // namespace zorv::testing
