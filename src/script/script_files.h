#pragma once
// The script files: one per kind beside the executable, named by the kind's
// display name with no extension, Windows-1252 text with CR LF line ends and
// nothing added.
#include <QString>
#include <optional>
#include <stdexcept>

namespace zorv::script {

// A save that was refused or failed; its text is for the operator.
class ScriptFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The folder that holds the executable, with its trailing separator.
// Tests point it elsewhere, never to leave files beside the real program.
QString ScriptFolder();
void SetScriptFolder(const QString& folder);
QString ScriptFilePath(const QString& displayName);

// Lone CR and lone LF become CR LF.
QString WithCrLfLineEnds(const QString& text);

// The file's text with CR LF line ends, or nothing when it is missing or unreadable.
std::optional<QString> ReadScriptFile(const QString& path);

// Writes to a temporary file in the same folder and renames it over the old
// one, so a failure never loses the previous script. Text the code page
// cannot hold is refused, naming its first such character and line.
void WriteScriptFile(const QString& path, const QString& text);

} // namespace zorv::script
