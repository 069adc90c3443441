#include "opos_bench_sink.h"

#include "platform/com/class_table.h"

namespace zorv::bench {

HRESULT STDMETHODCALLTYPE CountingSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*,
                                               EXCEPINFO*, UINT*) {
    if (id == 1)
        ++received;
    return S_OK;
}

HRESULT CountingSink::QueryOtherInterface(REFIID riid, void** ppv) {
    if (!IsEqualIID(riid, events_))
        return E_NOINTERFACE;
    *ppv = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
}

com::ComPtr<IDispatch> CreateDevice(const char16_t* progId) {
    CLSID clsid{};
    com::ComPtr<IDispatch> device;
    if (FAILED(CLSIDFromProgID(progId, &clsid)) ||
        FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                device.ReleaseAndGetVoidAddress())))
        return {};
    return device;
}

bool Advise(IDispatch* device, com::ComPtr<CountingSink>& sink) {
    com::ComPtr<IConnectionPointContainer> container;
    com::ComPtr<IEnumConnectionPoints> points;
    com::ComPtr<IConnectionPoint> first;
    IID events{};
    DWORD cookie = 0;
    if (FAILED(device->QueryInterface(IID_IConnectionPointContainer, container.ReleaseAndGetVoidAddress())) ||
        FAILED(container->EnumConnectionPoints(points.ReleaseAndGetAddressOf())) ||
        points->Next(1, first.ReleaseAndGetAddressOf(), nullptr) != S_OK ||
        FAILED(first->GetConnectionInterface(&events)))
        return false;
    sink = com::MakeObject<CountingSink>(events);
    return SUCCEEDED(first->Advise(static_cast<IDispatch*>(sink.Get()), &cookie));
}

} // namespace zorv::bench
