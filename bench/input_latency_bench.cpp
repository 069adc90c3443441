// Input latency: from bytes written on a pseudo-terminal (a scanner on a
// serial line) to the framed label in the reader's hands, and from key
// events written on a pipe (a wedge scanner) to the typed label. Each
// label's own latency is kept; the median and the 99th percentile are
// reported as counters (microseconds).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <linux/input-event-codes.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

#include "protocols/input/event_reader.h"
#include "protocols/input/keyboard_wedge.h"
#include "protocols/scan/fd_label_reader.h"

namespace {

using Clock = std::chrono::steady_clock;

void Report(benchmark::State& state, std::vector<double>& micros) {
    if (micros.empty())
        return;
    std::sort(micros.begin(), micros.end());
    state.counters["median_us"] = micros[micros.size() / 2];
    state.counters["p99_us"] = micros[micros.size() * 99 / 100];
}

void SerialLabel(benchmark::State& state) {
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    grantpt(master);
    unlockpt(master);
    const int slave = open(ptsname(master), O_RDWR | O_NOCTTY | O_NONBLOCK);
    termios mode{};
    tcgetattr(slave, &mode);
    cfmakeraw(&mode);
    tcsetattr(slave, TCSANOW, &mode);
    zorv::opos::scan::FdLabelReader reader(slave, {zorv::opos::scan::Suffix::CR, 4096});
    const std::string label = "]E04006381333931\r";
    std::vector<double> micros;
    for (auto _ : state) {
        const auto start = Clock::now();
        if (write(master, label.data(), label.size()) != static_cast<ssize_t>(label.size()))
            state.SkipWithError("write");
        std::size_t frames = 0;
        while (frames == 0) {
            const auto outcome = reader.WaitAndRead(1000);
            if (outcome.status != zorv::opos::scan::ReadStatus::Ok) {
                state.SkipWithError("read");
                break;
            }
            frames += outcome.frames.size();
        }
        micros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    Report(state, micros);
    close(slave);
    close(master);
}
BENCHMARK(SerialLabel)->UseRealTime()->Iterations(20000);

void WedgeLabel(benchmark::State& state) {
    int fds[2];
    if (pipe2(fds, O_NONBLOCK) != 0) {
        state.SkipWithError("pipe");
        return;
    }
    std::vector<input_event> events;
    for (unsigned key : {KEY_4, KEY_0, KEY_0, KEY_6, KEY_3, KEY_8, KEY_1, KEY_3, KEY_3, KEY_3, KEY_9, KEY_3,
                         KEY_1, KEY_ENTER}) {
        input_event event{};
        event.type = EV_KEY;
        event.code = static_cast<__u16>(key);
        event.value = 1;
        events.push_back(event);
        events.push_back(input_event{}); // EV_SYN
        event.value = 0;
        events.push_back(event);
        events.push_back(input_event{});
    }
    const std::size_t size = events.size() * sizeof(input_event);
    zorv::opos::input::EventReader reader(fds[0]);
    zorv::opos::input::KeyboardWedge wedge;
    std::vector<double> micros;
    std::vector<zorv::opos::input::WedgeEvent> labels;
    for (auto _ : state) {
        const auto start = Clock::now();
        if (write(fds[1], events.data(), size) != static_cast<ssize_t>(size))
            state.SkipWithError("write");
        labels.clear();
        while (labels.empty()) {
            const auto batch = reader.WaitAndRead(1000);
            if (batch.status != zorv::opos::input::EventStatus::Ok) {
                state.SkipWithError("read");
                break;
            }
            for (const input_event& event : batch.events)
                wedge.Feed(event, labels);
        }
        micros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    Report(state, micros);
    close(fds[0]);
    close(fds[1]);
}
BENCHMARK(WedgeLabel)->UseRealTime()->Iterations(20000);

} // namespace
