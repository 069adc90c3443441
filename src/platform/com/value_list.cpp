#include "value_list.h"
#include "platform/com/untyped_dispatch.h"

#include <new>

#include "bstr_value.h"
#include "com_object.h"
#include "safearray.h"

namespace zorv::com {
namespace {

class ValueEnumerator final : public UntypedDispatch<IEnumVARIANT> {
public:
    explicit ValueEnumerator(std::shared_ptr<const Values> values) : values_(std::move(values)) {}

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
            const HRESULT hr = VariantCopy(&out[n], &(*values_)[next_]);
            if (FAILED(hr)) {
                for (ULONG i = 0; i < n; ++i)
                    VariantClear(&out[i]);
                next_ -= n;
                return hr;
            }
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
        auto clone = MakeObject<ValueEnumerator>(values_);
        clone->next_ = next_;
        *copy = clone.Detach();
        return S_OK;
    }

private:
    std::shared_ptr<const Values> values_;
    std::size_t next_ = 0;
};

} // namespace

void ValueList::CountResult(VARIANT& result) const {
    VariantInit(&result);
    result.vt = VT_I4;
    result.lVal = static_cast<LONG>(values_->size());
}

void ValueList::ArrayResult(VARIANT& result) const {
    SAFEARRAY* array = SafeArrayCreateVector(VT_VARIANT, 0, static_cast<ULONG>(values_->size()));
    if (array == nullptr)
        throw std::bad_alloc();
    void* data = nullptr;
    SafeArrayAccessData(array, &data);
    auto* slots = static_cast<VARIANT*>(data);
    HRESULT hr = S_OK;
    for (std::size_t i = 0; i < values_->size() && SUCCEEDED(hr); ++i)
        hr = VariantCopy(&slots[i], &(*values_)[i]);
    SafeArrayUnaccessData(array);
    if (FAILED(hr)) {
        SafeArrayDestroy(array);
        throw std::bad_alloc();
    }
    VariantInit(&result);
    result.vt = VT_ARRAY | VT_VARIANT;
    result.parray = array;
}

void ValueList::EnumeratorResult(VARIANT& result) const {
    auto enumerator = MakeObject<ValueEnumerator>(values_);
    VariantInit(&result);
    result.vt = VT_DISPATCH;
    result.pdispVal = static_cast<IDispatch*>(enumerator.Detach());
}

void ObjectOrItem(IDispatch* object, const DispatchArgs& args, VARIANT& result) {
    if (args.Count() == 0 || object == nullptr) {
        result = Variant(object).Detach();
        return;
    }
    std::vector<VARIANT> reversed;
    for (UINT i = args.Count(); i-- > 0;)
        reversed.push_back(args.Raw(i));
    DISPPARAMS params{reversed.data(), nullptr, args.Count(), 0};
    EXCEPINFO info{};
    const HRESULT hr =
        object->Invoke(DISPID_VALUE, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                       &params, &result, &info, nullptr);
    const std::u16string description(BstrView(info.bstrDescription));
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrHelpFile);
    if (hr == DISP_E_EXCEPTION)
        throw DispatchException(description, info.scode);
    if (FAILED(hr))
        throw DispatchError{hr};
}

} // namespace zorv::com
