#pragma once
// Tells the apartment once a device has been quiet for a while: each Arm
// moves the moment on; Disarm, or destroying the timer, cancels it. A card
// reader that types a swipe in several lines is known to be done this way.
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

namespace zorv::opos::real {

class QuietTimer {
public:
    explicit QuietTimer(std::function<void()> onQuiet);
    ~QuietTimer();
    QuietTimer(const QuietTimer&) = delete;
    QuietTimer& operator=(const QuietTimer&) = delete;

    // Safe from any thread; the call to onQuiet runs on the apartment.
    void Arm(std::chrono::milliseconds quiet);
    void Disarm();

private:
    void Fire(std::uint64_t generation);

    std::function<void()> onQuiet_;
    std::shared_ptr<QuietTimer*> self_;
    std::mutex mutex_;
    std::uint64_t timer_ = 0;
    // Which Arm is current: a timer already running when it was replaced
    // finds its generation gone and does nothing.
    std::uint64_t generation_ = 0;
};

} // namespace zorv::opos::real
