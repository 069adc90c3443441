// "Scripting.Dictionary": a million adds then a million lookups, from a
// script as users write them and from C++ by dispatch identifier (the
// dictionary's own share of the time).
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "outside/late_bound.h"
#include "platform/com/apartment.h"
#include "platform/com/class_table.h"

using namespace zorv::com;
using namespace zorv::outside;

namespace {

constexpr LONG kCount = 1000000;

ComPtr<IDispatch> Create(const char16_t* progId) {
    CLSID clsid;
    ComPtr<IDispatch> object;
    if (FAILED(CLSIDFromProgID(progId, &clsid)) ||
        FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                object.ReleaseAndGetVoidAddress())))
        return {};
    return object;
}

DISPID IdOf(IDispatch* object, const char16_t* name) {
    std::u16string text(name);
    LPOLESTR names[] = {text.data()};
    DISPID id = DISPID_UNKNOWN;
    object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    return id;
}

HRESULT InvokeWith(IDispatch* object, DISPID id, WORD flags, VARIANT* args, UINT count, VARIANT* result) {
    DISPPARAMS params{args, nullptr, count, 0};
    return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, nullptr, nullptr);
}

std::vector<Variant> Keys(bool text) {
    std::vector<Variant> keys;
    keys.reserve(kCount);
    for (LONG i = 0; i < kCount; ++i) {
        const std::string digits = "k" + std::to_string(i);
        keys.push_back(text ? Variant(std::u16string(digits.begin(), digits.end())) : Variant(LONG{i}));
    }
    return keys;
}

void AddAndLookUpByDispatch(benchmark::State& state, bool textKeys) {
    const std::vector<Variant> keys = Keys(textKeys);
    for (auto _ : state) {
        ComPtr<IDispatch> dictionary = Create(u"Scripting.Dictionary");
        if (!dictionary) {
            state.SkipWithError("Scripting.Dictionary is not registered");
            return;
        }
        const DISPID add = IdOf(dictionary.Get(), u"Add");
        for (LONG i = 0; i < kCount; ++i) {
            // Last argument first; shallow views of values the caller keeps.
            VARIANT args[2] = {Variant(LONG{i}).Detach(), keys[i]};
            InvokeWith(dictionary.Get(), add, DISPATCH_METHOD, args, 2, nullptr);
        }
        for (LONG i = 0; i < kCount; ++i) {
            VARIANT arg = keys[i];
            Variant item;
            InvokeWith(dictionary.Get(), DISPID_VALUE, DISPATCH_PROPERTYGET, &arg, 1, item.Raw());
            benchmark::DoNotOptimize(item.lVal);
        }
    }
    state.SetItemsProcessed(state.iterations() * 2 * kCount);
}
BENCHMARK_CAPTURE(AddAndLookUpByDispatch, NumberKeys, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(AddAndLookUpByDispatch, TextKeys, true)->Unit(benchmark::kMillisecond);

// The same from VBScript, engine included.
void AddAndLookUpFromScript(benchmark::State& state) {
    CLSID clsid;
    ComPtr<IDispatch> control;
    if (FAILED(CLSIDFromProgID(u"ScriptControl", &clsid)) ||
        FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                control.ReleaseAndGetVoidAddress()))) {
        state.SkipWithError("ScriptControl is not registered");
        return;
    }
    PutProperty(control.Get(), u"Language", u"VBScript");
    PutProperty(control.Get(), u"Timeout", LONG{-1}); // no limit: profilers run it slowly
    CallMethod(control.Get(), u"AddCode",
               {u"Function Go\n Dim d, i, s\n Set d = CreateObject(\"Scripting.Dictionary\")\n"
                u" For i = 1 To 1000000\n  d.Add i, i\n Next\n"
                u" For i = 1 To 1000000\n  s = s + d(i)\n Next\n Go = s\nEnd Function"});
    for (auto _ : state)
        benchmark::DoNotOptimize(CallMethod(control.Get(), u"Run", {u"Go"}));
    state.SetItemsProcessed(state.iterations() * 2 * kCount);
}
BENCHMARK(AddAndLookUpFromScript)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    CoInitialize(nullptr);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    CoUninitialize();
    return 0;
}
