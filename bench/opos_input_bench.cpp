// One input event from injection to the sink: a label injected into a
// simulated scanner through DirectIO, queued, posted to the apartment and
// fired as DataEvent on an advised sink that re-arms data events, as an
// application does in its handler.
#include <benchmark/benchmark.h>

#include "opos_bench_sink.h"
#include "outside/late_bound.h"
#include "platform/com/apartment.h"

using namespace zorv::com;
using zorv::bench::CountingSink;
using zorv::outside::Arg;

namespace {

void ScanToSink(benchmark::State& state) {
    CoInitialize(nullptr);
    {
        ComPtr<IDispatch> scanner = zorv::bench::CreateDevice(u"OPOS.Scanner");
        ComPtr<CountingSink> sink;
        if (!scanner || !zorv::bench::Advise(scanner.Get(), sink)) {
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
