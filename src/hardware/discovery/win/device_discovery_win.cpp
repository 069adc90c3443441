// Windows' listing: the COM ports the system's serial drivers declare
// (HARDWARE\DEVICEMAP\SERIALCOMM) and the logical devices of the installed
// OPOS service objects. USB printers, wedge devices and HID nodes have no
// name a profile could give on Windows, so they are not looked for.
#include "hardware/discovery/device_discovery.h"

#include <windows.h>

#include <algorithm>
#include <cwctype>
#include <unistd.h>

#include "hardware/discovery/installed/windows_registry.h"
#include "platform/com/text.h"

namespace zorv::opos::discovery {
namespace {

// The port names the serial drivers declare ("COM1"...), each once.
std::vector<std::wstring> SerialPortNames() {
    std::vector<std::wstring> names;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return names;
    for (DWORD index = 0;; ++index) {
        wchar_t valueName[256];
        DWORD valueNameLength = 256;
        wchar_t data[256] = {};
        DWORD dataBytes = sizeof(data) - sizeof(wchar_t);
        DWORD type = 0;
        const LONG status = RegEnumValueW(key, index, valueName, &valueNameLength, nullptr, &type,
                                          reinterpret_cast<BYTE*>(data), &dataBytes);
        if (status == ERROR_NO_MORE_ITEMS)
            break;
        if (status != ERROR_SUCCESS || type != REG_SZ)
            continue;
        std::wstring name(data, dataBytes / sizeof(wchar_t));
        name.erase(std::find(name.begin(), name.end(), L'\0'), name.end());
        if (!name.empty() && std::find(names.begin(), names.end(), name) == names.end())
            names.push_back(name);
    }
    RegCloseKey(key);
    return names;
}

unsigned PortNumber(const std::wstring& name) {
    unsigned number = 0;
    for (wchar_t c : name)
        if (std::iswdigit(c))
            number = number * 10 + static_cast<unsigned>(c - L'0');
    return number;
}

// COM1 to COM9 open by their names; the others only as \\.\COM10.
std::string PortPath(const std::wstring& name) {
    const std::string narrow = com::Utf8FromWide(name);
    return narrow.rfind("COM", 0) == 0 && narrow.size() <= 4 ? narrow : "\\\\.\\" + narrow;
}

void AddSerial(const AccessCheck& check, std::vector<Candidate>& out) {
    std::vector<std::wstring> names = SerialPortNames();
    std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
        return PortNumber(a) != PortNumber(b) ? PortNumber(a) < PortNumber(b) : a < b;
    });
    for (const std::wstring& name : names) {
        Candidate candidate{};
        candidate.family = Family::Serial;
        candidate.path = PortPath(name);
        candidate.node = candidate.path;
        candidate.name = com::Utf8FromWide(name);
        candidate.access = AccessAdvice(candidate.path, R_OK | W_OK, check);
        out.push_back(std::move(candidate));
    }
}

std::string ServiceName(const installed::DeclaredDevice& device) {
    return device.description.empty() ? device.serviceProgId
                                      : device.serviceProgId + " - " + device.description;
}

void AddInstalledOpos(std::vector<Candidate>& out) {
    for (const installed::DeclaredDevice& device : installed::InstalledOposOfThisMachine().devices) {
        Candidate candidate{};
        candidate.family = Family::InstalledOpos;
        candidate.path = device.logicalName;
        candidate.node = device.logicalName;
        candidate.name = ServiceName(device);
        candidate.kind = device.kind;
        out.push_back(std::move(candidate));
    }
}

} // namespace

const std::vector<Family>& ListedFamilies() {
    static const std::vector<Family> families = {Family::Serial, Family::InstalledOpos};
    return families;
}

std::vector<Candidate> ListDevices(const Roots&, const AccessCheck& check) {
    std::vector<Candidate> devices;
    AddSerial(check, devices);
    AddInstalledOpos(devices);
    return devices;
}

} // namespace zorv::opos::discovery
