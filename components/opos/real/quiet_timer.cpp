#include "real/quiet_timer.h"

#include "platform/com/apartment.h"

namespace zorv::opos::real {
namespace {

// Nothing is due: the thread still looks now and then, as every wait here has an end.
constexpr std::chrono::seconds kIdleLook{1};

} // namespace

QuietTimer::QuietTimer(std::function<void()> onQuiet)
    : onQuiet_(std::move(onQuiet)), self_(std::make_shared<QuietTimer*>(this)),
      thread_([this, alive = std::weak_ptr<QuietTimer*>(self_)] { Run(alive); }) {}

QuietTimer::~QuietTimer() {
    self_.reset();
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void QuietTimer::Arm(std::chrono::milliseconds quiet) {
    {
        std::lock_guard lock(mutex_);
        due_ = std::chrono::steady_clock::now() + quiet;
    }
    wake_.notify_all();
}

void QuietTimer::Disarm() {
    std::lock_guard lock(mutex_);
    due_.reset();
}

void QuietTimer::Run(const std::weak_ptr<QuietTimer*>& alive) {
    std::unique_lock lock(mutex_);
    while (!stop_) {
        if (!due_) {
            wake_.wait_for(lock, kIdleLook);
            continue;
        }
        if (std::chrono::steady_clock::now() < *due_) {
            wake_.wait_until(lock, *due_);
            continue;
        }
        due_.reset();
        com::PostCall([alive] {
            if (const auto self = alive.lock())
                (*self)->onQuiet_();
        });
    }
}

} // namespace zorv::opos::real
