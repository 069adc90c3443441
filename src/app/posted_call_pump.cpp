#include "app/posted_call_pump.h"

#include <QCoreApplication>
#include <QMetaObject>

#include "platform/com/apartment.h"

namespace zorv::app {

void DrivePostedCallsFromQt() {
    zorv::com::SetPostedCallHook([] {
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [] { zorv::com::DrainPostedCalls(); }, Qt::QueuedConnection);
    });
}

void StopDrivingPostedCalls() {
    zorv::com::SetPostedCallHook(nullptr);
}

} // namespace zorv::app
