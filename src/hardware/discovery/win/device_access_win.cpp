// Whether a COM port may be opened, on Windows: a port opens for one program
// at a time, so the check opens it and lets it go at once (no wait: the
// port's settings and lines are left alone). What refuses it is another
// program, never a group or a rule.
#include "hardware/discovery/device_access.h"

#include <windows.h>

#include <cerrno>

#include "platform/com/file_error_text.h"
#include "platform/com/text.h"

namespace zorv::opos::discovery {
namespace {

int ErrnoOf(DWORD error) {
    switch (error) {
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
        return EBUSY;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return ENOENT;
    default:
        return EIO;
    }
}

} // namespace

int SystemAccess(const std::string& path, int mode) {
    const DWORD wanted = (mode & 4 ? GENERIC_READ : 0) | (mode & 2 ? GENERIC_WRITE : 0);
    const HANDLE port =
        CreateFileW(com::WideFromUtf8(path).c_str(), wanted, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (port == INVALID_HANDLE_VALUE)
        return ErrnoOf(GetLastError());
    CloseHandle(port);
    return 0;
}

std::string AccessAdvice(const std::string& node, int mode, const AccessCheck& check) {
    const int error = check(node, mode);
    if (error == 0)
        return {};
    if (error == EBUSY || error == EACCES)
        return "port occupé : un autre programme l'a ouvert (fermez-le, ou le pilote qui le tient)";
    return "ouverture impossible : " + com::FileErrorText(error);
}

} // namespace zorv::opos::discovery
