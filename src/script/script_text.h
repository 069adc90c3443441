#pragma once
// A script file's bytes and its text, the same for the window and zorv-vbs:
// Windows-1252, unless the file starts with a UTF-8 byte-order mark. A text
// is written back the way its file was stored.
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/com/regular_file.h"
#include "script/windows1252.h"

namespace zorv::script {

// The largest script file read; beyond it the file is refused, not read.
constexpr std::size_t kMaxScriptFileBytes = std::size_t{64} << 20;

enum class ScriptEncoding { Windows1252, Utf8WithMark };

struct ScriptText {
    std::u16string text;
    ScriptEncoding encoding = ScriptEncoding::Windows1252;
};

ScriptText DecodeScriptText(std::string_view bytes);
// Refuses, as EncodeWindows1252 does, what the encoding cannot hold.
EncodedText EncodeScriptText(std::u16string_view text, ScriptEncoding encoding);

struct ScriptRead {
    ScriptText script;   // when the file was read
    com::FileBytes file; // its failure, if any
    std::string why;     // that failure in French, empty when read
};
ScriptRead ReadScriptText(const std::string& path);

} // namespace zorv::script
