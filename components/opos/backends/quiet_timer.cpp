#include "backends/quiet_timer.h"

#include "platform/com/apartment.h"

namespace zorv::opos::real {

QuietTimer::QuietTimer(std::function<void()> onQuiet)
    : onQuiet_(std::move(onQuiet)), self_(std::make_shared<QuietTimer*>(this)) {}

QuietTimer::~QuietTimer() {
    Disarm();
    self_.reset();
}

void QuietTimer::Arm(std::chrono::milliseconds quiet) {
    std::lock_guard lock(mutex_);
    if (timer_ != 0)
        com::CancelTimer(timer_);
    const std::uint64_t generation = ++generation_;
    timer_ = com::PostDelayedCall(
        [alive = std::weak_ptr<QuietTimer*>(self_), generation] {
            if (const auto self = alive.lock())
                (*self)->Fire(generation);
        },
        quiet);
}

void QuietTimer::Disarm() {
    std::lock_guard lock(mutex_);
    ++generation_;
    if (timer_ != 0)
        com::CancelTimer(timer_);
    timer_ = 0;
}

void QuietTimer::Fire(std::uint64_t generation) {
    {
        std::lock_guard lock(mutex_);
        if (generation != generation_)
            return;
        timer_ = 0;
    }
    onQuiet_();
}

} // namespace zorv::opos::real
