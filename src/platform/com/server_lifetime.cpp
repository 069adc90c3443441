#include "server_lifetime.h"

#include <atomic>

#include "apartment.h"
#ifdef _WIN32
#include "win/apartment_window.h"
#endif

namespace zorv::com {
namespace {

// Objects may be released on a thread other than the apartment's (a
// reference dropped by an I/O thread's posted call), hence atomic.
std::atomic<std::size_t> liveObjects{0};
std::atomic<long> serverLocks{0};

} // namespace

void ObjectMade() {
    ++liveObjects;
}

void ObjectGone() {
    --liveObjects;
}

void LockServers(bool lock) {
    if (lock)
        ++serverLocks;
    else if (serverLocks > 0)
        --serverLocks;
}

std::size_t LiveObjects() {
    return liveObjects;
}

HRESULT CanUnloadServers() {
    if (liveObjects > 0 || serverLocks > 0 || PendingPostedCalls() > 0 || TimeToNextTimer())
        return S_FALSE;
#ifdef _WIN32
    detail::CloseHostApartmentWindow();
#endif
    return S_OK;
}

} // namespace zorv::com
