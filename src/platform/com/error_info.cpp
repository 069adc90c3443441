#include "error_info.h"

#include <string>

#include "bstr_value.h"
#include "com_object.h"

namespace {

using zorv::com::Bstr;
using zorv::com::BstrView;

// One object plays both roles, as the platform's does: filled through
// ICreateErrorInfo, read through IErrorInfo.
class ErrorObject final : public zorv::com::ComObject<IErrorInfo, ICreateErrorInfo> {
public:
    HRESULT STDMETHODCALLTYPE GetGUID(GUID* pGUID) override {
        if (pGUID == nullptr)
            return E_INVALIDARG;
        *pGUID = guid_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetSource(BSTR* out) override { return CopyOut(source_, out); }
    HRESULT STDMETHODCALLTYPE GetDescription(BSTR* out) override { return CopyOut(description_, out); }
    HRESULT STDMETHODCALLTYPE GetHelpFile(BSTR* out) override { return CopyOut(helpFile_, out); }
    HRESULT STDMETHODCALLTYPE GetHelpContext(DWORD* out) override {
        if (out == nullptr)
            return E_INVALIDARG;
        *out = helpContext_;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE SetGUID(REFGUID rguid) override {
        guid_ = rguid;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetSource(LPOLESTR text) override { return Store(source_, text); }
    HRESULT STDMETHODCALLTYPE SetDescription(LPOLESTR text) override { return Store(description_, text); }
    HRESULT STDMETHODCALLTYPE SetHelpFile(LPOLESTR text) override { return Store(helpFile_, text); }
    HRESULT STDMETHODCALLTYPE SetHelpContext(DWORD context) override {
        helpContext_ = context;
        return S_OK;
    }

private:
    static HRESULT CopyOut(const std::u16string& text, BSTR* out) {
        if (out == nullptr)
            return E_INVALIDARG;
        *out = Bstr(text).Detach();
        return S_OK;
    }
    static HRESULT Store(std::u16string& field, LPOLESTR text) {
        field = text ? std::u16string(text) : std::u16string();
        return S_OK;
    }

    GUID guid_ = GUID_NULL;
    std::u16string source_;
    std::u16string description_;
    std::u16string helpFile_;
    DWORD helpContext_ = 0;
};

thread_local IErrorInfo* currentError = nullptr;

} // namespace

HRESULT CreateErrorInfo(ICreateErrorInfo** pperrinfo) {
    if (pperrinfo == nullptr)
        return E_INVALIDARG;
    *pperrinfo = new ErrorObject;
    return S_OK;
}

HRESULT SetErrorInfo(ULONG, IErrorInfo* perrinfo) {
    if (perrinfo)
        perrinfo->AddRef();
    if (IErrorInfo* previous = std::exchange(currentError, perrinfo))
        previous->Release();
    return S_OK;
}

HRESULT GetErrorInfo(ULONG, IErrorInfo** pperrinfo) {
    if (pperrinfo == nullptr)
        return E_INVALIDARG;
    *pperrinfo = std::exchange(currentError, nullptr);
    return *pperrinfo ? S_OK : S_FALSE;
}
