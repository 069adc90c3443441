#pragma once
// The script files: one per kind beside the executable, named by the kind's
// display name with no extension, Windows-1252 text with CR LF line ends and
// nothing added (or UTF-8 after a byte-order mark, when the file came so).
#include <QString>
#include <stdexcept>

#include "script/script_text.h"

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

// What the last reading found, which the next save must respect: how the
// file was stored, or that it exists and could not be read.
struct ScriptFileOrigin {
    ScriptEncoding encoding = ScriptEncoding::Windows1252;
    QString unreadable; // why, when the file exists but was not read
};

struct ScriptFileContent {
    QString text; // CR LF line ends; empty when missing or unreadable
    ScriptFileOrigin origin;
};

// The file's text; a missing file gives an empty text and nothing else.
ScriptFileContent ReadScriptFile(const QString& path);

// Writes the text, encoded as `origin` says, to a new file in the same folder
// that then replaces the old one, so a failure never loses the previous
// script (in place when only the file may be written). Refused, before
// anything is touched: text the encoding cannot hold (naming its first such
// character and line), and a file that exists but could not be read when it
// was loaded, which the text never held. A save clears that refusal once the
// file is gone.
void WriteScriptFile(const QString& path, const QString& text, ScriptFileOrigin& origin);
void WriteScriptFile(const QString& path, const QString& text);

} // namespace zorv::script
