#include "apartment.h"

#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>

#include "class_table.h"
#include "error_info.h"
#include "hresult.h"
#ifdef _WIN32
#include "win/apartment_window.h"
#endif

namespace zorv::com {
void ReleaseRuntimeRegistrations(); // class_table.cpp
}

namespace {

using Clock = std::chrono::steady_clock;

struct Timer {
    Clock::time_point due;
    Clock::duration period; // zero: runs once
    // Shared so that a repeating timer cancelled from its own call lives to its end.
    std::shared_ptr<zorv::com::PostedCall> call;
};

struct Apartment {
    int entries = 0;
    // Guards the queue, the timers and the hooks: all are reached from posting threads.
    std::mutex lock;
    std::condition_variable posted;
    std::deque<zorv::com::PostedCall> queue;
    std::function<void()> hook;
    // Ordered by id, which is the order the timers were made in.
    std::map<zorv::com::TimerId, Timer> timers;
    zorv::com::TimerId lastTimer = 0;
    std::uint64_t timersMade = 0; // wakes a sleeping wait when a timer is made
    std::function<void()> timerHook;
    zorv::com::WaitLoop waitLoop;
};

Apartment& TheApartment() {
    static Apartment apartment;
    return apartment;
}

std::optional<zorv::com::PostedCall> TakeNext(Apartment& apartment) {
    std::lock_guard guard(apartment.lock);
    if (apartment.queue.empty())
        return std::nullopt;
    zorv::com::PostedCall call = std::move(apartment.queue.front());
    apartment.queue.pop_front();
    return call;
}

// The earliest timer due by `now`, ties to the oldest; a repeating one is
// set for its next beat, never one already past.
std::shared_ptr<zorv::com::PostedCall> TakeDueTimer(Apartment& apartment, Clock::time_point now) {
    std::lock_guard guard(apartment.lock);
    auto earliest = apartment.timers.end();
    for (auto it = apartment.timers.begin(); it != apartment.timers.end(); ++it)
        if (it->second.due <= now &&
            (earliest == apartment.timers.end() || it->second.due < earliest->second.due))
            earliest = it;
    if (earliest == apartment.timers.end())
        return nullptr;
    Timer& timer = earliest->second;
    std::shared_ptr<zorv::com::PostedCall> call = timer.call;
    if (timer.period == Clock::duration::zero()) {
        apartment.timers.erase(earliest);
        return call;
    }
    timer.due += timer.period;
    if (timer.due <= now)
        timer.due = now + timer.period;
    return call;
}

// The apartment's thread may be asleep in its message loop rather than on the queue.
void WakeThread() {
#ifdef _WIN32
    zorv::com::detail::WakeApartmentWindow();
#endif
}

zorv::com::TimerId AddTimer(zorv::com::PostedCall call, Clock::duration delay, Clock::duration period) {
    Apartment& apartment = TheApartment();
    std::function<void()> hook;
    zorv::com::TimerId id = 0;
    {
        std::lock_guard guard(apartment.lock);
        id = ++apartment.lastTimer;
        apartment.timers.emplace(id, Timer{Clock::now() + std::max(delay, Clock::duration::zero()), period,
                                           std::make_shared<zorv::com::PostedCall>(std::move(call))});
        ++apartment.timersMade;
        hook = apartment.timerHook;
    }
    apartment.posted.notify_all();
    WakeThread();
    if (hook)
        hook();
    return id;
}

void Run(const zorv::com::PostedCall& call) {
    try {
        call();
    } catch (...) {
    }
}

// Runs posted calls, those posted meanwhile included, and the timers due
// when it started, until none is left or `enough` (if any) says so between
// two calls. Timers that fall due meanwhile wait for the next drain, so a
// timer that keeps making timers cannot hold the apartment; a call that
// keeps posting calls could, so every caller gives an `enough`.
std::size_t Drain(Apartment& apartment, const std::function<bool()>& enough) {
    const Clock::time_point now = Clock::now();
    std::size_t ran = 0;
    // Each call is taken off before it runs, so a drain nested inside a call
    // (a modal loop) goes on with the next one and order is kept.
    for (;;) {
        if (ran > 0 && enough && enough())
            return ran;
        if (std::optional<zorv::com::PostedCall> call = TakeNext(apartment)) {
            Run(*call);
        } else if (std::shared_ptr<zorv::com::PostedCall> timer = TakeDueTimer(apartment, now)) {
            Run(*timer);
        } else {
            return ran;
        }
        ++ran;
    }
}

// Without a host loop: sleep until a call is posted, a timer is made or the slice ends.
// On Windows the thread's messages are dispatched meanwhile: the system's
// component services and windows need them.
void WaitForPost(Apartment& apartment, std::chrono::milliseconds slice) {
#ifdef _WIN32
    zorv::com::detail::PumpMessages(slice, [&] {
        std::lock_guard guard(apartment.lock);
        return !apartment.queue.empty();
    });
#else
    std::unique_lock guard(apartment.lock);
    const std::uint64_t made = apartment.timersMade;
    apartment.posted.wait_for(guard, slice,
                              [&] { return !apartment.queue.empty() || apartment.timersMade != made; });
#endif
}

// What the last exit from the apartment drops.
void DropPending(Apartment& apartment) {
    // Dropping the calls releases whatever they captured, outside the lock.
    std::deque<zorv::com::PostedCall> dropped;
    std::map<zorv::com::TimerId, Timer> droppedTimers;
    {
        std::lock_guard guard(apartment.lock);
        dropped.swap(apartment.queue);
        droppedTimers.swap(apartment.timers);
    }
    dropped.clear();
    droppedTimers.clear();
}

} // namespace

#ifndef _WIN32
HRESULT CoInitialize(void* pvReserved) {
    return CoInitializeEx(pvReserved, COINIT_APARTMENTTHREADED);
}

HRESULT CoInitializeEx(void*, DWORD) {
    Apartment& apartment = TheApartment();
    if (apartment.entries++ > 0)
        return S_FALSE;
    const std::string folder = zorv::com::DefaultComponentFolder();
    if (!folder.empty())
        zorv::com::LoadComponentFolder(folder);
    return S_OK;
}

void CoUninitialize() {
    Apartment& apartment = TheApartment();
    if (apartment.entries == 0 || --apartment.entries > 0)
        return;
    DropPending(apartment);
    zorv::com::ReleaseRuntimeRegistrations();
    SetErrorInfo(0, nullptr);
}
#endif

namespace zorv::com {

#ifdef _WIN32
HRESULT EnterApartment() {
    const HRESULT hr = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (FAILED(hr))
        return hr;
    if (TheApartment().entries++ == 0)
        detail::OpenApartmentWindow();
    return hr;
}

void LeaveApartment() {
    Apartment& apartment = TheApartment();
    if (apartment.entries > 0 && --apartment.entries == 0) {
        DropPending(apartment);
        detail::CloseApartmentWindow();
    }
    ::CoUninitialize();
}
#else
HRESULT EnterApartment() {
    return CoInitialize(nullptr);
}

void LeaveApartment() {
    CoUninitialize();
}
#endif

bool ApartmentEntered() {
    return TheApartment().entries > 0;
}

void PostCall(PostedCall call) {
    Apartment& apartment = TheApartment();
    std::function<void()> hook;
    {
        std::lock_guard guard(apartment.lock);
        if (apartment.queue.empty())
            hook = apartment.hook;
        apartment.queue.push_back(std::move(call));
    }
    apartment.posted.notify_all();
    WakeThread();
    if (hook)
        hook();
}

std::size_t DrainPostedCalls() {
    // Calls that keep posting calls never empty the queue: the drain gives
    // the thread back after a while and leaves the rest to the next one.
    constexpr std::chrono::milliseconds kLongestDrain{100};
    const Clock::time_point deadline = Clock::now() + kLongestDrain;
    return Drain(TheApartment(), [deadline] { return Clock::now() >= deadline; });
}

TimerId PostDelayedCall(PostedCall call, std::chrono::milliseconds delay) {
    return AddTimer(std::move(call), delay, Clock::duration::zero());
}

TimerId StartTimer(PostedCall call, std::chrono::milliseconds period) {
    const std::chrono::milliseconds beat = std::max(period, std::chrono::milliseconds(1));
    return AddTimer(std::move(call), beat, beat);
}

bool CancelTimer(TimerId id) {
    Apartment& apartment = TheApartment();
    std::shared_ptr<PostedCall> dropped; // released outside the lock
    std::lock_guard guard(apartment.lock);
    const auto found = apartment.timers.find(id);
    if (found == apartment.timers.end())
        return false;
    dropped = std::move(found->second.call);
    apartment.timers.erase(found);
    return true;
}

std::optional<std::chrono::milliseconds> TimeToNextTimer() {
    Apartment& apartment = TheApartment();
    std::lock_guard guard(apartment.lock);
    if (apartment.timers.empty())
        return std::nullopt;
    Clock::time_point earliest = Clock::time_point::max();
    for (const auto& [id, timer] : apartment.timers)
        earliest = std::min(earliest, timer.due);
    const Clock::duration left = earliest - Clock::now();
    return left <= Clock::duration::zero() ? std::chrono::milliseconds(0)
                                           : std::chrono::ceil<std::chrono::milliseconds>(left);
}

void SetTimerHook(std::function<void()> hook) {
    Apartment& apartment = TheApartment();
    std::lock_guard guard(apartment.lock);
    apartment.timerHook = std::move(hook);
}

std::size_t PendingPostedCalls() {
    Apartment& apartment = TheApartment();
    std::lock_guard guard(apartment.lock);
    return apartment.queue.size();
}

void SetPostedCallHook(std::function<void()> hook) {
    Apartment& apartment = TheApartment();
    std::lock_guard guard(apartment.lock);
    apartment.hook = std::move(hook);
}

void SetWaitLoop(WaitLoop loop) {
    TheApartment().waitLoop = std::move(loop);
}

bool WaitPumping(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    // Conditions that change without a posted call (a clock, another thread's
    // flag) are looked at again at least this often.
    constexpr std::chrono::milliseconds kLongestSlice{50};
    // The condition may cost more than a call (it may read a file): looked
    // at between calls only this often, the clock between every two.
    constexpr std::size_t kCallsBetweenLooks = 16;
    Apartment& apartment = TheApartment();
    const bool forever = timeout.count() < 0;
    const Clock::time_point deadline = Clock::now() + (forever ? std::chrono::milliseconds(0) : timeout);
    std::size_t calls = 0;
    // Calls that keep posting calls (an event whose handler raises the next
    // one) never empty the queue: the wait still ends on time, or as soon as
    // its condition holds.
    const auto enough = [&] {
        if (!forever && Clock::now() >= deadline)
            return true;
        return ++calls % kCallsBetweenLooks == 0 && done();
    };
    for (;;) {
        Drain(apartment, enough);
        if (done())
            return true;
        std::chrono::milliseconds slice = kLongestSlice;
        if (const std::optional<std::chrono::milliseconds> timer = TimeToNextTimer())
            slice = std::min(slice, *timer);
        if (!forever) {
            const Clock::duration left = deadline - Clock::now();
            if (left <= Clock::duration::zero())
                return false;
            slice = std::min(slice, std::chrono::ceil<std::chrono::milliseconds>(left));
        }
        if (apartment.waitLoop)
            apartment.waitLoop(slice);
        else
            WaitForPost(apartment, slice);
    }
}

} // namespace zorv::com
