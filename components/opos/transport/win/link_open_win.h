#pragma once
// How each kind of connection becomes an open SOCKET or HANDLE (not
// inherited by child processes), or -1 with the reason in status.
#include "transport/link.h"

namespace zorv::opos::transport {

// A non-blocking socket.
NativeLink OpenTcp(const Connection& connection, int timeoutMs, const Resolver& resolver, LinkStatus& status);
// A port opened for overlapped I/O; reads come back after kSerialReadWaitMs
// at most, with what arrived or nothing.
NativeLink OpenSerial(const Connection& connection, LinkStatus& status);
constexpr int kSerialReadWaitMs = 100;

// Winsock is started once, the first time a link or a lookup needs it.
bool StartWinsock(LinkStatus& status);

} // namespace zorv::opos::transport
