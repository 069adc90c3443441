// Windows: component libraries through LoadLibrary, the program's folder from
// its module name.
#include "../library_loading.h"

#include <windows.h>

#include <system_error>

namespace zorv::com {
namespace {

std::string SystemMessage(DWORD error) {
    return std::system_category().message(static_cast<int>(error));
}

} // namespace

void* LoadLibrarySymbol(const std::filesystem::path& library, const char* symbol, std::string& why) {
    const DWORD attributes = GetFileAttributesW(library.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
        why = "la bibliothèque " + Quoted(library.string()) +
              (missing ? " est introuvable" : " est inaccessible (" + SystemMessage(error) + ")");
        return nullptr;
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        why = "la bibliothèque " + Quoted(library.string()) + " n'est pas un fichier ordinaire";
        return nullptr;
    }
    // Its own folder first for the libraries it needs, as for an in-process server.
    const HMODULE module = LoadLibraryExW(library.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (module == nullptr) {
        why = "la bibliothèque " + Quoted(library.string()) +
              " ne se charge pas : " + SystemMessage(GetLastError());
        return nullptr;
    }
    void* entry = reinterpret_cast<void*>(GetProcAddress(module, symbol));
    if (entry == nullptr)
        why = "la bibliothèque " + Quoted(library.string()) + " n'exporte pas " + symbol;
    // Loaded libraries stay loaded: unloading code that may still run is not worth the risk.
    return entry;
}

std::string ExecutableFolder() {
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length == 0)
            return {};
        if (length < name.size()) {
            name.resize(length);
            break;
        }
        name.resize(name.size() * 2);
    }
    return std::filesystem::path(name).parent_path().string();
}

} // namespace zorv::com
