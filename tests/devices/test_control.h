#pragma once
// A control object that tests register under any ProgID to play a device:
// it can be told to lack or misbehave in every way the host must survive,
// records every late-bound call, and fires any event with any arguments.
#include <functional>
#include <map>
#include <optional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/com/com_object.h"
#include "platform/com/connection_points.h"
#include "platform/com/variant_value.h"

namespace zorv::testing {

inline constexpr IID kTestEventsIid = {0x7E57E7E5, 0x0001, 0x4000, {0x80, 0, 0, 0, 0, 0, 0, 0x01}};

struct RecordedCall {
    std::u16string member;
    WORD flags;
    std::vector<com::Variant> args; // natural order, by-reference ones dereferenced
    bool firstArgByRef = false;
};

class TestControl;

struct TestControlBehaviour {
    bool noContainer = false;
    bool noPoints = false;
    bool notifyPointFirst = false;
    bool refuseAdvise = false;
    bool refuseFindPoint = false; // teardown then cannot find the point to unadvise
    bool askSiteFirst = false; // OLEMISC_SETCLIENTSITEFIRST
    HRESULT miscStatusResult = S_OK;
    HRESULT initNewResult = S_OK;
    HRESULT extentResult = S_OK;
    HRESULT getClientSiteResult = S_OK;
    bool noDispatch = false;
    bool noOleControl = false;
    bool noPersist = false;
    SIZEL extent{2540, 1270};
    std::set<std::u16string> missingMembers;
    // Members whose calls fail with DISP_E_EXCEPTION and this description.
    std::map<std::u16string, std::u16string> failingMembers;
    // Any call for which this answers a description fails with it.
    std::function<std::optional<std::u16string>(const RecordedCall&)> failWhen;
    // Runs inside every call, after it was recorded (to fire an event from within a read, say).
    std::function<void(TestControl&, const RecordedCall&)> duringCall;
};


class TestControl;

// What a test sees of the objects it made: behaviour before creation,
// everything that happened after.
struct TestControlLog {
    TestControlBehaviour behaviour;
    std::vector<std::string> hostingCalls; // "SetClientSite", "InitNew", "Close(1)", ...
    std::vector<RecordedCall> calls;
    std::map<std::u16string, com::Variant> properties;
    int created = 0;
    int alive = 0;
    TestControl* last = nullptr;
    bool siteHeld = false;
};

class TestControl final : public com::ComObject<IOleObject, IPersistStreamInit, IOleControl,
                                                IConnectionPointContainer, IDispatch> {
public:
    explicit TestControl(std::shared_ptr<TestControlLog> log);
    ~TestControl() override;

    // Fires an event on every sink advised on the event point, arguments in
    // natural order, then frees them.
    HRESULT Fire(DISPID id, std::vector<VARIANT> args);
    std::size_t EventSinkCount();
    IOleClientSite* Site() const { return site_.Get(); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;

    // IOleObject
    HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* pClientSite) override;
    HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** ppClientSite) override;
    HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Close(DWORD dwSaveOption) override;
    HRESULT STDMETHODCALLTYPE SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DoVerb(LONG, LPMSG, IOleClientSite*, LONG, HWND, LPCRECT) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Update() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE IsUpToDate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetUserType(DWORD, LPOLESTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetExtent(DWORD, SIZEL*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetExtent(DWORD dwDrawAspect, SIZEL* psizel) override;
    HRESULT STDMETHODCALLTYPE Advise(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD dwAspect, DWORD* pdwStatus) override;
    HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

    // IPersistStreamInit
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE IsDirty() override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE Load(LPSTREAM) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Save(LPSTREAM, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InitNew() override;

    // IOleControl
    HRESULT STDMETHODCALLTYPE GetControlInfo(CONTROLINFO*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnMnemonic(MSG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnAmbientPropertyChange(DISPID dispID) override;
    HRESULT STDMETHODCALLTYPE FreezeEvents(BOOL) override { return S_OK; }

    // IConnectionPointContainer
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** ppEnum) override;
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) override;

    // IDispatch: any name but the missing ones; gets read `properties`, puts write them.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pctinfo) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* rgszNames, UINT cNames, LCID,
                                            DISPID* rgDispId) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID dispIdMember, REFIID, LCID, WORD wFlags, DISPPARAMS* pDispParams,
                                     VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT*) override;

protected:
    HRESULT QueryOtherInterface(REFIID riid, void** ppv) override;

private:
    std::shared_ptr<TestControlLog> log_;
    com::ComPtr<IOleClientSite> site_;
    com::ConnectionPoints points_{*this};
    com::ConnectionPoint* events_ = nullptr;
    std::vector<std::u16string> names_; // dispid - 1
};

// Registers a class that makes TestControls under `progId` for the
// lifetime of the object; the ProgID takes precedence over installed components.
class TestControlRegistration {
public:
    explicit TestControlRegistration(std::u16string progId);
    ~TestControlRegistration();
    TestControlRegistration(const TestControlRegistration&) = delete;
    TestControlRegistration& operator=(const TestControlRegistration&) = delete;

    TestControlLog& Log() { return *log_; }
    const std::u16string& ProgId() const { return progId_; }
    TestControl* Last() { return log_->last; }

private:
    std::u16string progId_;
    std::shared_ptr<TestControlLog> log_;
    DWORD cookie_ = 0;
};

} // namespace zorv::testing
