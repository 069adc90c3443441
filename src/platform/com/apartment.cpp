#include "apartment.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>

#include "class_table.h"
#include "error_info.h"
#include "hresult.h"

namespace zorv::com {
void ReleaseRuntimeRegistrations(); // class_table.cpp
}

namespace {

using Clock = std::chrono::steady_clock;

struct Apartment {
    int entries = 0;
    // Guards the queue and the hook: both are reached from posting threads.
    std::mutex lock;
    std::condition_variable posted;
    std::deque<zorv::com::PostedCall> queue;
    std::function<void()> hook;
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

// Without a host loop: sleep until a call is posted or the slice ends.
void WaitForPost(Apartment& apartment, std::chrono::milliseconds slice) {
    std::unique_lock guard(apartment.lock);
    apartment.posted.wait_for(guard, slice, [&] { return !apartment.queue.empty(); });
}

} // namespace

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
    // Dropping the calls releases whatever they captured, outside the lock.
    std::deque<zorv::com::PostedCall> dropped;
    {
        std::lock_guard guard(apartment.lock);
        dropped.swap(apartment.queue);
    }
    dropped.clear();
    zorv::com::ReleaseRuntimeRegistrations();
    SetErrorInfo(0, nullptr);
}

namespace zorv::com {

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
    if (hook)
        hook();
}

std::size_t DrainPostedCalls() {
    Apartment& apartment = TheApartment();
    std::size_t ran = 0;
    // Each call is taken off before it runs, so a drain nested inside a call
    // (a modal loop) goes on with the next one and order is kept.
    while (std::optional<PostedCall> call = TakeNext(apartment)) {
        ++ran;
        try {
            (*call)();
        } catch (...) {
        }
    }
    return ran;
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
    Apartment& apartment = TheApartment();
    const bool forever = timeout.count() < 0;
    const Clock::time_point deadline = Clock::now() + (forever ? std::chrono::milliseconds(0) : timeout);
    for (;;) {
        DrainPostedCalls();
        if (done())
            return true;
        std::chrono::milliseconds slice = kLongestSlice;
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
