#pragma once
// The one error type that failed calls on outside components raise.
#include <stdexcept>
#include <string>

#include "platform/com/dispatch.h"

namespace zorv::outside {

class EOleError : public std::runtime_error {
public:
    EOleError(std::string text, HRESULT code)
        : std::runtime_error(text), text_(std::move(text)), code_(code) {}

    // UTF-8.
    const std::string& Text() const { return text_; }
    HRESULT Code() const { return code_; }

private:
    std::string text_;
    HRESULT code_;
};

// A component's description with its trailing spaces, control characters
// and full stops removed.
std::string CleanDescription(std::u16string_view description);

// The text of a failed call: the component's cleaned description when it
// reported an exception with one; otherwise the platform's text for the
// code; otherwise "Erreur OLE %.8x".
std::string FailureText(HRESULT code, const EXCEPINFO* excepInfo = nullptr);

// Raises EOleError for a failed result; the thread's error object, when a
// component left one, supplies the description.
void CheckResult(HRESULT code);

// Raises EOleError for a failed Invoke, releasing what EXCEPINFO holds.
[[noreturn]] void RaiseInvokeFailure(HRESULT code, EXCEPINFO& excepInfo);

} // namespace zorv::outside
