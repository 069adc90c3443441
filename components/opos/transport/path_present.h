#pragma once
// Whether a device's path is there to be opened again (an adapter plugged
// back in): a readable path on Linux, a port the system lists on Windows.
#include <string>

namespace zorv::opos::transport {

bool DevicePathPresent(const std::string& path);

} // namespace zorv::opos::transport
