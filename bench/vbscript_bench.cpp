// The script engine's speed, through the "ScriptControl" component as the
// program uses it: numeric loop, string building, procedure calls, and
// late-bound property reads on a simulated device.
#include <benchmark/benchmark.h>

#include <exception>
#include <iostream>

#include "outside/late_bound.h"
#include "platform/com/apartment.h"
#include "platform/com/class_table.h"

using namespace zorv::com;
using namespace zorv::outside;

namespace {

ComPtr<IDispatch> EngineWith(const char16_t* code) {
    CLSID clsid;
    ComPtr<IDispatch> control;
    if (FAILED(CLSIDFromProgID(u"ScriptControl", &clsid)) ||
        FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, control.ReleaseAndGetVoidAddress())))
        return {};
    PutProperty(control.Get(), u"Language", u"VBScript");
    CallMethod(control.Get(), u"AddCode", {code});
    return control;
}

void Run(benchmark::State& state, const char16_t* code, const char16_t* procedure, std::int64_t items) {
    ComPtr<IDispatch> control = EngineWith(code);
    if (!control) {
        state.SkipWithError("ScriptControl is not registered");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(CallMethod(control.Get(), u"Run", {procedure}));
    state.SetItemsProcessed(state.iterations() * items);
}

void NumericLoop(benchmark::State& state) {
    Run(state,
        u"Function Sum\n Dim i, s\n s = 0\n For i = 1 To 10000000\n  s = s + i\n Next\n Sum = s\nEnd Function",
        u"Sum", 10000000);
}
BENCHMARK(NumericLoop)->Unit(benchmark::kMillisecond);

void GlobalNumericLoop(benchmark::State& state) {
    Run(state, u"Dim i, s\nSub Sum\n s = 0\n For i = 1 To 10000000\n  s = s + i\n Next\nEnd Sub", u"Sum", 10000000);
}
BENCHMARK(GlobalNumericLoop)->Unit(benchmark::kMillisecond);

void StringBuilding(benchmark::State& state) {
    Run(state,
        u"Function Build\n Dim i, s\n For i = 1 To 200000\n  s = s & \"x\"\n Next\n Build = Len(s)\nEnd Function",
        u"Build", 200000);
}
BENCHMARK(StringBuilding)->Unit(benchmark::kMillisecond);

void RecursiveFib25(benchmark::State& state) {
    Run(state,
        u"Function Fib(n)\n If n < 2 Then\n  Fib = n\n Else\n  Fib = Fib(n - 1) + Fib(n - 2)\n End If\nEnd Function\n"
        u"Function Go\n Go = Fib(25)\nEnd Function",
        u"Go", 242785);
}
BENCHMARK(RecursiveFib25)->Unit(benchmark::kMillisecond);

void DevicePropertyGet(benchmark::State& state) {
    Run(state,
        u"Dim Scanner\nSet Scanner = CreateObject(\"OPOS.Scanner\")\nScanner.Open \"SimScanner\"\n"
        u"Function Read\n Dim i, x\n For i = 1 To 10000\n  x = Scanner.State\n Next\n Read = x\nEnd Function",
        u"Read", 10000);
}
BENCHMARK(DevicePropertyGet)->Unit(benchmark::kMillisecond);

int Main(int argc, char** argv) {
    CoInitialize(nullptr);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    CoUninitialize();
    return 0;
}

} // namespace

// What a benchmark throws is reported, never left to abort the run.
int main(int argc, char** argv) {
    try {
        return Main(argc, argv);
    } catch (const std::exception& error) {
        std::cerr << "benchmark: " << error.what() << std::endl;
    } catch (...) {
        std::cerr << "benchmark: unexpected exception" << std::endl;
    }
    return 1;
}
