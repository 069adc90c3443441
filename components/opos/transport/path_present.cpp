#include "transport/path_present.h"

#include <unistd.h>

namespace zorv::opos::transport {

bool DevicePathPresent(const std::string& path) {
    return ::access(path.c_str(), R_OK) == 0;
}

} // namespace zorv::opos::transport
