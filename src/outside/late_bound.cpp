#include "outside/late_bound.h"

#include <vector>

#include "platform/com/dispatch.h"
#include "platform/com/member_id.h"

namespace zorv::outside {

Arg Arg::Ref(com::Variant& variable) {
    Arg arg;
    arg.byRef_ = true;
    arg.reference_.vt = VT_BYREF | VT_VARIANT;
    arg.reference_.pvarVal = &variable;
    return arg;
}

Arg Arg::Ref(com::Bstr& variable) {
    Arg arg;
    arg.byRef_ = true;
    arg.reference_.vt = VT_BYREF | VT_BSTR;
    arg.reference_.pbstrVal = variable.AddressOf();
    return arg;
}

Arg Arg::Ref(LONG& variable) {
    Arg arg;
    arg.byRef_ = true;
    arg.reference_.vt = VT_BYREF | VT_I4;
    arg.reference_.plVal = &variable;
    return arg;
}

DISPID MemberId(IDispatch* object, std::u16string_view name) {
    DISPID id = DISPID_UNKNOWN;
    CheckResult(com::MemberIdOf(object, name, &id));
    return id;
}

com::Variant Invoke(IDispatch* object, DISPID id, WORD flags, std::initializer_list<Arg> args) {
    if (object == nullptr)
        CheckResult(E_POINTER);
    std::vector<VARIANT> slots;
    slots.reserve(args.size());
    for (auto it = args.end(); it != args.begin();)
        slots.push_back((--it)->Slot());
    DISPID putId = DISPID_PROPERTYPUT;
    const bool put = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
    DISPPARAMS params{slots.data(), put ? &putId : nullptr, static_cast<UINT>(slots.size()), put ? 1u : 0u};
    com::Variant result;
    EXCEPINFO excepInfo{};
    UINT argError = 0;
    const HRESULT hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                                      put ? nullptr : result.Raw(), &excepInfo, &argError);
    if (FAILED(hr))
        RaiseInvokeFailure(hr, excepInfo);
    return result;
}

com::Variant GetProperty(IDispatch* object, std::u16string_view name) {
    return Invoke(object, MemberId(object, name), DISPATCH_PROPERTYGET, {});
}

void PutProperty(IDispatch* object, std::u16string_view name, const Arg& value) {
    Invoke(object, MemberId(object, name), DISPATCH_PROPERTYPUT, {value});
}

com::Variant CallMethod(IDispatch* object, std::u16string_view name, std::initializer_list<Arg> args) {
    return Invoke(object, MemberId(object, name), DISPATCH_METHOD | DISPATCH_PROPERTYGET, args);
}

LONG ToLong(const com::Variant& value) {
    LONG out = 0;
    CheckResult(value.ToLong(out));
    return out;
}

bool ToBool(const com::Variant& value) {
    bool out = false;
    CheckResult(value.ToBool(out));
    return out;
}

std::u16string ToText(const com::Variant& value) {
    std::u16string out;
    CheckResult(value.ToString(out));
    return out;
}

} // namespace zorv::outside
