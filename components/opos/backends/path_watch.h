#pragma once
// Waits on a thread of its own for a device path to come back (a USB serial
// adapter plugged in again, a by-id link recreated), then tells the apartment
// once. Stopping it, or destroying it, ends the thread promptly.
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace zorv::opos::real {

class PathWatch {
public:
    PathWatch() = default;
    ~PathWatch() { Stop(); }
    PathWatch(const PathWatch&) = delete;
    PathWatch& operator=(const PathWatch&) = delete;

    // `onBack` is posted to the apartment when the path can be opened for reading.
    void Start(std::string path, std::function<void()> onBack);
    void Stop();
    bool Watching() const { return thread_.joinable(); }

private:
    void Run(std::string path, std::function<void()> onBack);

    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
};

} // namespace zorv::opos::real
