#include "class_table.h"
#include "class_registration.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <unordered_map>

#include "apartment.h"
#include "com_ptr.h"
#include "file_error_text.h"
#include "library_loading.h"
#include "registration_file.h"
#include "regular_file.h"
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

// A class served by a component library, and the registration file that declared it.
struct FileClass {
    CLSID clsid;
    std::string source;
};

struct ClassTable {
    std::map<std::u16string, FileClass, ProgIdLess> fileProgIds;
    std::unordered_map<CLSID, std::string, GuidHash> fileClsidSources;
    std::map<std::u16string, CLSID, ProgIdLess> runtimeProgIds;
    std::set<std::u16string, ProgIdLess> hidden;
    std::unordered_map<CLSID, DllGetClassObjectFunction, GuidHash> servers;
    std::vector<RuntimeRegistration> registrations;
    DWORD nextCookie = 1;
    std::set<std::string> foldersRead;
    std::vector<ComponentFolderReport> folders;
    // Why a ProgID that a registration file declared is not served.
    std::map<std::u16string, std::string, ProgIdLess> unavailable;
    bool defaultFolderSet = false;
    std::string defaultFolder;
};

ClassTable& Table() {
    static ClassTable table;
    return table;
}

// Registration files are a few lines; anything bigger is not one.
constexpr std::size_t kMaxRegistrationFileBytes = std::size_t{1} << 20;

// A registration file read and parsed, whose classes are not yet served.
struct Candidate {
    std::filesystem::path path;
    std::string name;
    RegistrationFile file;
};

void Unavailable(const RegisteredClass& cls, std::string why) {
    Table().unavailable[cls.progId] = std::move(why);
}

std::optional<Candidate> ReadCandidate(const std::filesystem::path& path, ComponentFolderReport& report) {
    Candidate candidate{path, path.filename().string(), {}};
    const FileBytes text = ReadRegularFile(path.string(), kMaxRegistrationFileBytes);
    if (!text.Read()) {
        report.problems.push_back(candidate.name + " : illisible (" +
                                  FileFailureText(text, kMaxRegistrationFileBytes) + ")");
        return std::nullopt;
    }
    candidate.file = ParseRegistrationFile(text.bytes, candidate.name);
    report.problems.insert(report.problems.end(), candidate.file.problems.begin(),
                           candidate.file.problems.end());
    return candidate;
}

// The first file of this folder that declared each ProgID and each class
// identifier; a second declaration in another file disputes it.
class Declarations {
public:
    Declarations(std::vector<Candidate>& candidates, ComponentFolderReport& report)
        : candidates_(candidates), report_(report) {}

    void Find() {
        for (std::size_t i = 0; i < candidates_.size(); ++i)
            for (const RegisteredClass& cls : candidates_[i].file.classes)
                Declare(cls, i);
    }

    // Leaves out every disputed class, in each file that declared it.
    void Reject() {
        for (Candidate& candidate : candidates_) {
            auto& classes = candidate.file.classes;
            classes.erase(std::remove_if(classes.begin(), classes.end(),
                                         [&](const RegisteredClass& cls) { return Disputed(cls); }),
                          classes.end());
        }
    }

private:
    void Declare(const RegisteredClass& cls, std::size_t file) {
        ClassTable& table = Table();
        const std::string& name = candidates_[file].name;
        const std::string progId = Utf16ToUtf8(cls.progId);
        if (const auto earlier = table.fileProgIds.find(cls.progId); earlier != table.fileProgIds.end())
            return Refuse(cls, progId + " est déjà déclaré par " + earlier->second.source, name);
        if (const auto earlier = table.fileClsidSources.find(cls.clsid);
            earlier != table.fileClsidSources.end())
            return Refuse(
                cls, "la classe " + GuidToString(cls.clsid) + " est déjà déclarée par " + earlier->second,
                name);
        const auto [byName, newName] = progIds_.emplace(cls.progId, file);
        if (!newName && byName->second != file)
            Dispute(cls, "déclaré à la fois par " + candidates_[byName->second].name + " et par " + name,
                    Utf16ToUtf8(byName->first));
        const auto [byClass, newClass] = clsids_.emplace(cls.clsid, file);
        if (!newClass && byClass->second != file)
            Dispute(cls,
                    "classe " + GuidToString(cls.clsid) + " déclarée à la fois par " +
                        candidates_[byClass->second].name + " et par " + name,
                    progId);
    }

    // A class a folder read earlier already serves keeps its server; the newcomer is left out.
    void Refuse(const RegisteredClass& cls, const std::string& why, const std::string& file) {
        report_.problems.push_back(why + " : la déclaration de " + file + " n'est pas retenue");
        refused_.insert(cls.progId);
    }

    void Dispute(const RegisteredClass& cls, const std::string& why, const std::string& progId) {
        report_.problems.push_back(progId + " : " + why + " ; aucune des déclarations n'est retenue");
        disputedProgIds_[cls.progId] = why;
        disputedClsids_.emplace(cls.clsid, why);
    }

    bool Disputed(const RegisteredClass& cls) {
        if (refused_.count(cls.progId) != 0)
            return true;
        if (const auto byName = disputedProgIds_.find(cls.progId); byName != disputedProgIds_.end()) {
            Unavailable(cls, byName->second);
            return true;
        }
        if (const auto byClass = disputedClsids_.find(cls.clsid); byClass != disputedClsids_.end()) {
            Unavailable(cls, byClass->second);
            return true;
        }
        return false;
    }

    std::vector<Candidate>& candidates_;
    ComponentFolderReport& report_;
    std::map<std::u16string, std::size_t, ProgIdLess> progIds_;
    std::unordered_map<CLSID, std::size_t, GuidHash> clsids_;
    std::map<std::u16string, std::string, ProgIdLess> disputedProgIds_;
    std::unordered_map<CLSID, std::string, GuidHash> disputedClsids_;
    std::set<std::u16string, ProgIdLess> refused_;
};

std::size_t Serve(const Candidate& candidate, ComponentFolderReport& report) {
    ClassTable& table = Table();
    if (candidate.file.classes.empty())
        return 0;
    std::string why;
    const auto entry = reinterpret_cast<DllGetClassObjectFunction>(
        LoadLibrarySymbol(candidate.path.parent_path() / candidate.file.library, "DllGetClassObject", why));
    if (entry == nullptr) {
        report.problems.push_back(candidate.name + " : " + why);
        for (const RegisteredClass& cls : candidate.file.classes)
            Unavailable(cls, candidate.name + " : " + why);
        return 0;
    }
    LoadedComponent loaded{candidate.name, candidate.file.library, {}};
    for (const RegisteredClass& cls : candidate.file.classes) {
        table.fileProgIds.emplace(cls.progId, FileClass{cls.clsid, candidate.path.string()});
        // Our own name for the class too, which no other server takes.
        table.fileProgIds.emplace(OwnProgIdOf(cls.progId), FileClass{cls.clsid, candidate.path.string()});
        table.fileClsidSources.emplace(cls.clsid, candidate.path.string());
        table.servers.emplace(cls.clsid, entry);
        table.unavailable.erase(cls.progId);
        loaded.progIds.push_back(cls.progId);
    }
    report.components.push_back(std::move(loaded));
    return candidate.file.classes.size();
}

std::vector<std::filesystem::path> RegistrationFiles(const std::string& folder,
                                                     ComponentFolderReport& report) {
    std::error_code error;
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        if (entry.path().extension() == ".classes")
            files.push_back(entry.path());
    if (error) {
        report.problems.push_back("dossier " + Quoted(folder) + " : " + FileErrorText(error.value()));
        return {};
    }
    // Sorted, so that the report does not depend on the directory's order.
    std::sort(files.begin(), files.end());
    return files;
}

#ifndef _WIN32
const RuntimeRegistration* FindRuntimeRegistration(const CLSID& clsid) {
    const auto& registrations = Table().registrations;
    const auto found =
        std::find_if(registrations.rbegin(), registrations.rend(),
                     [&](const RuntimeRegistration& r) { return IsEqualCLSID(r.clsid, clsid); });
    return found == registrations.rend() ? nullptr : &*found;
}

#endif
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
    ComponentFolderReport report{folder, {}, {}};
    std::vector<Candidate> candidates;
    for (const auto& file : RegistrationFiles(folder, report))
        if (auto candidate = ReadCandidate(file, report))
            candidates.push_back(std::move(*candidate));
    Declarations declarations(candidates, report);
    declarations.Find();
    declarations.Reject();
    std::size_t added = 0;
    for (const Candidate& candidate : candidates)
        added += Serve(candidate, report);
    table.folders.push_back(std::move(report));
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
#ifdef _WIN32
    return executable; // one folder for all, see the build
#else
    return executable.empty() ? std::string() : executable + "/components";
#endif
}

std::vector<std::string> ComponentDiagnostics() {
    std::vector<std::string> problems;
    for (const ComponentFolderReport& folder : Table().folders)
        problems.insert(problems.end(), folder.problems.begin(), folder.problems.end());
    return problems;
}

std::vector<ComponentFolderReport> ComponentFolderReports() {
    return Table().folders;
}

std::optional<std::string> WhyProgIDUnavailable(std::u16string_view progId) {
    const auto& unavailable = Table().unavailable;
    const auto found = unavailable.find(std::u16string(progId));
    if (found == unavailable.end())
        return std::nullopt;
    return found->second;
}

namespace {

// The class a ProgID names in this process's table: run-time ProgIDs first,
// then those of the registration files.
HRESULT ClassOfProgIdInTable(std::u16string_view name, CLSID* clsid) {
    const std::u16string progId(name);
    ClassTable& table = Table();
    if (table.hidden.count(progId) != 0)
        return CO_E_CLASSSTRING;
    if (const auto found = table.runtimeProgIds.find(progId); found != table.runtimeProgIds.end()) {
        *clsid = found->second;
        return S_OK;
    }
    if (const auto found = table.fileProgIds.find(progId); found != table.fileProgIds.end()) {
        *clsid = found->second.clsid;
        return S_OK;
    }
    return CO_E_CLASSSTRING;
}

// The factory of a class served by a component library of the folders read.
HRESULT FileClassObject(REFCLSID rclsid, DWORD context, REFIID riid, void** ppv) {
    ClassTable& table = Table();
    const auto server = table.servers.find(rclsid);
    if (server == table.servers.end() || (context & CLSCTX_INPROC_SERVER) == 0)
        return REGDB_E_CLASSNOTREG;
    return server->second(rclsid, riid, ppv);
}

} // namespace

std::u16string OwnClass(std::u16string_view standardProgId) {
#ifdef _WIN32
    return OwnProgIdOf(std::u16string(standardProgId));
#else
    return std::u16string(standardProgId);
#endif
}

#ifdef _WIN32
// The system's registry first, so that installed controls are what the bench
// drives; the registration files beside the program serve what it lacks, so
// that the program runs without being registered.
HRESULT FindClass(std::u16string_view progId, CLSID* clsid) {
    if (clsid == nullptr)
        return E_INVALIDARG;
    *clsid = CLSID_NULL;
    ClassTable& table = Table();
    const std::u16string name(progId);
    if (name.empty() || table.hidden.count(name) != 0)
        return CO_E_CLASSSTRING;
    if (const auto found = table.runtimeProgIds.find(name); found != table.runtimeProgIds.end()) {
        *clsid = found->second;
        return S_OK;
    }
    if (const std::string folder = DefaultComponentFolder(); !folder.empty())
        LoadComponentFolder(folder);
    // ZORV_OWN_COMPONENTS set: the components beside the program before the
    // installed ones (to try ours where the system has its own).
    const char* own = std::getenv("ZORV_OWN_COMPONENTS");
    if (own != nullptr && *own != '\0' && SUCCEEDED(ClassOfProgIdInTable(name, clsid)))
        return S_OK;
    if (SUCCEEDED(::CLSIDFromProgID(ToOle(name.c_str()), clsid)))
        return S_OK;
    *clsid = CLSID_NULL;
    return ClassOfProgIdInTable(name, clsid);
}

HRESULT CreateInstance(REFCLSID clsid, DWORD context, REFIID riid, void** ppv) {
    if (ppv == nullptr)
        return E_POINTER;
    *ppv = nullptr;
    ComPtr<IClassFactory> factory;
    if (SUCCEEDED(FileClassObject(clsid, context, IID_IClassFactory, factory.ReleaseAndGetVoidAddress())) &&
        factory)
        return factory->CreateInstance(nullptr, riid, ppv);
    return ::CoCreateInstance(clsid, nullptr, context, riid, ppv);
}
#else
HRESULT FindClass(std::u16string_view progId, CLSID* clsid) {
    const std::u16string name(progId);
    return CLSIDFromProgID(name.c_str(), clsid);
}

HRESULT CreateInstance(REFCLSID clsid, DWORD context, REFIID riid, void** ppv) {
    return CoCreateInstance(clsid, nullptr, context, riid, ppv);
}
#endif

} // namespace zorv::com

using namespace zorv::com;

#ifndef _WIN32

HRESULT CLSIDFromProgID(LPCOLESTR lpszProgID, LPCLSID lpclsid) {
    if (lpclsid == nullptr)
        return E_INVALIDARG;
    *lpclsid = CLSID_NULL;
    if (lpszProgID == nullptr)
        return E_INVALIDARG;
    return ClassOfProgIdInTable(lpszProgID, lpclsid);
}

HRESULT ProgIDFromCLSID(REFCLSID clsid, LPOLESTR* lplpszProgID) {
    if (lplpszProgID == nullptr)
        return E_INVALIDARG;
    *lplpszProgID = nullptr;
    ClassTable& table = Table();
    std::vector<std::pair<const std::u16string*, CLSID>> progIds;
    for (const auto& [progId, id] : table.runtimeProgIds)
        progIds.emplace_back(&progId, id);
    for (const auto& [progId, served] : table.fileProgIds)
        progIds.emplace_back(&progId, served.clsid);
    for (const auto& [progId, id] : progIds) {
        if (!IsEqualCLSID(id, clsid) || table.hidden.count(*progId) != 0)
            continue;
        auto* text = static_cast<LPOLESTR>(CoTaskMemAlloc((progId->size() + 1) * sizeof(OLECHAR)));
        if (text == nullptr)
            return E_OUTOFMEMORY;
        std::copy(progId->begin(), progId->end(), text);
        text[progId->size()] = 0;
        *lplpszProgID = text;
        return S_OK;
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
    return FileClassObject(rclsid, dwClsContext, riid, ppv);
}

HRESULT CoCreateInstance(REFCLSID rclsid, IUnknown* pUnkOuter, DWORD dwClsContext, REFIID riid, LPVOID* ppv) {
    if (ppv == nullptr)
        return E_POINTER;
    *ppv = nullptr;
    ComPtr<IClassFactory> factory;
    const HRESULT hr = CoGetClassObject(rclsid, dwClsContext, nullptr, IID_IClassFactory,
                                        factory.ReleaseAndGetVoidAddress());
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

void* CoTaskMemAlloc(std::size_t cb) {
    return std::malloc(cb == 0 ? 1 : cb);
}

void CoTaskMemFree(void* pv) {
    std::free(pv);
}
#endif // _WIN32
