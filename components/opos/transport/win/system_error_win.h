#pragma once
// Winsock and Win32 error codes as link failures, with the system's words.
#include <string>

#include "transport/link.h"

namespace zorv::opos::transport {

Failure FailureFromSystemError(unsigned long error);
// "WHAT: <the system's message> (error N)" with the failure it stands for.
LinkStatus SystemErrorStatus(unsigned long error, const std::string& what);

} // namespace zorv::opos::transport
