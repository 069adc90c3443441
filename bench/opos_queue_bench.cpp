// What a device costs while nobody takes its input, and what Open costs with
// a large profile file: labels queued while DataEventEnabled is false (by
// DirectIO on a simulated scanner, and 65,000-character labels on a serial
// scanner's pseudo-terminal, with the process's peak memory), and Open and
// Close of a device named in a 1 MB profile file of 48,000 sections. The
// profile file beside the component is written for the run and removed after.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "opos_bench_sink.h"
#include "outside/late_bound.h"
#include "platform/com/apartment.h"

using namespace zorv::com;
using zorv::outside::Arg;

namespace {

const std::filesystem::path kProfileFile = std::filesystem::path(ZORV_COMPONENTS_DIR) / "zorv_opos.profiles";

class ProfileForRun {
public:
    explicit ProfileForRun(const std::string& text) { std::ofstream(kProfileFile, std::ios::binary) << text; }
    ~ProfileForRun() { std::filesystem::remove(kProfileFile); }
};

LONG Long(IDispatch* device, const char16_t* name) {
    return zorv::outside::GetProperty(device, name).lVal;
}

double PeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// state.range(0) labels injected while data events are off.
void QueuedWhileDisabled(benchmark::State& state) {
    CoInitialize(nullptr);
    {
        ComPtr<IDispatch> scanner = zorv::bench::CreateDevice(u"OPOS.Scanner");
        for (auto _ : state) {
            zorv::outside::CallMethod(scanner.Get(), u"Open", {u"SimScanner"});
            zorv::outside::CallMethod(scanner.Get(), u"ClaimDevice", {LONG{1000}});
            zorv::outside::PutProperty(scanner.Get(), u"DeviceEnabled", true);
            for (int64_t i = 0; i < state.range(0); ++i) {
                LONG data = 0;
                Bstr label(u"12345670");
                zorv::outside::CallMethod(scanner.Get(), u"DirectIO",
                                          {LONG{1}, Arg::Ref(data), Arg::Ref(label)});
            }
            DrainPostedCalls();
            state.counters["queued"] = Long(scanner.Get(), u"DataCount");
            zorv::outside::CallMethod(scanner.Get(), u"Close");
        }
    }
    CoUninitialize();
}
BENCHMARK(QueuedWhileDisabled)->Arg(80000)->Arg(200000)->Unit(benchmark::kMillisecond)->Iterations(1);

// 1,000 labels of 65,000 characters on a serial line, none taken.
void BigLabelsQueued(benchmark::State& state) {
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0)
        return state.SkipWithError("no pseudo-terminal");
    CoInitialize(nullptr);
    {
        ProfileForRun profile("[BenchBigScanner]\nkind = Scanner\nconnection = serial:" +
                              std::string(ptsname(master)) + "\nsuffix = CR\nmax_length = 65536\n");
        ComPtr<IDispatch> scanner = zorv::bench::CreateDevice(u"OPOS.Scanner");
        const std::string label = std::string(65000, '7') + "\r";
        for (auto _ : state) {
            zorv::outside::CallMethod(scanner.Get(), u"Open", {u"BenchBigScanner"});
            zorv::outside::CallMethod(scanner.Get(), u"ClaimDevice", {LONG{1000}});
            zorv::outside::PutProperty(scanner.Get(), u"DeviceEnabled", true);
            std::atomic<bool> written{false};
            std::thread writer([&] {
                for (int i = 0; i < 1000; ++i)
                    for (std::size_t at = 0; at < label.size();) {
                        const ssize_t n = write(master, label.data() + at, label.size() - at);
                        at += n > 0 ? static_cast<std::size_t>(n) : 0;
                    }
                written = true;
            });
            // Pumped until the line has been quiet for half a second after the last label.
            auto quietSince = std::chrono::steady_clock::now();
            while (!written ||
                   std::chrono::steady_clock::now() - quietSince < std::chrono::milliseconds(500)) {
                if (DrainPostedCalls() > 0 || !written)
                    quietSince = std::chrono::steady_clock::now();
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
            writer.join();
            state.counters["queued"] = Long(scanner.Get(), u"DataCount");
            state.counters["peak_MB"] = PeakMegabytes();
            zorv::outside::CallMethod(scanner.Get(), u"Close");
        }
    }
    DrainPostedCalls();
    CoUninitialize();
    close(master);
}
BENCHMARK(BigLabelsQueued)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

// A profile file of 48,000 sections (1 MB), the device opened the last one.
std::string LargeProfileText() {
    std::string text;
    for (int i = 0; i < 48000; ++i)
        text += "[D" + std::to_string(i) + "]\nkind = MSR\n";
    return text;
}

// Open and Close with that file unchanged since it settled: read once.
void OpenWithALargeProfileFile(benchmark::State& state) {
    const std::string text = LargeProfileText();
    ProfileForRun profile(text);
    std::this_thread::sleep_for(std::chrono::seconds(3)); // older than the file clock can tell apart
    CoInitialize(nullptr);
    {
        ComPtr<IDispatch> msr = zorv::bench::CreateDevice(u"OPOS.MSR");
        for (auto _ : state) {
            zorv::outside::CallMethod(msr.Get(), u"Open", {u"D47999"});
            zorv::outside::CallMethod(msr.Get(), u"Close");
        }
        state.counters["bytes"] = static_cast<double>(text.size());
    }
    DrainPostedCalls();
    CoUninitialize();
}
BENCHMARK(OpenWithALargeProfileFile)->Unit(benchmark::kMillisecond);

// The same file written again before each Open: read and parsed each time.
void OpenAfterTheLargeProfileFileChanged(benchmark::State& state) {
    const std::string text = LargeProfileText();
    ProfileForRun profile(text);
    CoInitialize(nullptr);
    {
        ComPtr<IDispatch> msr = zorv::bench::CreateDevice(u"OPOS.MSR");
        for (auto _ : state) {
            state.PauseTiming();
            ProfileForRun again(text);
            state.ResumeTiming();
            zorv::outside::CallMethod(msr.Get(), u"Open", {u"D47999"});
            zorv::outside::CallMethod(msr.Get(), u"Close");
        }
    }
    DrainPostedCalls();
    CoUninitialize();
}
BENCHMARK(OpenAfterTheLargeProfileFileChanged)->Unit(benchmark::kMillisecond);

} // namespace
