#include "outside/error_report.h"

#include "outside/error_report_text.h"
#include "outside/message_box.h"
#include "outside/ole_error.h"
#include "platform/com/text.h"

namespace zorv::outside {
namespace {

ErrorReporter& CurrentReporter() {
    static ErrorReporter reporter;
    return reporter;
}

void ShowErrorBox(std::u16string_view text) {
    ShowMessageBox(ErrorReportText(text), ui::Icon::Error);
}

} // namespace

std::u16string ErrorText(const std::exception& error) {
    if (const auto* ole = dynamic_cast<const EOleError*>(&error))
        return com::Utf8ToUtf16(ole->Text());
    return com::Utf8ToUtf16(error.what());
}

void SetErrorReporter(ErrorReporter reporter) {
    CurrentReporter() = std::move(reporter);
}

void ReportError(std::u16string_view text) {
    if (CurrentReporter())
        CurrentReporter()(text);
    else
        ShowErrorBox(text);
}

void ReportCurrentException() noexcept {
    try {
        try {
            throw;
        } catch (const std::exception& error) {
            ReportError(ErrorText(error));
        } catch (...) {
            ReportError(u"Erreur inattendue");
        }
    } catch (...) {
        // A reporter that fails has nowhere left to report to.
    }
}

} // namespace zorv::outside
