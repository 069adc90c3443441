#include "class_table.h"

#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <unordered_map>

#include "apartment.h"
#include "com_ptr.h"
#include "registration_file.h"
#include "text.h"

namespace zorv::com {
namespace {

using DllGetClassObjectFunction = HRESULT (*)(REFCLSID, REFIID, void**);

// ProgIDs compare without regard to case, as the platform's do.
struct ProgIdLess {
    bool operator()(const std::u16string& a, const std::u16string& b) const {
        return CompareIgnoringCase(a, b) < 0;
    }
};

struct RuntimeRegistration {
    DWORD cookie;
    CLSID clsid;
    ComPtr<IUnknown> factory;
};

struct ClassTable {
    std::map<std::u16string, CLSID, ProgIdLess> fileProgIds;
    std::map<std::u16string, CLSID, ProgIdLess> runtimeProgIds;
    std::set<std::u16string, ProgIdLess> hidden;
    std::unordered_map<CLSID, DllGetClassObjectFunction, GuidHash> servers;
    std::vector<RuntimeRegistration> registrations;
    DWORD nextCookie = 1;
    std::set<std::string> foldersRead;
    std::vector<std::string> diagnostics;
    bool defaultFolderSet = false;
    std::string defaultFolder;
};

ClassTable& Table() {
    static ClassTable table;
    return table;
}

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

DllGetClassObjectFunction LoadServer(const std::filesystem::path& library, const std::string& fileName) {
    ClassTable& table = Table();
    void* handle = dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* why = dlerror();
        table.diagnostics.push_back(fileName + ": cannot load " + library.string() + ": " + (why ? why : "?"));
        return nullptr;
    }
    auto entry = reinterpret_cast<DllGetClassObjectFunction>(dlsym(handle, "DllGetClassObject"));
    if (entry == nullptr) {
        table.diagnostics.push_back(fileName + ": " + library.string() + " has no DllGetClassObject");
        // Loaded libraries stay loaded: unloading code that may still run is not worth the risk.
    }
    return entry;
}

std::size_t LoadRegistrationFile(const std::filesystem::path& path) {
    ClassTable& table = Table();
    const std::string fileName = path.filename().string();
    const auto text = ReadWholeFile(path);
    if (!text) {
        table.diagnostics.push_back(fileName + ": cannot be read");
        return 0;
    }
    RegistrationFile file = ParseRegistrationFile(*text, fileName);
    table.diagnostics.insert(table.diagnostics.end(), file.problems.begin(), file.problems.end());
    if (file.classes.empty())
        return 0;
    const DllGetClassObjectFunction entry = LoadServer(path.parent_path() / file.library, fileName);
    if (entry == nullptr)
        return 0;
    std::size_t added = 0;
    for (const RegisteredClass& cls : file.classes) {
        if (table.fileProgIds.count(cls.progId) != 0) {
            table.diagnostics.push_back(fileName + ": " + Utf16ToUtf8(cls.progId) + " is already registered");
            continue;
        }
        table.fileProgIds.emplace(cls.progId, cls.clsid);
        table.servers.emplace(cls.clsid, entry);
        ++added;
    }
    return added;
}

const RuntimeRegistration* FindRuntimeRegistration(const CLSID& clsid) {
    const auto& registrations = Table().registrations;
    const auto found = std::find_if(registrations.rbegin(), registrations.rend(),
                                    [&](const RuntimeRegistration& r) { return IsEqualCLSID(r.clsid, clsid); });
    return found == registrations.rend() ? nullptr : &*found;
}

} // namespace

void ReleaseRuntimeRegistrations() {
    std::vector<RuntimeRegistration> released;
    released.swap(Table().registrations);
}

HRESULT RegisterProgID(std::u16string_view progId, const CLSID& clsid) {
    if (progId.empty())
        return E_INVALIDARG;
    Table().runtimeProgIds[std::u16string(progId)] = clsid;
    return S_OK;
}

HRESULT UnregisterProgID(std::u16string_view progId) {
    return Table().runtimeProgIds.erase(std::u16string(progId)) ? S_OK : CO_E_CLASSSTRING;
}

void SetProgIDHidden(std::u16string_view progId, bool hidden) {
    if (hidden)
        Table().hidden.insert(std::u16string(progId));
    else
        Table().hidden.erase(std::u16string(progId));
}

std::size_t LoadComponentFolder(const std::string& folder) {
    ClassTable& table = Table();
    std::error_code error;
    const auto canonical = std::filesystem::weakly_canonical(folder, error).string();
    if (!table.foldersRead.insert(canonical.empty() ? folder : canonical).second)
        return 0;
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        if (entry.path().extension() == ".classes")
            files.push_back(entry.path());
    if (error) {
        table.diagnostics.push_back(folder + ": " + error.message());
        return 0;
    }
    // Sorted, so that which file wins a disputed ProgID does not depend on the directory's order.
    std::sort(files.begin(), files.end());
    std::size_t added = 0;
    for (const auto& file : files)
        added += LoadRegistrationFile(file);
    return added;
}

void SetDefaultComponentFolder(std::string folder) {
    Table().defaultFolderSet = true;
    Table().defaultFolder = std::move(folder);
}

std::string DefaultComponentFolder() {
    if (Table().defaultFolderSet)
        return Table().defaultFolder;
    const std::string executable = ExecutableFolder();
    return executable.empty() ? std::string() : executable + "/components";
}

std::vector<std::string> ComponentDiagnostics() { return Table().diagnostics; }

std::string ExecutableFolder() {
    std::error_code error;
    const auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : path.parent_path().string();
}

} // namespace zorv::com

using namespace zorv::com;

HRESULT CLSIDFromProgID(LPCOLESTR lpszProgID, LPCLSID lpclsid) {
    if (lpclsid == nullptr)
        return E_INVALIDARG;
    *lpclsid = CLSID_NULL;
    if (lpszProgID == nullptr)
        return E_INVALIDARG;
    const std::u16string progId(lpszProgID);
    ClassTable& table = Table();
    if (table.hidden.count(progId) != 0)
        return CO_E_CLASSSTRING;
    if (const auto found = table.runtimeProgIds.find(progId); found != table.runtimeProgIds.end()) {
        *lpclsid = found->second;
        return S_OK;
    }
    if (const auto found = table.fileProgIds.find(progId); found != table.fileProgIds.end()) {
        *lpclsid = found->second;
        return S_OK;
    }
    return CO_E_CLASSSTRING;
}

HRESULT ProgIDFromCLSID(REFCLSID clsid, LPOLESTR* lplpszProgID) {
    if (lplpszProgID == nullptr)
        return E_INVALIDARG;
    *lplpszProgID = nullptr;
    ClassTable& table = Table();
    for (const auto* progIds : {&table.runtimeProgIds, &table.fileProgIds}) {
        for (const auto& [progId, id] : *progIds) {
            if (!IsEqualCLSID(id, clsid) || table.hidden.count(progId) != 0)
                continue;
            auto* text = static_cast<LPOLESTR>(CoTaskMemAlloc((progId.size() + 1) * sizeof(OLECHAR)));
            if (text == nullptr)
                return E_OUTOFMEMORY;
            std::copy(progId.begin(), progId.end(), text);
            text[progId.size()] = 0;
            *lplpszProgID = text;
            return S_OK;
        }
    }
    return REGDB_E_CLASSNOTREG;
}

HRESULT CoGetClassObject(REFCLSID rclsid, DWORD dwClsContext, void*, REFIID riid, LPVOID* ppv) {
    if (ppv == nullptr)
        return E_INVALIDARG;
    *ppv = nullptr;
    if (!ApartmentEntered())
        return CO_E_NOTINITIALIZED;
    if ((dwClsContext & CLSCTX_ALL) == 0)
        return E_INVALIDARG;
    if (const RuntimeRegistration* registration = FindRuntimeRegistration(rclsid))
        return registration->factory->QueryInterface(riid, ppv);
    ClassTable& table = Table();
    const auto server = table.servers.find(rclsid);
    if (server == table.servers.end() || (dwClsContext & CLSCTX_INPROC_SERVER) == 0)
        return REGDB_E_CLASSNOTREG;
    return server->second(rclsid, riid, ppv);
}

HRESULT CoCreateInstance(REFCLSID rclsid, IUnknown* pUnkOuter, DWORD dwClsContext, REFIID riid, LPVOID* ppv) {
    if (ppv == nullptr)
        return E_POINTER;
    *ppv = nullptr;
    ComPtr<IClassFactory> factory;
    const HRESULT hr =
        CoGetClassObject(rclsid, dwClsContext, nullptr, IID_IClassFactory, factory.ReleaseAndGetVoidAddress());
    if (FAILED(hr))
        return hr;
    if (!factory)
        return E_UNEXPECTED;
    return factory->CreateInstance(pUnkOuter, riid, ppv);
}

HRESULT CoRegisterClassObject(REFCLSID rclsid, IUnknown* pUnk, DWORD, DWORD, DWORD* lpdwRegister) {
    if (pUnk == nullptr || lpdwRegister == nullptr)
        return E_INVALIDARG;
    *lpdwRegister = 0;
    if (!ApartmentEntered())
        return CO_E_NOTINITIALIZED;
    ComPtr<IClassFactory> factory;
    if (FAILED(pUnk->QueryInterface(IID_IClassFactory, factory.ReleaseAndGetVoidAddress())))
        return E_NOINTERFACE;
    ClassTable& table = Table();
    const DWORD cookie = table.nextCookie++;
    table.registrations.push_back({cookie, rclsid, ComPtr<IUnknown>(pUnk)});
    *lpdwRegister = cookie;
    return S_OK;
}

HRESULT CoRevokeClassObject(DWORD dwRegister) {
    auto& registrations = Table().registrations;
    const auto found = std::find_if(registrations.begin(), registrations.end(),
                                    [&](const RuntimeRegistration& r) { return r.cookie == dwRegister; });
    if (found == registrations.end())
        return CO_E_OBJNOTREG;
    // Moved out first: releasing the factory may re-enter the class table.
    RuntimeRegistration revoked = std::move(*found);
    registrations.erase(found);
    return S_OK;
}

void* CoTaskMemAlloc(std::size_t cb) { return std::malloc(cb == 0 ? 1 : cb); }

void CoTaskMemFree(void* pv) { std::free(pv); }
