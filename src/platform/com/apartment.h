#pragma once
// The single-threaded apartment and its posted-call queue: a component that
// must act later (a device raising an event when input arrives) posts a call
// here; the program drains the queue from its event loop, a console host
// drains it itself. Calls run one at a time, in the order they were posted.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

#include "hresult.h"

#ifndef _WIN32
constexpr DWORD COINIT_APARTMENTTHREADED = 0x2;

// The first entry reads the default component folder; later ones answer S_FALSE.
HRESULT CoInitialize(void* pvReserved);
HRESULT CoInitializeEx(void* pvReserved, DWORD dwCoInit);
// The last exit drops pending posted calls, run-time class registrations and
// the thread's error object.
void CoUninitialize();
#endif // _WIN32

namespace zorv::com {

// Enters the thread's single-threaded apartment (on Windows the system's,
// whose message loop then carries posted calls and timers); every entry is
// matched by a LeaveApartment.
HRESULT EnterApartment();
void LeaveApartment();

using PostedCall = std::function<void()>;

bool ApartmentEntered();
// Safe from any thread: an I/O thread hands device input to the apartment
// this way. The call itself always runs on the apartment's thread.
void PostCall(PostedCall call);
// Runs posted calls, including those posted meanwhile, and the timers due
// when it started, until none is left or a tenth of a second has gone (calls
// that keep posting calls are left to the next drain: see
// PendingPostedCalls); answers how many ran. A call that throws is dropped,
// never propagated.
std::size_t DrainPostedCalls();
std::size_t PendingPostedCalls();
// Called whenever a call is posted to an empty queue, so that an event loop
// can schedule a drain. It may run on the posting thread. An empty hook
// removes it.
void SetPostedCallHook(std::function<void()> hook);

// Timers: calls that run on the apartment's thread once their time has come,
// from DrainPostedCalls (so from WaitPumping, the window's loop and a console
// host's drains alike). Timers due at the same moment run in the order they
// were made. Safe from any thread; 0 is never an id.
using TimerId = std::uint64_t;
TimerId PostDelayedCall(PostedCall call, std::chrono::milliseconds delay);
// Runs every `period` (at least 1 ms) until cancelled; beats missed while the
// apartment was busy are dropped, not run in a burst.
TimerId StartTimer(PostedCall call, std::chrono::milliseconds period);
// Also from inside the timer's own call; false when there was no such timer
// (already run, cancelled, or dropped by the last CoUninitialize).
bool CancelTimer(TimerId id);
// How long until the earliest timer is due (zero: due now); none without timers.
std::optional<std::chrono::milliseconds> TimeToNextTimer();
// Called whenever a timer is made, so that an event loop can arm its own
// clock for TimeToNextTimer. It may run on the calling thread.
void SetTimerHook(std::function<void()> hook);

// How a host with an event loop of its own (the window) waits: it runs its
// loop, which drains posted calls, for at most `slice`, returning early when
// something happened.
using WaitLoop = std::function<void(std::chrono::milliseconds slice)>;
void SetWaitLoop(WaitLoop loop);

// Waits without blocking the apartment: runs posted calls and timers (and,
// through the wait loop, the host's own events) until `done` answers true or
// `timeout` has passed, sleeping in between; answers done(). A negative timeout waits for ever. This is how
// a component waits for a sensor or a script sleeps. The deadline and the
// condition are looked at between posted calls too, so calls that keep
// posting calls do not hold the wait beyond its time.
bool WaitPumping(const std::function<bool()>& done, std::chrono::milliseconds timeout);

} // namespace zorv::com
