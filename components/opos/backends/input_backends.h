#pragma once
// The back ends of devices read from Linux input nodes (`input:` event
// devices, `hidraw:` HID scanners); none for a kind such a node cannot
// serve. On Windows, which has no such nodes, a device that refuses Open
// with the reason.
#include <memory>

#include "model/backend.h"
#include "model/profile.h"
#include "transport/connection_string.h"

namespace zorv::opos::real {

std::unique_ptr<Backend> MakeInputBackend(const Profile& profile, const transport::Connection& connection);

} // namespace zorv::opos::real
