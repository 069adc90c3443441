#include "transport/path_present.h"

#include <windows.h>

#include "transport/win/port_name_win.h"

namespace zorv::opos::transport {

// A port whose adapter is unplugged has no device behind its name. Opening
// it without access rights asks the system just that, and Wine too, whose
// ports the system's list of devices does not always show.
bool DevicePathPresent(const std::string& path) {
    const auto port = ParsePortName(path);
    if (!port)
        return false;
    const HANDLE probe = CreateFileW(WideText(port->device).c_str(), 0, 0, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
    if (probe != INVALID_HANDLE_VALUE) {
        CloseHandle(probe);
        return true;
    }
    const DWORD error = GetLastError();
    return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
}

} // namespace zorv::opos::transport
