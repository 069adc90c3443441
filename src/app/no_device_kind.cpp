#include "app/no_device_kind.h"

#include <vector>

#include "devices/device_kinds.h"
#include "platform/com/class_table.h"
#include "platform/com/text.h"

namespace zorv::app {

std::u16string NoDeviceKindText() {
    std::u16string text =
        u"Aucun type de périphérique n'a pu être chargé : ZORV va se fermer.\rComposants recherchés :";
    const char16_t* separator = u" ";
    for (const devices::DeviceKind& kind : devices::DeviceKinds()) {
        text += separator + std::u16string(kind.progId);
        separator = u", ";
    }
    const std::string folder = com::DefaultComponentFolder();
    text += u"\rDossier des composants : " + (folder.empty() ? u"(aucun)" : com::Utf8ToUtf16(folder));
    const std::vector<std::string> problems = com::ComponentDiagnostics();
    if (!problems.empty())
        text += u"\rProblèmes :";
    for (const std::string& problem : problems)
        text += u"\r  " + com::Utf8ToUtf16(problem);
    return text;
}

} // namespace zorv::app
