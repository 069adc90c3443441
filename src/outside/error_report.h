#pragma once
// The default error report: an error that no operation catches (start-up,
// an operator's command, a script run, a device event handler) ends up here
// and is shown in a message box with an error icon, caption "ZORV", its text
// with the full-stop rule. Tests put a recorder in place of the box.
#include <exception>
#include <functional>
#include <string>
#include <string_view>

namespace zorv::outside {

inline constexpr std::u16string_view kApplicationTitle = u"ZORV";

// The text an error carries: EOleError's text, or what() of other exceptions.
std::u16string ErrorText(const std::exception& error);

using ErrorReporter = std::function<void(std::u16string_view text)>;
// Replaces the reporter; an empty one restores the message box.
void SetErrorReporter(ErrorReporter reporter);

// Reports `text` through the current reporter.
void ReportError(std::u16string_view text);
// For use inside a catch block: reports the exception being handled. Never throws.
void ReportCurrentException() noexcept;

// Runs `action`, reporting whatever escapes it. Answers whether it completed.
template <class Action> bool Guarded(Action&& action) noexcept {
    try {
        action();
        return true;
    } catch (...) {
        ReportCurrentException();
        return false;
    }
}

} // namespace zorv::outside
