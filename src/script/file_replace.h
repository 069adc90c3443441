#pragma once
// Replacing a file's whole content so that a failure never loses the old one:
// the bytes go to a new file in the same folder, which then takes the old
// one's name. When the folder refuses new files but the file itself may be
// written, it is written in place, as older versions of the program did.
#include <string>
#include <string_view>

namespace zorv::script {

// Empty on success; otherwise why it failed, in French.
std::string ReplaceFileContent(const std::string& path, std::string_view bytes);

} // namespace zorv::script
