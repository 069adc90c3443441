#pragma once
// The folder of the library this code is in (the component's own), where
// its profile file and statistics sit; empty when the system cannot tell.
#include <filesystem>

namespace zorv::opos {

std::filesystem::path LibraryFolder();

} // namespace zorv::opos
