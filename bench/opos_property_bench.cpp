// One late-bound property read (name lookup, then Invoke) on a simulated
// POS printer created through the class table, as a refresh of the
// printer's catalogue makes 82 of them.
#include <benchmark/benchmark.h>

#include "outside/late_bound.h"
#include "platform/com/apartment.h"
#include "platform/com/class_table.h"

using namespace zorv::com;

namespace {

void OposPrinterPropertyRead(benchmark::State& state) {
    CoInitialize(nullptr);
    {
        CLSID clsid{};
        ComPtr<IDispatch> printer;
        if (FAILED(CLSIDFromProgID(u"OPOS.POSPrinter", &clsid)) ||
            FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                    printer.ReleaseAndGetVoidAddress()))) {
            state.SkipWithError("OPOS.POSPrinter is not registered");
        } else {
            zorv::outside::CallMethod(printer.Get(), u"Open", {u"SimPrinter"});
            for (auto _ : state) {
                Variant value = zorv::outside::GetProperty(printer.Get(), u"CapRecNearEndSensor");
                benchmark::DoNotOptimize(value.boolVal);
            }
        }
    }
    CoUninitialize();
}
BENCHMARK(OposPrinterPropertyRead);

} // namespace
