#include "apartment.h"

#include <deque>

#include "class_table.h"
#include "error_info.h"
#include "hresult.h"

namespace zorv::com {
void ReleaseRuntimeRegistrations(); // class_table.cpp
}

namespace {

struct Apartment {
    int entries = 0;
    std::deque<zorv::com::PostedCall> queue;
    std::function<void()> hook;
};

Apartment& TheApartment() {
    static Apartment apartment;
    return apartment;
}

} // namespace

HRESULT CoInitialize(void* pvReserved) { return CoInitializeEx(pvReserved, COINIT_APARTMENTTHREADED); }

HRESULT CoInitializeEx(void*, DWORD) {
    Apartment& apartment = TheApartment();
    if (apartment.entries++ > 0)
        return S_FALSE;
    const std::string folder = zorv::com::DefaultComponentFolder();
    if (!folder.empty())
        zorv::com::LoadComponentFolder(folder);
    return S_OK;
}

void CoUninitialize() {
    Apartment& apartment = TheApartment();
    if (apartment.entries == 0 || --apartment.entries > 0)
        return;
    // Dropping the calls releases whatever they captured.
    std::deque<zorv::com::PostedCall> dropped;
    dropped.swap(apartment.queue);
    dropped.clear();
    zorv::com::ReleaseRuntimeRegistrations();
    SetErrorInfo(0, nullptr);
}

namespace zorv::com {

bool ApartmentEntered() { return TheApartment().entries > 0; }

void PostCall(PostedCall call) {
    Apartment& apartment = TheApartment();
    const bool wasEmpty = apartment.queue.empty();
    apartment.queue.push_back(std::move(call));
    if (wasEmpty && apartment.hook)
        apartment.hook();
}

std::size_t DrainPostedCalls() {
    Apartment& apartment = TheApartment();
    std::size_t ran = 0;
    // Each call is taken off before it runs, so a drain nested inside a call
    // (a modal loop) goes on with the next one and order is kept.
    while (!apartment.queue.empty()) {
        PostedCall call = std::move(apartment.queue.front());
        apartment.queue.pop_front();
        ++ran;
        try {
            call();
        } catch (...) {
        }
    }
    return ran;
}

std::size_t PendingPostedCalls() { return TheApartment().queue.size(); }

void SetPostedCallHook(std::function<void()> hook) { TheApartment().hook = std::move(hook); }

} // namespace zorv::com
