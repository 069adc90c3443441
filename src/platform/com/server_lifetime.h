#pragma once
// How long a component library must stay loaded: while any object of ours
// lives, a client holds a server lock, or the apartment has calls or timers
// still to run (their code is in the libraries).
#include <cstddef>

#include "hresult.h"

namespace zorv::com {

void ObjectMade();
void ObjectGone();
// IClassFactory::LockServer's count.
void LockServers(bool lock);
std::size_t LiveObjects();

// The body of DllCanUnloadNow: S_OK when nothing above is left. On Windows,
// a posted-call window the library made for a host's apartment is closed
// then, since its procedure goes with the library.
HRESULT CanUnloadServers();

} // namespace zorv::com
