#pragma once
// How each kind of connection becomes an open file descriptor (non-blocking,
// close-on-exec), or -1 with the reason in status.
#include "transport/link.h"

namespace zorv::opos::transport {

int OpenTcp(const Connection& connection, int timeoutMs, const Resolver& resolver, LinkStatus& status);
int OpenSerial(const Connection& connection, LinkStatus& status);
int OpenCharacterDevice(const Connection& connection, LinkStatus& status);

// "PATH: <what errno says>" with the failure errno stands for.
LinkStatus ErrnoStatus(int error, const std::string& what);

} // namespace zorv::opos::transport
