#pragma once
// A host written as an IPv4 or IPv6 address, which needs no name lookup.
#include <cstdint>
#include <optional>
#include <string>

#include "transport/link.h"

namespace zorv::opos::transport {

// None when the host is a name.
std::optional<Address> NumericAddress(const std::string& host, uint16_t port);

} // namespace zorv::opos::transport
