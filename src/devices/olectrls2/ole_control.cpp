#include "devices/olectrls2/ole_control.h"

#include "devices/olectrls2/control_site.h"
#include "devices/olectrls2/event_dispatch.h"
#include "devices/olectrls2/handler_slot.h"
#include "outside/error_report.h"
#include "outside/ole_error.h"
#include "platform/com/class_table.h"
#include "platform/com/connection.h"
#include "platform/com/variant_value.h"

namespace zorv::devices {
namespace {

constexpr int kScreenDpi = 96;
constexpr LONG kHimetricPerInch = 2540;

// Identifiers of the standard mouse, key and click events, which go to the
// host's own notifications rather than to handler slots.
constexpr DISPID kFirstStandardEvent = -607;
constexpr DISPID kLastStandardEvent = -600;

LONG MulDiv(LONG value, LONG numerator, LONG denominator) {
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return static_cast<LONG>(product >= 0 ? (product + half) / denominator : (product - half) / denominator);
}

} // namespace

int HimetricToPixels(LONG himetric) {
    return MulDiv(himetric, kScreenDpi, kHimetricPerInch);
}

LONG PixelsToHimetric(int pixels) {
    return MulDiv(pixels, kHimetricPerInch, kScreenDpi);
}

void ConnectFirstPoint(IUnknown* object, IUnknown* sink, DWORD& cookie) {
    cookie = 0;
    com::ComPtr<IConnectionPointContainer> container;
    if (FAILED(object->QueryInterface(IID_IConnectionPointContainer, container.ReleaseAndGetVoidAddress())) ||
        !container)
        return;
    com::ComPtr<IEnumConnectionPoints> points;
    if (FAILED(container->EnumConnectionPoints(points.ReleaseAndGetAddressOf())) || !points)
        return;
    com::ComPtr<IConnectionPoint> first;
    ULONG fetched = 0;
    if (points->Next(1, first.ReleaseAndGetAddressOf(), &fetched) != S_OK || fetched != 1 || !first)
        return;
    DWORD connection = 0;
    if (SUCCEEDED(first->Advise(sink, &connection)))
        cookie = connection;
}

TOleControl::TOleControl(TComponent* owner) : TComponent(owner) {
    FSite = new TOleControlSite(this);
}

void TOleControl::Construct() {
    FillControlDescriptor();
    ++FControlData->InstanceCount;
    FEventDispatch = new TEventDispatch(this);
    com::ComPtr<IOleObject> object;
    outside::CheckResult(com::CreateInstance(FControlData->ClassId,
                                             CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IOleObject,
                                             object.ReleaseAndGetVoidAddress()));
    if (!object)
        outside::CheckResult(E_NOINTERFACE);
    FOleObject = object;
    InitControlObject(FOleObject.Get());
    outside::CheckResult(FOleObject->GetMiscStatus(DVASPECT_CONTENT, &FMiscStatus));
    const std::uint32_t options = FControlData->SiteOptions;
    if ((options & kSiteOptionNeverAtConstruction) == 0 &&
        ((FMiscStatus & OLEMISC_SETCLIENTSITEFIRST) != 0 || (options & kSiteOptionSetFirst) != 0))
        outside::CheckResult(FOleObject->SetClientSite(FSite));
    outside::CheckResult(
        FOleObject->QueryInterface(IID_IPersistStreamInit, FPersistStream.ReleaseAndGetVoidAddress()));
    FVisible = (FMiscStatus & OLEMISC_INVISIBLEATRUNTIME) == 0;
    ApplyExtent();
}

void TOleControl::InitControlObject(IUnknown*) {}

void TOleControl::ApplyExtent() {
    SIZEL extent{0, 0};
    outside::CheckResult(FOleObject->GetExtent(DVASPECT_CONTENT, &extent));
    FWidth = HimetricToPixels(extent.cx);
    FHeight = HimetricToPixels(extent.cy);
}

com::ComPtr<IDispatch> TOleControl::DeviceObject() {
    if (!FOleControl)
        SetUp();
    return FControlDispatch;
}

void TOleControl::SetUp() {
    if (!FOleObject)
        outside::CheckResult(E_UNEXPECTED);
    try {
        com::ComPtr<IOleClientSite> site;
        HRESULT asked = E_FAIL;
        try {
            asked = FOleObject->GetClientSite(site.ReleaseAndGetAddressOf());
        } catch (...) {
            asked = E_FAIL;
        }
        if (FAILED(asked) || !site)
            outside::CheckResult(FOleObject->SetClientSite(FSite));
        outside::CheckResult(FPersistStream->InitNew());
        outside::CheckResult(
            FOleObject->QueryInterface(IID_IOleControl, FOleControl.ReleaseAndGetVoidAddress()));
        outside::CheckResult(
            FOleObject->QueryInterface(IID_IDispatch, FControlDispatch.ReleaseAndGetVoidAddress()));
        if (!FOleControl || !FControlDispatch)
            outside::CheckResult(E_NOINTERFACE);
        ConnectFirstPoint(FOleObject.Get(), static_cast<IPropertyNotifySink*>(FSite), FPropConnection);
        ConnectFirstPoint(FOleObject.Get(), FEventDispatch, FEventsConnection);
        // No device control declares standard properties to pull (Flags is 0).
        FOleControl->OnAmbientPropertyChange(DISPID_UNKNOWN);
        try {
            ApplyExtent();
        } catch (...) {
            // Its result is ignored.
        }
    } catch (...) {
        DisconnectEvents();
        throw;
    }
}

void TOleControl::DisconnectPoint(DWORD& cookie, const IID& iid) {
    if (cookie == 0 || !FOleObject)
        return;
    com::ComPtr<IConnectionPointContainer> container;
    if (FAILED(FOleObject->QueryInterface(IID_IConnectionPointContainer,
                                          container.ReleaseAndGetVoidAddress())) ||
        !container)
        return;
    com::ComPtr<IConnectionPoint> point;
    if (FAILED(container->FindConnectionPoint(iid, point.ReleaseAndGetAddressOf())) || !point)
        return;
    if (SUCCEEDED(point->Unadvise(cookie)))
        cookie = 0;
}

void TOleControl::DisconnectEvents() {
    if (FControlData != nullptr)
        DisconnectPoint(FEventsConnection, FControlData->EventIid);
    DisconnectPoint(FPropConnection, IID_IPropertyNotifySink);
    FControlDispatch.Reset();
    FOleControl.Reset();
}

TOleControl::~TOleControl() {
    if (FOleObject)
        FOleObject->Close(OLECLOSE_NOSAVE);
    DisconnectEvents();
    FPersistStream.Reset();
    if (FOleObject)
        FOleObject->SetClientSite(nullptr);
    FOleObject.Reset();
    if (FEventDispatch != nullptr)
        FEventDispatch->Detach();
    FSite->Detach();
    if (FControlData != nullptr && --FControlData->InstanceCount == 0)
        FControlData->PropertyDescriptions.clear();
}

void TOleControl::RouteEvent(DISPID dispId, DISPPARAMS& params) {
    if (dispId >= kFirstStandardEvent && dispId <= kLastStandardEvent)
        return; // mouse, key and click notifications: nothing here listens to them
    const TControlDescriptor* data = FControlData;
    if (data == nullptr || data->EventDispIds == nullptr || data->FirstHandlerSlot == nullptr)
        return;
    for (std::int32_t i = 0; i < data->EventCount; ++i) {
        if (data->EventDispIds[i] != dispId)
            continue;
        const HandlerSlotBase* slot = data->FirstHandlerSlot[i];
        if (slot == nullptr || !slot->Assigned())
            return;
        try {
            slot->Invoke(this, params);
        } catch (...) {
            outside::ReportCurrentException();
        }
        return;
    }
}

HRESULT TOleControl::OnChanged(DISPID dispId) {
    if (!FControlDispatch)
        return S_OK;
    // Reads the new value of one standard property and applies it here; a
    // change that comes back while it is being applied is ignored.
    auto pull = [&](bool& updating, auto apply) {
        if (updating)
            return;
        updating = true;
        com::Variant value;
        DISPPARAMS none{nullptr, nullptr, 0, 0};
        if (SUCCEEDED(FControlDispatch->Invoke(dispId, IID_NULL, GetUserDefaultLCID(), DISPATCH_PROPERTYGET,
                                               &none, value.Raw(), nullptr, nullptr)))
            apply(value);
        updating = false;
    };
    switch (dispId) {
    case DISPID_ENABLED:
        pull(FUpdatingEnabled, [&](const com::Variant& v) {
            bool enabled = true;
            if (SUCCEEDED(v.ToBool(enabled)))
                FEnabled = enabled;
        });
        break;
    case DISPID_FORECOLOR:
        pull(FUpdatingFont, [&](const com::Variant& v) { v.ToLong(FFontColor); });
        break;
    case DISPID_BACKCOLOR:
        pull(FUpdatingColor, [&](const com::Variant& v) { v.ToLong(FColor); });
        break;
    case DISPID_FONT:
        pull(FUpdatingFont, [](const com::Variant&) {}); // no visible area, no font to apply
        break;
    default:
        break;
    }
    return S_OK;
}

HRESULT TOleControl::OnRequestEdit(DISPID) {
    return S_OK;
}

} // namespace zorv::devices
