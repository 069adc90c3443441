#include "component_report.h"

#include "class_table.h"
#include "text.h"

namespace zorv::com {
namespace {

std::string ComponentLine(const LoadedComponent& component) {
    std::string line = "  " + component.file + " (" + component.library + ") :";
    const char* separator = " ";
    for (const std::u16string& progId : component.progIds) {
        line += separator + Utf16ToUtf8(progId);
        separator = ", ";
    }
    return line;
}

} // namespace

std::vector<std::string> ComponentReportLines() {
    const std::vector<ComponentFolderReport> folders = ComponentFolderReports();
    std::vector<std::string> lines;
    if (folders.empty())
        lines.push_back("Aucun dossier de composants n'a été lu.");
    for (const ComponentFolderReport& folder : folders) {
        lines.push_back("Composants de « " + folder.folder + " » :");
        if (folder.components.empty())
            lines.push_back("  aucun");
        for (const LoadedComponent& component : folder.components)
            lines.push_back(ComponentLine(component));
    }
    const std::vector<std::string> problems = ComponentDiagnostics();
    lines.push_back(problems.empty() ? "Problèmes : aucun" : "Problèmes :");
    for (const std::string& problem : problems)
        lines.push_back("  " + problem);
    return lines;
}

} // namespace zorv::com
