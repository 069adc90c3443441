#pragma once
// Tells the apartment once a device has been quiet for a while: each Arm
// moves the moment on; Disarm, or destroying the timer, cancels it. A card
// reader that types a swipe in several lines is known to be done this way.
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace zorv::opos::real {

class QuietTimer {
public:
    explicit QuietTimer(std::function<void()> onQuiet);
    ~QuietTimer();
    QuietTimer(const QuietTimer&) = delete;
    QuietTimer& operator=(const QuietTimer&) = delete;

    void Arm(std::chrono::milliseconds quiet);
    void Disarm();

private:
    void Run(const std::weak_ptr<QuietTimer*>& alive);

    std::function<void()> onQuiet_;
    std::shared_ptr<QuietTimer*> self_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::optional<std::chrono::steady_clock::time_point> due_;
    bool stop_ = false;
    std::thread thread_;
};

} // namespace zorv::opos::real
