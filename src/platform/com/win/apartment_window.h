#pragma once
// On Windows, posted calls and timers ride on the thread's message loop: a
// message-only window is woken when a call is posted or a timer is made, and
// its window procedure runs them, whoever pumps the messages (a console
// host's wait, Qt's event loop, a modal loop of the system).
#include <chrono>
#include <functional>

namespace zorv::com::detail {

// Our own programs' apartment (EnterApartment): the window lives until the
// last LeaveApartment.
void OpenApartmentWindow();
void CloseApartmentWindow();
// A host that entered its apartment itself and creates our objects: the
// window is made on its thread, once, and closed only when the libraries may
// be unloaded (CloseHostApartmentWindow).
void JoinHostApartment();
void CloseHostApartmentWindow();
// Safe from any thread.
void WakeApartmentWindow();
// Dispatches the thread's messages until some were dispatched, `ready` holds
// or `slice` has passed.
void PumpMessages(std::chrono::milliseconds slice, const std::function<bool()>& ready);

} // namespace zorv::com::detail
