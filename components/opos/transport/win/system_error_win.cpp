#include "transport/win/system_error_win.h"

#include <windows.h>
#include <winsock2.h>

#include <array>

namespace zorv::opos::transport {
namespace {

struct ErrorRow {
    unsigned long error;
    Failure failure;
};

constexpr std::array kSystemFailures{
    ErrorRow{WSAECONNREFUSED, Failure::Refused},
    ErrorRow{WSAENETUNREACH, Failure::Unreachable},
    ErrorRow{WSAEHOSTUNREACH, Failure::Unreachable},
    ErrorRow{WSAENETDOWN, Failure::Unreachable},
    ErrorRow{WSAEHOSTDOWN, Failure::Unreachable},
    ErrorRow{WSAETIMEDOUT, Failure::TimedOut},
    ErrorRow{WSAHOST_NOT_FOUND, Failure::NameNotFound},
    ErrorRow{WSANO_DATA, Failure::NameNotFound},
    ErrorRow{WSAECONNRESET, Failure::Closed},
    ErrorRow{WSAECONNABORTED, Failure::Closed},
    ErrorRow{WSAENETRESET, Failure::Closed},
    ErrorRow{WSAENOTCONN, Failure::Closed},
    ErrorRow{WSAESHUTDOWN, Failure::Closed},
    ErrorRow{ERROR_FILE_NOT_FOUND, Failure::NotFound},
    ErrorRow{ERROR_PATH_NOT_FOUND, Failure::NotFound},
    // A port another program holds is refused to everyone else.
    ErrorRow{ERROR_ACCESS_DENIED, Failure::Busy},
    ErrorRow{ERROR_SHARING_VIOLATION, Failure::Busy},
    ErrorRow{ERROR_SEM_TIMEOUT, Failure::TimedOut},
    // What a USB serial adapter's port answers once it is unplugged.
    ErrorRow{ERROR_BAD_COMMAND, Failure::Closed},
    ErrorRow{ERROR_DEVICE_REMOVED, Failure::Closed},
    ErrorRow{ERROR_GEN_FAILURE, Failure::Closed},
    ErrorRow{ERROR_DEVICE_NOT_CONNECTED, Failure::Closed},
    ErrorRow{ERROR_OPERATION_ABORTED, Failure::Closed},
};

std::string SystemMessage(unsigned long error) {
    char* text = nullptr;
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                            FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = length > 0 && text != nullptr ? std::string(text, length) : std::string();
    LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' ' ||
                                message.back() == '.'))
        message.pop_back();
    const std::string number = "error " + std::to_string(error);
    return message.empty() ? number : message + " (" + number + ")";
}

} // namespace

Failure FailureFromSystemError(unsigned long error) {
    for (const ErrorRow& row : kSystemFailures)
        if (row.error == error)
            return row.failure;
    return Failure::Io;
}

LinkStatus SystemErrorStatus(unsigned long error, const std::string& what) {
    return {FailureFromSystemError(error), what + ": " + SystemMessage(error)};
}

} // namespace zorv::opos::transport
