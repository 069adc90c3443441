#include "collections.h"

#include <new>

#include "errors.h"
#include "member_dispatch.h"
#include "platform/com/com_object.h"
#include "platform/com/safearray.h"

namespace zorv::scripting {
namespace {

// Also a (memberless) IDispatch: the script engine takes what _NewEnum
// answers as an object before asking it for IEnumVARIANT.
class ValueEnumerator final : public com::ComObject<IDispatch, IEnumVARIANT> {
public:
    explicit ValueEnumerator(std::shared_ptr<const Values> values) : values_(std::move(values)) {}

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count == nullptr)
            return E_INVALIDARG;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info != nullptr)
            *info = nullptr;
        return DISP_E_BADINDEX;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return DISP_E_MEMBERNOTFOUND;
    }

    HRESULT STDMETHODCALLTYPE Next(ULONG wanted, VARIANT* out, ULONG* fetched) override {
        if (fetched != nullptr)
            *fetched = 0;
        if (out == nullptr && wanted > 0)
            return E_POINTER;
        ULONG n = 0;
        for (; n < wanted && next_ < values_->size(); ++n, ++next_) {
            VariantInit(&out[n]);
            VariantCopy(&out[n], &(*values_)[next_]);
        }
        if (fetched != nullptr)
            *fetched = n;
        return n == wanted ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
        const std::size_t left = values_->size() - next_;
        next_ += count < left ? count : left;
        return count <= left ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override {
        next_ = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** copy) override {
        if (copy == nullptr)
            return E_POINTER;
        auto clone = com::MakeObject<ValueEnumerator>(values_);
        clone->next_ = next_;
        *copy = clone.Detach();
        return S_OK;
    }

private:
    std::shared_ptr<const Values> values_;
    std::size_t next_ = 0;
};

} // namespace

void ObjectResult(Invocation& call, IDispatch* object) {
    if (call.args.Count() == 0 || object == nullptr) {
        call.result = com::Variant(object).Detach();
        return;
    }
    std::vector<VARIANT> reversed;
    for (UINT i = call.args.Count(); i-- > 0;)
        reversed.push_back(call.args.Raw(i));
    DISPPARAMS params{reversed.data(), nullptr, call.args.Count(), 0};
    EXCEPINFO info{};
    const HRESULT hr =
        object->Invoke(DISPID_VALUE, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                       &params, &call.result, &info, nullptr);
    const std::u16string description(com::BstrView(info.bstrDescription));
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrHelpFile);
    if (hr == DISP_E_EXCEPTION)
        throw com::DispatchException(description, info.scode);
    if (FAILED(hr))
        throw com::DispatchError{hr};
}

void ArrayResult(const Values& values, VARIANT& result) {
    SAFEARRAY* array = SafeArrayCreateVector(VT_VARIANT, 0, static_cast<ULONG>(values.size()));
    if (array == nullptr)
        throw std::bad_alloc();
    void* data = nullptr;
    SafeArrayAccessData(array, &data);
    auto* slots = static_cast<VARIANT*>(data);
    for (std::size_t i = 0; i < values.size(); ++i)
        VariantCopy(&slots[i], &values[i]);
    SafeArrayUnaccessData(array);
    result.vt = VT_ARRAY | VT_VARIANT;
    result.parray = array;
}

void EnumeratorResult(std::shared_ptr<const Values> values, VARIANT& result) {
    auto enumerator = com::MakeObject<ValueEnumerator>(std::move(values));
    result.vt = VT_DISPATCH;
    result.pdispVal = static_cast<IDispatch*>(enumerator.Detach());
}

} // namespace zorv::scripting
