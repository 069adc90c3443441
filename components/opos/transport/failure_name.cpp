#include <array>

#include "transport/link.h"

namespace zorv::opos::transport {
namespace {

constexpr std::array kFailureNames{"None",         "BadConnection",
                                   "NameNotFound", "Refused",
                                   "Unreachable",  "TimedOut",
                                   "NotFound",     "PermissionDenied",
                                   "NotATerminal", "NotACharacterDevice",
                                   "Closed",       "Busy",
                                   "Io",           "Cancelled",
                                   "UnknownPort"};
static_assert(kFailureNames.size() == static_cast<std::size_t>(Failure::UnknownPort) + 1);

} // namespace

const char* FailureName(Failure failure) {
    return kFailureNames[static_cast<std::size_t>(failure)];
}

} // namespace zorv::opos::transport
