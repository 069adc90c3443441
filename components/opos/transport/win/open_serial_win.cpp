#include <windows.h>

#include "transport/reach.h"
#include "transport/win/link_open_win.h"
#include "transport/win/port_name_win.h"
#include "transport/win/system_error_win.h"

namespace zorv::opos::transport {
namespace {

BYTE ParityCode(char parity) {
    return parity == 'E' ? EVENPARITY : parity == 'O' ? ODDPARITY : NOPARITY;
}

bool Configure(HANDLE port, const Connection& c) {
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(port, &dcb))
        return false;
    dcb.BaudRate = static_cast<DWORD>(c.baud);
    dcb.ByteSize = static_cast<BYTE>(c.dataBits);
    dcb.Parity = ParityCode(c.parity);
    dcb.fParity = c.parity != 'N';
    dcb.StopBits = c.stopBits == 2 ? TWOSTOPBITS : ONESTOPBIT;
    dcb.fBinary = TRUE;
    dcb.fOutxCtsFlow = c.flow == FlowControl::RtsCts;
    dcb.fRtsControl = c.flow == FlowControl::RtsCts ? RTS_CONTROL_HANDSHAKE : RTS_CONTROL_ENABLE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fOutX = dcb.fInX = c.flow == FlowControl::XonXoff;
    dcb.XonChar = 0x11;
    dcb.XoffChar = 0x13;
    dcb.fErrorChar = FALSE;
    dcb.fNull = FALSE;
    dcb.fAbortOnError = FALSE;
    if (!SetCommState(port, &dcb))
        return false;
    // A read comes back with the bytes already there, or as soon as one
    // arrives, or empty after kSerialReadWaitMs; writes have no limit of
    // their own (the link's send times them).
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.ReadTotalTimeoutMultiplier = MAXDWORD;
    timeouts.ReadTotalTimeoutConstant = kSerialReadWaitMs;
    if (!SetCommTimeouts(port, &timeouts))
        return false;
    PurgeComm(port, PURGE_RXCLEAR | PURGE_TXCLEAR);
    return true;
}

LinkStatus OpenFailure(DWORD error, const std::string& where, const std::string& dos) {
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
        return {Failure::UnknownPort, where + " : Windows ne connaît pas de port " + dos +
                                          " (adaptateur débranché ou nom de port erroné)"};
    if (error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION)
        return {Failure::Busy, where + " : le port " + dos + " est déjà ouvert par un autre programme"};
    return SystemErrorStatus(error, where);
}

} // namespace

NativeLink OpenSerial(const Connection& connection, LinkStatus& status) {
    const std::string where = "serial:" + connection.path;
    const auto port = ParsePortName(connection.path);
    if (!port) {
        status = {Failure::BadConnection, UnreachableHere(connection)};
        return -1;
    }
    const HANDLE handle = CreateFileW(WideText(port->device).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        status = OpenFailure(GetLastError(), where, port->dos);
        return -1;
    }
    if (GetFileType(handle) != FILE_TYPE_CHAR) {
        CloseHandle(handle);
        status = {Failure::NotATerminal, where + " : " + port->dos + " n'est pas un port série"};
        return -1;
    }
    if (!Configure(handle, connection)) {
        const DWORD error = GetLastError();
        CloseHandle(handle);
        status =
            error == ERROR_INVALID_FUNCTION || error == ERROR_NOT_SUPPORTED
                ? LinkStatus{Failure::NotATerminal, where + " : " + port->dos + " n'est pas un port série"}
                : SystemErrorStatus(error, where + " cannot be configured");
        return -1;
    }
    return reinterpret_cast<NativeLink>(handle);
}

} // namespace zorv::opos::transport
