// The window's event loop serves the apartment's timers as it serves posted
// calls: nobody drains by hand, nothing polls, and a wait run inside the
// window (a script's Sleep) lets them fire too.
#include <QEventLoop>
#include <QTimer>
#include <vector>

#include "app/posted_call_pump.h"
#include "app_fixture.h"
#include "platform/com/apartment.h"

using namespace std::chrono_literals;
using zorv::testing::AppFixture;

namespace {

class QtLoopTimers : public AppFixture {
protected:
    QtLoopTimers() { zorv::app::DrivePostedCallsFromQt(); }
    ~QtLoopTimers() override { zorv::app::StopDrivingPostedCalls(); }

    // Runs the window's loop until `loop` is quit, or three seconds at most.
    void RunLoop() {
        QTimer::singleShot(3000, &loop, &QEventLoop::quit);
        loop.exec();
    }

    QEventLoop loop;
};

} // namespace

TEST_F(QtLoopTimers, TheWindowLoopRunsTimersInTheirOrder) {
    std::vector<int> order;
    zorv::com::PostDelayedCall(
        [&] {
            order.push_back(2);
            loop.quit();
        },
        60ms);
    zorv::com::PostDelayedCall([&] { order.push_back(1); }, 20ms);
    RunLoop();
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
}

TEST_F(QtLoopTimers, ARepeatingTimerBeatsUntilCancelled) {
    int beats = 0;
    zorv::com::TimerId id = 0;
    id = zorv::com::StartTimer(
        [&] {
            if (++beats == 3) {
                zorv::com::CancelTimer(id);
                loop.quit();
            }
        },
        10ms);
    RunLoop();
    EXPECT_EQ(beats, 3);
    EXPECT_FALSE(zorv::com::TimeToNextTimer().has_value());
}

TEST_F(QtLoopTimers, AWaitInsideTheWindowLetsTimersFire) {
    bool fired = false;
    zorv::com::PostDelayedCall([&] { fired = true; }, 30ms);
    EXPECT_TRUE(zorv::com::WaitPumping([&] { return fired; }, 2s));
}
