// One input event from injection to the sink: a label injected into a
// simulated scanner through DirectIO, queued, posted to the apartment and
// fired as DataEvent on an advised sink that re-arms data events, as an
// application does in its handler.
#include <benchmark/benchmark.h>

#include "outside/late_bound.h"
#include "platform/com/apartment.h"
#include "platform/com/class_table.h"
#include "platform/com/com_object.h"
#include "platform/com/connection.h"

using namespace zorv::com;
using zorv::outside::Arg;

namespace {

class CountingSink final : public ComObject<IDispatch> {
public:
    explicit CountingSink(const IID& events) : events_(events) {}

    LONG received = 0;

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        if (id == 1)
            ++received;
        return S_OK;
    }

protected:
    HRESULT QueryOtherInterface(REFIID riid, void** ppv) override {
        if (!IsEqualIID(riid, events_))
            return E_NOINTERFACE;
        *ppv = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }

private:
    IID events_;
};

ComPtr<IDispatch> CreateScanner() {
    CLSID clsid{};
    ComPtr<IDispatch> scanner;
    if (FAILED(CLSIDFromProgID(u"OPOS.Scanner", &clsid)) ||
        FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                scanner.ReleaseAndGetVoidAddress())))
        return {};
    return scanner;
}

bool Advise(IDispatch* device, ComPtr<CountingSink>& sink) {
    ComPtr<IConnectionPointContainer> container;
    ComPtr<IEnumConnectionPoints> points;
    ComPtr<IConnectionPoint> first;
    IID events{};
    DWORD cookie = 0;
    if (FAILED(device->QueryInterface(IID_IConnectionPointContainer, container.ReleaseAndGetVoidAddress())) ||
        FAILED(container->EnumConnectionPoints(points.ReleaseAndGetAddressOf())) ||
        points->Next(1, first.ReleaseAndGetAddressOf(), nullptr) != S_OK ||
        FAILED(first->GetConnectionInterface(&events)))
        return false;
    sink = MakeObject<CountingSink>(events);
    return SUCCEEDED(first->Advise(static_cast<IDispatch*>(sink.Get()), &cookie));
}

void ScanToSink(benchmark::State& state) {
    CoInitialize(nullptr);
    {
        ComPtr<IDispatch> scanner = CreateScanner();
        ComPtr<CountingSink> sink;
        if (!scanner || !Advise(scanner.Get(), sink)) {
            state.SkipWithError("OPOS.Scanner is not registered");
        } else {
            zorv::outside::CallMethod(scanner.Get(), u"Open", {u"SimScanner"});
            zorv::outside::CallMethod(scanner.Get(), u"ClaimDevice", {LONG{1000}});
            zorv::outside::PutProperty(scanner.Get(), u"DeviceEnabled", true);
            for (auto _ : state) {
                zorv::outside::PutProperty(scanner.Get(), u"DataEventEnabled", true);
                LONG data = 0;
                Bstr label(u"12345670");
                zorv::outside::CallMethod(scanner.Get(), u"DirectIO",
                                          {LONG{1}, Arg::Ref(data), Arg::Ref(label)});
                DrainPostedCalls();
            }
            if (sink->received != static_cast<LONG>(state.iterations()))
                state.SkipWithError("not every label reached the sink");
            zorv::outside::CallMethod(scanner.Get(), u"Close");
        }
    }
    CoUninitialize();
}
BENCHMARK(ScanToSink);

} // namespace

BENCHMARK_MAIN();
