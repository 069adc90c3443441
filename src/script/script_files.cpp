#include "script/script_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "script/file_replace.h"

namespace zorv::script {
namespace {

QString& FolderOverride() {
    static QString folder;
    return folder;
}

std::string Utf8(const QString& text) {
    return text.toStdString();
}

QString CodePoint(char32_t c) {
    return QStringLiteral("U+") +
           QString::number(static_cast<unsigned>(c), 16).toUpper().rightJustified(4, QLatin1Char('0'));
}

} // namespace

QString ScriptFolder() {
    const QString folder =
        FolderOverride().isEmpty() ? QCoreApplication::applicationDirPath() : FolderOverride();
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

void SetScriptFolder(const QString& folder) {
    FolderOverride() = folder;
}

QString ScriptFilePath(const QString& displayName) {
    return ScriptFolder() + displayName;
}

QString WithCrLfLineEnds(const QString& text) {
    QString result;
    result.reserve(text.size() + text.size() / 16);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\r')) {
            result += QStringLiteral("\r\n");
            if (i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
                ++i;
        } else if (c == QLatin1Char('\n')) {
            result += QStringLiteral("\r\n");
        } else {
            result += c;
        }
    }
    return result;
}

ScriptFileContent ReadScriptFile(const QString& path) {
    ScriptFileContent content;
    const ScriptRead read = ReadScriptText(Utf8(path));
    if (read.file.failure == com::FileFailure::Missing)
        return content;
    if (!read.file.Read()) {
        content.origin.unreadable = QString::fromStdString(read.why);
        return content;
    }
    content.text = WithCrLfLineEnds(QString::fromStdU16String(read.script.text));
    content.origin.encoding = read.script.encoding;
    return content;
}

void WriteScriptFile(const QString& path, const QString& text, ScriptFileOrigin& origin) {
    if (!origin.unreadable.isEmpty()) {
        if (QFileInfo(path).exists() || QFileInfo(path).isSymLink())
            throw ScriptFileError(Utf8(
                QStringLiteral("Le script n'a pas été enregistré : le fichier « %1 » existe mais "
                               "n'a pas pu être lu (%2), et l'enregistrer remplacerait son contenu. "
                               "Renommez-le, ou corrigez ses droits puis choisissez de nouveau « %3 » "
                               "pour le charger")
                    .arg(QDir::toNativeSeparators(path), origin.unreadable, QFileInfo(path).fileName())));
        origin.unreadable.clear();
    }
    const EncodedText encoded = EncodeScriptText(text.toStdU16String(), origin.encoding);
    if (encoded.refused) {
        const QString shown = QString::fromUcs4(&encoded.refused->character, 1);
        throw ScriptFileError(
            Utf8(QStringLiteral("Le script n'a pas été enregistré : le caractère « %1 » (%2) de la "
                                "ligne %3 ne peut pas s'écrire en Windows-1252")
                     .arg(shown, CodePoint(encoded.refused->character))
                     .arg(encoded.refused->line)));
    }
    const std::string why = ReplaceFileContent(Utf8(path), encoded.bytes);
    if (!why.empty())
        throw ScriptFileError(Utf8(QStringLiteral("Impossible d'enregistrer le script « %1 » : %2")
                                       .arg(QDir::toNativeSeparators(path), QString::fromStdString(why))));
}

void WriteScriptFile(const QString& path, const QString& text) {
    ScriptFileOrigin origin;
    WriteScriptFile(path, text, origin);
}

} // namespace zorv::script
