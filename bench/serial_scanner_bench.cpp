// A real scanner's label end to end: bytes written on the master side of a
// pseudo-terminal (the scanner's serial line) until the OPOS scanner open on
// the slave fires DataEvent on an advised sink. The profile file beside the
// component is written for the run and removed after it. Each label's own
// latency is kept; the median and the 99th percentile are counters (µs).
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <vector>

#include "outside/late_bound.h"
#include "platform/com/apartment.h"
#include "platform/com/class_table.h"
#include "platform/com/com_object.h"
#include "platform/com/connection.h"

using namespace zorv::com;

namespace {

using Clock = std::chrono::steady_clock;

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

ComPtr<IDispatch> CreateScanner() {
    CLSID clsid{};
    ComPtr<IDispatch> scanner;
    if (FAILED(CLSIDFromProgID(u"OPOS.Scanner", &clsid)) ||
        FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                scanner.ReleaseAndGetVoidAddress())))
        return {};
    return scanner;
}

class ProfileForRun {
public:
    explicit ProfileForRun(const std::string& text) {
        std::ofstream file(path_, std::ios::binary);
        file << text;
    }
    ~ProfileForRun() { std::filesystem::remove(path_); }

private:
    std::filesystem::path path_ = std::filesystem::path(ZORV_COMPONENTS_DIR) / "zorv_opos.profiles";
};

void Measure(benchmark::State& state, IDispatch* scanner, CountingSink& sink, int master) {
    static const std::string kLabel = "]E05901234123457\r";
    std::vector<double> micros;
    for (auto _ : state) {
        zorv::outside::PutProperty(scanner, u"DataEventEnabled", true);
        const LONG before = sink.received;
        const Clock::time_point start = Clock::now();
        if (write(master, kLabel.data(), kLabel.size()) != static_cast<ssize_t>(kLabel.size()) ||
            !WaitPumping([&] { return sink.received > before; }, std::chrono::seconds(1)))
            return state.SkipWithError("a label did not reach the sink");
        micros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    std::sort(micros.begin(), micros.end());
    state.counters["median_us"] = micros[micros.size() / 2];
    state.counters["p99_us"] = micros[micros.size() * 99 / 100];
}

void SerialLabelToDataEvent(benchmark::State& state) {
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0)
        return state.SkipWithError("no pseudo-terminal");
    CoInitialize(nullptr);
    {
        ProfileForRun profile("[BenchSerialScanner]\nkind = Scanner\nconnection = serial:" +
                              std::string(ptsname(master)) + "\nsuffix = CR\nprefix = aim\n");
        ComPtr<IDispatch> scanner = CreateScanner();
        ComPtr<CountingSink> sink;
        if (!scanner || !Advise(scanner.Get(), sink)) {
            state.SkipWithError("OPOS.Scanner is not registered");
        } else {
            zorv::outside::CallMethod(scanner.Get(), u"Open", {u"BenchSerialScanner"});
            zorv::outside::CallMethod(scanner.Get(), u"ClaimDevice", {LONG{1000}});
            zorv::outside::PutProperty(scanner.Get(), u"DeviceEnabled", true);
            zorv::outside::PutProperty(scanner.Get(), u"DecodeData", true);
            Measure(state, scanner.Get(), *sink, master);
            zorv::outside::CallMethod(scanner.Get(), u"Close");
        }
    }
    DrainPostedCalls();
    CoUninitialize();
    close(master);
}
BENCHMARK(SerialLabelToDataEvent)->UseRealTime();

} // namespace

