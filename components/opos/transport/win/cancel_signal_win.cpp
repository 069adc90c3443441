#include "transport/cancel_signal.h"

#include <windows.h>

namespace zorv::opos::transport {

CancelSignal::CancelSignal() {
    if (HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr))
        native_ = reinterpret_cast<std::intptr_t>(event);
}

CancelSignal::~CancelSignal() {
    if (native_ != -1)
        CloseHandle(reinterpret_cast<HANDLE>(native_));
}

void CancelSignal::Raise() {
    if (native_ != -1)
        SetEvent(reinterpret_cast<HANDLE>(native_));
}

} // namespace zorv::opos::transport
