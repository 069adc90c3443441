#include "script/script_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>

#include "platform/com/text.h"
#include "script/windows1252.h"

namespace zorv::script {
namespace {

QString& FolderOverride() {
    static QString folder;
    return folder;
}

std::string Utf8(const QString& text) { return text.toStdString(); }

QString CodePoint(char32_t c) {
    return QStringLiteral("U+") + QString::number(static_cast<unsigned>(c), 16).toUpper().rightJustified(4, QLatin1Char('0'));
}

} // namespace

QString ScriptFolder() {
    const QString folder =
        FolderOverride().isEmpty() ? QCoreApplication::applicationDirPath() : FolderOverride();
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

void SetScriptFolder(const QString& folder) { FolderOverride() = folder; }

QString ScriptFilePath(const QString& displayName) { return ScriptFolder() + displayName; }

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

std::optional<QString> ReadScriptFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    const std::u16string text = DecodeWindows1252(std::string_view(bytes.constData(), bytes.size()));
    return WithCrLfLineEnds(QString::fromStdU16String(text));
}

void WriteScriptFile(const QString& path, const QString& text) {
    const EncodedText encoded = EncodeWindows1252(text.toStdU16String());
    if (encoded.refused) {
        const QString shown = QString::fromUcs4(&encoded.refused->character, 1);
        throw ScriptFileError(Utf8(QStringLiteral("Le script n'a pas été enregistré : le caractère « %1 » (%2) de la "
                                                  "ligne %3 ne peut pas s'écrire en Windows-1252")
                                       .arg(shown, CodePoint(encoded.refused->character))
                                       .arg(encoded.refused->line)));
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(encoded.bytes.data(), static_cast<qint64>(encoded.bytes.size())) !=
            static_cast<qint64>(encoded.bytes.size()) ||
        !file.commit()) {
        throw ScriptFileError(Utf8(QStringLiteral("Impossible d'enregistrer le script « %1 » : %2")
                                       .arg(QDir::toNativeSeparators(path), file.errorString())));
    }
}

} // namespace zorv::script
