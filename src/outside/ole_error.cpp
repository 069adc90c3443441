#include "outside/ole_error.h"

#include <cstdio>

#include "platform/com/bstr_value.h"
#include "platform/com/com_ptr.h"
#include "platform/com/error_info.h"
#include "platform/com/error_text.h"
#include "platform/com/text.h"

namespace zorv::outside {
namespace {

std::string CodeText(HRESULT code) {
    if (auto text = com::PlatformErrorText(code))
        return *text;
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "Erreur OLE %.8x", static_cast<unsigned>(code));
    return buffer;
}

void FreeExcepInfo(EXCEPINFO& info) {
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrHelpFile);
    info.bstrSource = info.bstrDescription = info.bstrHelpFile = nullptr;
}

} // namespace

std::string CleanDescription(std::u16string_view description) {
    std::size_t length = description.size();
    while (length > 0 && (description[length - 1] <= u' ' || description[length - 1] == u'.'))
        --length;
    return com::Utf16ToUtf8(description.substr(0, length));
}

std::string FailureText(HRESULT code, const EXCEPINFO* excepInfo) {
    if (code == DISP_E_EXCEPTION && excepInfo != nullptr) {
        std::string description = CleanDescription(com::BstrView(excepInfo->bstrDescription));
        if (!description.empty())
            return description;
        // An exception without words: the component's own code says more than DISP_E_EXCEPTION.
        if (excepInfo->scode != 0)
            return CodeText(excepInfo->scode);
    }
    return CodeText(code);
}

void CheckResult(HRESULT code) {
    if (SUCCEEDED(code))
        return;
    IErrorInfo* raw = nullptr;
    if (GetErrorInfo(0, &raw) == S_OK && raw != nullptr) {
        auto info = com::ComPtr<IErrorInfo>::Adopt(raw);
        com::Bstr description;
        if (SUCCEEDED(info->GetDescription(description.ReleaseAndGetAddressOf()))) {
            std::string text = CleanDescription(description.View());
            if (!text.empty())
                throw EOleError(std::move(text), code);
        }
    }
    throw EOleError(CodeText(code), code);
}

void RaiseInvokeFailure(HRESULT code, EXCEPINFO& excepInfo) {
    if (excepInfo.pfnDeferredFillIn != nullptr)
        excepInfo.pfnDeferredFillIn(&excepInfo);
    std::string text = FailureText(code, &excepInfo);
    const HRESULT reported = code == DISP_E_EXCEPTION && excepInfo.scode != 0 ? excepInfo.scode : code;
    FreeExcepInfo(excepInfo);
    throw EOleError(std::move(text), reported);
}

} // namespace zorv::outside
