#include "transport/path_present.h"

#include <windows.h>

#include <array>

#include "transport/win/port_name_win.h"

namespace zorv::opos::transport {

// A port whose adapter is unplugged leaves the system's list of devices.
bool DevicePathPresent(const std::string& path) {
    const auto port = ParsePortName(path);
    if (!port)
        return false;
    std::array<wchar_t, 1024> target{};
    return QueryDosDeviceW(WideText(port->dos).c_str(), target.data(), static_cast<DWORD>(target.size())) !=
           0;
}

} // namespace zorv::opos::transport
