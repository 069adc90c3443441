#pragma once
// On Windows, posted calls and timers ride on the thread's message loop: a
// message-only window is woken when a call is posted or a timer is made, and
// its window procedure runs them, whoever pumps the messages (a console
// host's wait, Qt's event loop, a modal loop of the system).
#include <chrono>
#include <functional>

namespace zorv::com::detail {

void OpenApartmentWindow();
void CloseApartmentWindow();
// Safe from any thread.
void WakeApartmentWindow();
// Dispatches the thread's messages until some were dispatched, `ready` holds
// or `slice` has passed.
void PumpMessages(std::chrono::milliseconds slice, const std::function<bool()>& ready);

} // namespace zorv::com::detail
