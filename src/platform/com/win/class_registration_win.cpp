// Registration of a component library: for the current user, in
// HKEY_CURRENT_USER\Software\Classes, so that no administrator is needed;
// for the machine, in HKEY_LOCAL_MACHINE\Software\Classes, when asked.
#include <string>
#include <vector>

#include "../class_registration.h"
#include "../inproc_server.h"
#include "../text.h"

namespace zorv::com {
namespace {

const std::u16string kClassesRoot = u"Software\\Classes\\";

std::vector<ClassToRegister> ClassesOf(std::span<const ServedClass> served) {
    std::vector<ClassToRegister> classes;
    for (const ServedClass& cls : served)
        classes.push_back({cls.clsid, cls.progId});
    return classes;
}

std::optional<CLSID> ClassNamedBy(HKEY root, const std::u16string& key) {
    wchar_t text[64];
    DWORD bytes = sizeof text;
    if (RegGetValueW(root, ToOle((key + u"\\CLSID").c_str()), nullptr, RRF_RT_REG_SZ, nullptr, text,
                     &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    CLSID clsid;
    if (FAILED(CLSIDFromString(text, &clsid)))
        return std::nullopt;
    return clsid;
}

HKEY RootOf(RegistrationScope scope) {
    return scope == RegistrationScope::Machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

HRESULT Write(HKEY root, const RegistryValue& value) {
    HKEY key = nullptr;
    LONG status = RegCreateKeyExW(root, ToOle((kClassesRoot + value.key).c_str()), 0, nullptr, 0,
                                  KEY_SET_VALUE, nullptr, &key, nullptr);
    if (status == ERROR_SUCCESS) {
        status = RegSetValueExW(key, value.name.empty() ? nullptr : ToOle(value.name.c_str()), 0, REG_SZ,
                                reinterpret_cast<const BYTE*>(value.data.c_str()),
                                static_cast<DWORD>((value.data.size() + 1) * sizeof(char16_t)));
        RegCloseKey(key);
    }
    return status == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(status);
}

std::u16string PathOfLibraryHolding(const void* address) {
    HMODULE module = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            static_cast<LPCWSTR>(address), &module))
        return {};
    std::u16string path(MAX_PATH, u'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(module, ToOle(path.data()), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

} // namespace

HRESULT RegisterServedClasses(std::span<const ServedClass> served, const void* addressInLibrary,
                              RegistrationScope scope) {
    const std::u16string library = PathOfLibraryHolding(addressInLibrary);
    if (library.empty())
        return SELFREG_E_CLASS;
    // The scope's own classes first, then the other's: HKEY_CLASSES_ROOT
    // merges them on Windows, not on every system that runs Windows programs.
    const HKEY first = RootOf(scope);
    const HKEY second = first == HKEY_CURRENT_USER ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
    const auto current = [first, second](const std::u16string& progId) {
        if (auto clsid = ClassNamedBy(first, kClassesRoot + progId))
            return clsid;
        if (auto clsid = ClassNamedBy(second, kClassesRoot + progId))
            return clsid;
        return ClassNamedBy(HKEY_CLASSES_ROOT, progId);
    };
    for (const RegistryValue& value : RegistrationValues(ClassesOf(served), library, current))
        if (const HRESULT hr = Write(first, value); FAILED(hr)) {
            UnregisterServedClasses(served, scope);
            return SELFREG_E_CLASS;
        }
    return S_OK;
}

HRESULT UnregisterServedClasses(std::span<const ServedClass> served, RegistrationScope scope) {
    // Only what we wrote, where we wrote it.
    const HKEY root = RootOf(scope);
    const auto current = [root](const std::u16string& progId) {
        return ClassNamedBy(root, kClassesRoot + progId);
    };
    HRESULT result = S_OK;
    for (const std::u16string& key : UnregistrationKeys(ClassesOf(served), current)) {
        const LONG status = RegDeleteTreeW(root, ToOle((kClassesRoot + key).c_str()));
        if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
            result = SELFREG_E_CLASS;
    }
    return result;
}

HRESULT InstallServedClasses(std::span<const ServedClass> served, const void* addressInLibrary, bool install,
                             const wchar_t* commandLine) {
    const std::optional<RegistrationScope> scope =
        RegistrationScopeNamed(commandLine == nullptr ? std::u16string_view() : FromOle(commandLine));
    if (!scope)
        return E_INVALIDARG;
    return install ? RegisterServedClasses(served, addressInLibrary, *scope)
                   : UnregisterServedClasses(served, *scope);
}

} // namespace zorv::com
