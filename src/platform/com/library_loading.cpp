#include "library_loading.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include <cerrno>

#include "file_error_text.h"

namespace zorv::com {

void* LoadLibrarySymbol(const std::filesystem::path& library, const char* symbol, std::string& why) {
    struct stat info {};
    if (::stat(library.c_str(), &info) != 0) {
        why = "la bibliothèque " + Quoted(library.string()) +
              (errno == ENOENT ? " est introuvable" : " est inaccessible (" + FileErrorText(errno) + ")");
        return nullptr;
    }
    // dlopen would block on a FIFO and read a device without end.
    if (!S_ISREG(info.st_mode)) {
        why = "la bibliothèque " + Quoted(library.string()) + " n'est pas un fichier ordinaire";
        return nullptr;
    }
    void* handle = dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* error = dlerror();
        why = "la bibliothèque " + Quoted(library.string()) + " ne se charge pas : " + (error ? error : "?");
        return nullptr;
    }
    void* entry = dlsym(handle, symbol);
    if (entry == nullptr)
        why = "la bibliothèque " + Quoted(library.string()) + " n'exporte pas " + symbol;
    // Loaded libraries stay loaded: unloading code that may still run is not worth the risk.
    return entry;
}

std::string ExecutableFolder() {
    std::error_code error;
    const auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : path.parent_path().string();
}

} // namespace zorv::com
