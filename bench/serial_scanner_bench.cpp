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

#include "opos_bench_sink.h"
#include "outside/late_bound.h"
#include "platform/com/apartment.h"

using namespace zorv::com;
using zorv::bench::CountingSink;

namespace {

using Clock = std::chrono::steady_clock;

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
        ComPtr<IDispatch> scanner = zorv::bench::CreateDevice(u"OPOS.Scanner");
        ComPtr<CountingSink> sink;
        if (!scanner || !zorv::bench::Advise(scanner.Get(), sink)) {
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
