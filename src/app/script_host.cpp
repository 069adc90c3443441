#include "app/app_zorv.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>

#include "app/create_object.h"
#include "outside/error_report.h"
#include "outside/late_bound.h"
#include "outside/message_box.h"
#include "platform/com/class_table.h"
#include "script/preamble.h"
#include "script/script_files.h"

// The script page and the script host: the kind's script file, the fresh
// engine prepared at each selection, run and save, and running a procedure.
namespace zorv::app {
namespace {

QString ToQString(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

void TFrmAppZORV::LoadScriptOfCurrentKind() {
    // Silent even when the file exists and cannot be read; the save refuses then.
    script::ScriptFileContent content =
        script::ReadScriptFile(script::ScriptFilePath(ToQString(FCurrentDevice)));
    FScriptFile = std::move(content.origin);
    if (!content.text.isEmpty())
        SetScriptText(content.text);
}

QString TFrmAppZORV::ScriptText() const {
    // Raw text: paragraph separators, and the line separators that Shift+Enter
    // inserts, are the lines' ends; nothing else is touched (no-break spaces
    // stay what they are).
    QString text = MmScript->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    text.replace(QChar::LineSeparator, QStringLiteral("\r\n"));
    return text;
}

void TFrmAppZORV::SetScriptText(const QString& text) {
    QString lines = script::WithCrLfLineEnds(text);
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    MmScript->setPlainText(lines);
}

std::vector<const devices::DeviceKind*> TFrmAppZORV::PresentKinds() const {
    std::vector<const devices::DeviceKind*> present;
    for (const devices::DeviceKind& kind : devices::DeviceKinds())
        if (Control(kind.id) != nullptr)
            present.push_back(&kind);
    return present;
}

void TFrmAppZORV::InitScriptControl() {
    if (!FScriptEnabled)
        return;
    FScriptErrors.reset();
    FScriptControl.Reset();
    try {
        FScriptControl = CreateObject(com::OwnClass(u"ScriptControl"));
        outside::PutProperty(FScriptControl.Get(), u"language", u"VBScript");
        AddScriptHostObjects();
        outside::CallMethod(FScriptControl.Get(), u"addcode", {script::BuildPreamble(PresentKinds())});
        outside::CallMethod(FScriptControl.Get(), u"addcode", {ScriptText().toStdU16String()});
    } catch (const std::exception& error) {
        ScriptPreparationFailed(outside::ErrorText(error));
    }
}

void TFrmAppZORV::ScriptPreparationFailed(std::u16string_view errorText) {
    FScriptEnabled = false;
    LbScript->setEnabled(false);
    EdtFonction->setEnabled(false);
    BtnExecuter->setEnabled(false);
    outside::ShowMessageBox(u"Le contrôle OLE \"ScriptControl\" n'a pas été correctement initialisé !\r"
                            u"Par conséquent, vous ne pouvez pas utiliser de script dans ZORV. (" +
                                std::u16string(errorText) + u")",
                            ui::Icon::Warning);
}

void TFrmAppZORV::BtnExecuterClick() {
    BtnExecuter->setEnabled(false);
    struct EnableAgain {
        QPushButton* button;
        ~EnableAgain() { button->setEnabled(true); }
    } enableAgain{BtnExecuter};
    InitScriptControl();
    outside::CallMethod(FScriptControl.Get(), u"run", {EdtFonction->text().toStdU16String()});
    BtnRafraichirClick();
}

void TFrmAppZORV::BtnEnregistrerClick() {
    script::WriteScriptFile(script::ScriptFilePath(ToQString(FCurrentDevice)), ScriptText(), FScriptFile);
    InitScriptControl();
}

} // namespace zorv::app
