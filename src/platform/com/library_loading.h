#pragma once
// Where the class table meets the system: loading a component library and
// finding the running program's folder. No component types here, so that
// the Windows side can include the system's headers alone.
#include <filesystem>
#include <string>

namespace zorv::com {

// The address of `symbol` in `library`, loaded and kept loaded; null and the
// reason otherwise.
void* LoadLibrarySymbol(const std::filesystem::path& library, const char* symbol, std::string& why);

// The folder of the running executable; empty when it cannot be known.
std::string ExecutableFolder();

// « text », as the reports quote names.
inline std::string Quoted(const std::string& text) {
    return "« " + text + " »";
}

} // namespace zorv::com
