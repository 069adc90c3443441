#include "app/posted_call_pump.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QMetaObject>
#include <QPointer>
#include <QTimer>

#include "platform/com/apartment.h"

namespace zorv::app {
namespace {

// One Qt timer on the window's thread, armed for the apartment's earliest timer.
QPointer<QTimer>& TimerClock() {
    static QPointer<QTimer> clock;
    return clock;
}

void ArmTimerClock() {
    QTimer* clock = TimerClock();
    if (clock == nullptr)
        return;
    if (const std::optional<std::chrono::milliseconds> next = zorv::com::TimeToNextTimer())
        clock->start(*next);
    else
        clock->stop();
}

void Drain() {
    zorv::com::DrainPostedCalls();
    // What a drain left (calls that keep posting calls) runs after the
    // window's own events, so clicks and painting are never starved.
    if (zorv::com::PendingPostedCalls() > 0)
        QMetaObject::invokeMethod(QCoreApplication::instance(), Drain, Qt::QueuedConnection);
    ArmTimerClock();
}

// A component that waits (a drawer to close, a script's Sleep) keeps the
// window painting and answering: Qt's loop runs until an event came or the
// slice ended.
void WaitInQtLoop(std::chrono::milliseconds slice) {
    QTimer wake;
    wake.setSingleShot(true);
    wake.start(slice);
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

} // namespace

// The hooks may run on an I/O thread: a queued call is how Qt crosses threads.
void DrivePostedCallsFromQt() {
    QTimer* clock = new QTimer(QCoreApplication::instance());
    clock->setSingleShot(true);
    QObject::connect(clock, &QTimer::timeout, clock, Drain);
    TimerClock() = clock;
    zorv::com::SetPostedCallHook(
        [] { QMetaObject::invokeMethod(QCoreApplication::instance(), Drain, Qt::QueuedConnection); });
    zorv::com::SetTimerHook(
        [] { QMetaObject::invokeMethod(QCoreApplication::instance(), ArmTimerClock, Qt::QueuedConnection); });
    zorv::com::SetWaitLoop(WaitInQtLoop);
    ArmTimerClock();
}

void StopDrivingPostedCalls() {
    zorv::com::SetPostedCallHook(nullptr);
    zorv::com::SetTimerHook(nullptr);
    zorv::com::SetWaitLoop(nullptr);
    delete TimerClock();
}

} // namespace zorv::app
