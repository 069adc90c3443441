#pragma once
// The back end of a profile that names a real device (a `connection` key);
// none for a simulated one.
#include <memory>

#include "model/backend.h"
#include "model/profile.h"

namespace zorv::opos::real {

std::unique_ptr<Backend> MakeDeviceBackend(const Profile& profile);

} // namespace zorv::opos::real
