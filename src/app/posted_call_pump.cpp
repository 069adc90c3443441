#include "app/posted_call_pump.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QMetaObject>
#include <QTimer>

#include "platform/com/apartment.h"

namespace zorv::app {
namespace {

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

// The hook may run on an I/O thread: a queued call is how Qt crosses threads.
void DrivePostedCallsFromQt() {
    zorv::com::SetPostedCallHook([] {
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [] { zorv::com::DrainPostedCalls(); }, Qt::QueuedConnection);
    });
    zorv::com::SetWaitLoop(WaitInQtLoop);
}

void StopDrivingPostedCalls() {
    zorv::com::SetPostedCallHook(nullptr);
    zorv::com::SetWaitLoop(nullptr);
}

} // namespace zorv::app
