#include "script/script_text.h"

#include "platform/com/text.h"

namespace zorv::script {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

} // namespace

ScriptText DecodeScriptText(std::string_view bytes) {
    if (bytes.substr(0, kUtf8Mark.size()) == kUtf8Mark)
        return {com::Utf8ToUtf16(bytes.substr(kUtf8Mark.size())), ScriptEncoding::Utf8WithMark};
    return {DecodeWindows1252(bytes), ScriptEncoding::Windows1252};
}

EncodedText EncodeScriptText(std::u16string_view text, ScriptEncoding encoding) {
    if (encoding == ScriptEncoding::Windows1252)
        return EncodeWindows1252(text);
    EncodedText encoded;
    encoded.bytes = std::string(kUtf8Mark) + com::Utf16ToUtf8(text);
    return encoded;
}

ScriptRead ReadScriptText(const std::string& path) {
    ScriptRead read;
    read.file = com::ReadRegularFile(path, kMaxScriptFileBytes);
    if (!read.file.Read()) {
        read.why = com::FileFailureText(read.file, kMaxScriptFileBytes);
        return read;
    }
    read.script = DecodeScriptText(read.file.bytes);
    read.file.bytes.clear();
    read.file.bytes.shrink_to_fit();
    return read;
}

} // namespace zorv::script
