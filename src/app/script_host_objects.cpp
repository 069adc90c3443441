#include "app/app_zorv.h"

#include <QCoreApplication>

#include "script/wscript/control_errors.h"
#include "outside/error_report.h"
#include "outside/late_bound.h"
#include "outside/message_box.h"
#include "platform/com/text.h"
#include "script/script_files.h"
#include "script/wscript/wscript_object.h"

// What the window's scripts get beside the preamble: the WScript object
// (Echo in a message box, Sleep that keeps the window alive, CreateObject and
// ConnectObject binding device events to procedures), and the report of an
// event handler that fails once the run is over.
namespace zorv::app {
namespace {

std::u16string Number(const com::Variant& value) {
    LONG number = 0;
    value.ToLong(number);
    return com::Utf8ToUtf16(std::to_string(number));
}

// As a run error reads: the description and where it happened.
std::u16string HandlerErrorText(IDispatch* control) {
    const com::Variant error = outside::GetProperty(control, u"Error");
    IDispatch* object = error.vt == VT_DISPATCH ? error.pdispVal : nullptr;
    if (object == nullptr)
        return {};
    std::u16string text;
    outside::GetProperty(object, u"Description").ToString(text);
    const std::u16string line = Number(outside::GetProperty(object, u"Line"));
    if (line != u"0")
        text += u" (ligne " + line + u", colonne " + Number(outside::GetProperty(object, u"Column")) + u")";
    return text;
}

} // namespace

void TFrmAppZORV::AddScriptHostObjects() {
    IDispatch* control = FScriptControl.Get();
    tools::WScriptHost host;
    host.hostFullName = QCoreApplication::applicationFilePath().toStdU16String();
    host.scriptFullName =
        script::ScriptFilePath(
            QString::fromUtf16(FCurrentDevice.data(), static_cast<qsizetype>(FCurrentDevice.size())))
            .toStdU16String();
    host.control = control;
    host.echo = [](std::u16string_view line) { outside::ShowMessageBox(line, ui::Icon::Information); };
    host.setTimeout = [control](long seconds) {
        outside::PutProperty(control, u"Timeout", LONG{seconds > 0 ? static_cast<LONG>(seconds * 1000) : -1});
    };
    outside::CallMethod(control, u"AddObject", {u"WScript", tools::MakeWScript(std::move(host)).Get()});
    FScriptErrors = std::make_shared<tools::ControlErrors>(control, [control] {
        outside::Guarded([control] { outside::ReportError(HandlerErrorText(control)); });
    });
}

} // namespace zorv::app
