#include "script/preamble.h"

#include "script/publication.h"

namespace zorv::script {
namespace {

constexpr std::u16string_view kLineEnd = u"\r\n";

void AddLine(std::u16string& text, std::initializer_list<std::u16string_view> parts) {
    for (std::u16string_view part : parts)
        text += part;
    text += kLineEnd;
}

} // namespace

std::u16string BuildPreamble(const std::vector<const devices::DeviceKind*>& present) {
    std::u16string text;
    AddLine(text, {u"Dim reg"});
    AddLine(text, {u"Set reg = CreateObject(\"", kRegistryProgId, u"\")"});
    for (const devices::DeviceKind* kind : present) {
        AddLine(text, {u"Dim ", kind->displayName});
        AddLine(text, {u"Set ", kind->displayName, u" = reg.GetObject(\"", kind->registryName, u"\")"});
    }
    return text;
}

} // namespace zorv::script
