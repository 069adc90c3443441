#include "backends/path_watch.h"

#include <chrono>

#include "platform/com/apartment.h"
#include "transport/path_present.h"

namespace zorv::opos::real {
namespace {

constexpr std::chrono::milliseconds kLookEvery{100};

} // namespace

void PathWatch::Start(std::string path, std::function<void()> onBack) {
    Stop();
    stop_ = false;
    thread_ = std::thread(&PathWatch::Run, this, std::move(path), std::move(onBack));
}

void PathWatch::Stop() {
    if (!thread_.joinable())
        return;
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void PathWatch::Run(std::string path, std::function<void()> onBack) {
    std::unique_lock lock(mutex_);
    while (!wake_.wait_for(lock, kLookEvery, [this] { return stop_; }))
        if (transport::DevicePathPresent(path))
            return com::PostCall(std::move(onBack));
}

} // namespace zorv::opos::real
