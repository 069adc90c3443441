#pragma once
// Drives the apartment's posted calls and timers from Qt's event loop: whenever a
// component posts a call, a drain is queued on the loop, so device events
// reach the window on its own thread without any polling; a Qt timer wakes
// the loop when the apartment's next timer is due.
namespace zorv::app {

void DrivePostedCallsFromQt();
void StopDrivingPostedCalls();

} // namespace zorv::app
