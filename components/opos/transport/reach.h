#pragma once
// Whether this system can reach a connection at all: Windows has no Linux
// input nodes, character devices or /dev paths. Checked as profiles are
// read, so such a device answers Open with 107 and this reason.
#include <string>

#include "transport/connection_string.h"

namespace zorv::opos::transport {

// Empty when the system can open such a link; otherwise why not, in words
// for whoever wrote the profile.
std::string UnreachableHere(const Connection& connection);

} // namespace zorv::opos::transport
