#include "hardware/discovery/installed/windows_registry.h"

#include <algorithm>
#include <windows.h>

#include "platform/com/text.h"

namespace zorv::opos::installed {
namespace {

// An open key, closed when it goes.
class Key {
public:
    Key(HKEY base, const std::wstring& path, REGSAM view) {
        if (RegOpenKeyExW(base, path.c_str(), 0, KEY_READ | view, &key_) != ERROR_SUCCESS)
            key_ = nullptr;
    }
    ~Key() {
        if (key_ != nullptr)
            RegCloseKey(key_);
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    HKEY Get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

struct Place {
    HKEY base;
    std::wstring prefix;
    REGSAM view;
};

bool UnderClassIds(const std::string& path) {
    return path.size() >= 5 &&
           CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, path.c_str(), 5, "CLSID", 5) == CSTR_EQUAL;
}

// Where a key is looked for, first found first. The classes are read as
// HKEY_CLASSES_ROOT merges them, the user's first, from their two homes
// (Wine's HKEY_CLASSES_ROOT shows the machine's only). In the 32-bit view
// Wine's 64-bit programs are not redirected as Windows redirects them: class
// ids are looked for in their 32-bit home by name as well, and ProgIDs,
// which both views share, in the common one.
std::vector<Place> PlacesOf(RegistryRoot root, const std::string& path, REGSAM view) {
    if (root == RegistryRoot::LocalMachine)
        return {{HKEY_LOCAL_MACHINE, L"", view}};
    std::vector<Place> places;
    for (const HKEY base : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
        places.push_back({base, L"Software\\Classes\\", view});
    if (view != KEY_WOW64_32KEY)
        return places;
    const bool classId = UnderClassIds(path);
    for (const HKEY base : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
        places.push_back(
            {base, classId ? L"Software\\Classes\\Wow6432Node\\" : L"Software\\Classes\\", KEY_WOW64_64KEY});
    return places;
}

std::vector<std::string> SubkeysOf(HKEY key) {
    std::vector<std::string> names;
    // A key name holds at most 255 characters.
    wchar_t name[256];
    for (DWORD index = 0;; ++index) {
        DWORD length = 256;
        const LONG status = RegEnumKeyExW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS)
            break;
        if (status == ERROR_SUCCESS)
            names.push_back(com::Utf8FromWide(std::wstring_view(name, length)));
    }
    return names;
}

// A REG_SZ value, or a REG_EXPAND_SZ one expanded.
std::optional<std::string> TextOf(HKEY key, const std::wstring& name) {
    DWORD bytes = 0;
    if (RegGetValueW(key, nullptr, name.c_str(), RRF_RT_REG_SZ, nullptr, nullptr, &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    // Expanding %SystemRoot% and the like may need more room than the size first given.
    for (int attempt = 0; attempt < 4; ++attempt) {
        std::wstring value(bytes / sizeof(wchar_t) + 1, L'\0');
        bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
        const LONG status =
            RegGetValueW(key, nullptr, name.c_str(), RRF_RT_REG_SZ, nullptr, value.data(), &bytes);
        if (status == ERROR_SUCCESS) {
            value.resize(wcsnlen(value.c_str(), value.size()));
            return com::Utf8FromWide(value);
        }
        if (status != ERROR_MORE_DATA)
            return std::nullopt;
    }
    return std::nullopt;
}

class WindowsRegistry final : public RegistryReader {
public:
    explicit WindowsRegistry(REGSAM view) : view_(view) {}

    std::vector<std::string> SubkeyNames(RegistryRoot root, const std::string& path) const override {
        std::vector<std::string> names;
        for (const Place& place : PlacesOf(root, path, view_)) {
            const Key key(place.base, place.prefix + com::WideFromUtf8(path), place.view);
            if (key.Get() == nullptr)
                continue;
            for (std::string& name : SubkeysOf(key.Get()))
                if (std::find(names.begin(), names.end(), name) == names.end())
                    names.push_back(std::move(name));
        }
        return names;
    }

    std::optional<std::string> Text(RegistryRoot root, const std::string& path,
                                    const std::string& name) const override {
        for (const Place& place : PlacesOf(root, path, view_)) {
            const Key key(place.base, place.prefix + com::WideFromUtf8(path), place.view);
            if (key.Get() == nullptr)
                continue;
            if (std::optional<std::string> text = TextOf(key.Get(), com::WideFromUtf8(name)))
                return text;
        }
        return std::nullopt;
    }

private:
    REGSAM view_;
};

} // namespace

std::unique_ptr<RegistryReader> MakeWindowsRegistry(unsigned view) {
    return std::make_unique<WindowsRegistry>(view == kView32 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY);
}

unsigned MachineViews() {
    if (sizeof(void*) == 8)
        return kBothViews;
    BOOL underWow64 = FALSE;
    return IsWow64Process(GetCurrentProcess(), &underWow64) && underWow64 ? kBothViews : kView32;
}

OposInstallation InstalledOposOfThisMachine() {
    const unsigned views = MachineViews();
    std::vector<std::unique_ptr<RegistryReader>> readers;
    std::vector<ViewReader> reading;
    for (const unsigned view : {kView32, kView64}) {
        if ((views & view) == 0)
            continue;
        readers.push_back(MakeWindowsRegistry(view));
        reading.push_back({readers.back().get(), view});
    }
    return FindInstalledOpos(reading);
}

} // namespace zorv::opos::installed
