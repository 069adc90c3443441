// One device event routed from the control object's connection point,
// through the host's sink, to a handler slot.
#include <benchmark/benchmark.h>

#include "devices/device_controls.h"
#include "devices/test_control.h"
#include "platform/com/apartment.h"

using namespace zorv::devices;
using namespace zorv::testing;

namespace {

void EventToHandlerSlot(benchmark::State& state) {
    CoInitialize(nullptr);
    {
        TestControlRegistration registration(u"OPOS.Scanner");
        TComponent owner(nullptr);
        auto* scanner = TOleControl::Create<TZORVScanner>(&owner);
        LONG received = 0;
        scanner->OnDataEvent.Bind([&](TOleControl*, LONG status) { received += status; });
        scanner->DeviceObject();
        TestControl* object = registration.Last();
        for (auto _ : state) {
            VARIANT status;
            status.vt = VT_I4;
            status.lVal = 1;
            object->Fire(1, {status});
        }
        benchmark::DoNotOptimize(received);
    }
    CoUninitialize();
}
BENCHMARK(EventToHandlerSlot);

} // namespace
