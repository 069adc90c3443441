#include "apartment_window.h"

#include <atomic>

#include "../apartment.h"
#include "../types.h"

namespace zorv::com::detail {
namespace {

constexpr UINT kWakeMessage = WM_APP + 1;
constexpr UINT_PTR kTimerId = 1;
const wchar_t kClassName[] = L"ZorvApartmentWindow";

std::atomic<HWND> apartmentWindow{nullptr};
// Whether the window was made for a host's apartment rather than ours.
bool madeForHost = false;

// Arms the window's clock for the earliest timer of the apartment.
void ArmTimer(HWND window) {
    KillTimer(window, kTimerId);
    if (const auto left = TimeToNextTimer())
        SetTimer(window, kTimerId, static_cast<UINT>(std::max<long long>(left->count(), USER_TIMER_MINIMUM)),
                 nullptr);
}

void RunDue(HWND window) {
    DrainPostedCalls();
    // A drain gives the thread back after a while; the rest comes next time round.
    if (PendingPostedCalls() > 0)
        PostMessageW(window, kWakeMessage, 0, 0);
    ArmTimer(window);
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kWakeMessage || (message == WM_TIMER && wParam == kTimerId)) {
        RunDue(window);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void MakeWindow() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kClassName;
    RegisterClassW(&windowClass); // fails harmlessly when already registered
    apartmentWindow = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                      windowClass.hInstance, nullptr);
    if (PendingPostedCalls() > 0 || TimeToNextTimer())
        WakeApartmentWindow();
}

} // namespace

void OpenApartmentWindow() {
    madeForHost = false;
    if (apartmentWindow.load() == nullptr)
        MakeWindow();
}

void JoinHostApartment() {
    if (apartmentWindow.load() != nullptr)
        return;
    MakeWindow();
    madeForHost = true;
}

void CloseHostApartmentWindow() {
    if (madeForHost) {
        madeForHost = false;
        CloseApartmentWindow();
    }
}

void CloseApartmentWindow() {
    if (HWND window = apartmentWindow.exchange(nullptr)) {
        DestroyWindow(window);
        // The class names our procedure: a library loaded again registers it afresh.
        UnregisterClassW(kClassName, GetModuleHandleW(nullptr));
    }
}

void WakeApartmentWindow() {
    if (HWND window = apartmentWindow.load())
        PostMessageW(window, kWakeMessage, 0, 0);
}

void PumpMessages(std::chrono::milliseconds slice, const std::function<bool()>& ready) {
    const auto deadline = std::chrono::steady_clock::now() + slice;
    for (;;) {
        MSG message;
        bool dispatched = false;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
            dispatched = true;
        }
        // Something ran: the waiter looks at its condition again.
        if (dispatched || ready())
            return;
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return;
        MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(left.count()), QS_ALLINPUT,
                                    MWMO_INPUTAVAILABLE);
    }
}

} // namespace zorv::com::detail
