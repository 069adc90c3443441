#pragma once
// How a link's failure reads as an OPOS result code, and the DirectIO
// commands of the ESC/POS devices (README.md lists them).
#include "model/opos_codes.h"
#include "transport/link.h"

namespace zorv::opos::escpos_device {

constexpr LONG kDirectRawBytes = 100;
constexpr LONG kDirectStatusQuery = 101;
constexpr LONG kDirectMissingCharacters = 102;

// A printer that does not answer in time is 112; one that is not there, or
// cannot be reached, 107.
inline LONG LinkFailureCode(transport::Failure failure) {
    return failure == transport::Failure::TimedOut ? OPOS_E_TIMEOUT : OPOS_E_NOHARDWARE;
}

} // namespace zorv::opos::escpos_device
