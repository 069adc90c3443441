#include "com_bridge.h"

#include <cstring>
#include <vector>

#include "platform/com/bstr_value.h"
#include "platform/com/com_ptr.h"
#include "platform/com/error_text.h"
#include "platform/com/member_id.h"
#include "platform/com/safearray.h"
#include "platform/com/text.h"
#include "script_object.h"

namespace zorv::vbs {
namespace {

// Arrays nested deeper than this do not cross the object boundary: whoever
// receives them, and VariantClear, would walk them recursively.
constexpr int kMaxArrayNesting = 256;

Value FromVariantAt(const VARIANT& v, int depth);
void ToVariantAt(const Value& value, VARIANT& out, int depth);

Value FromArray(SAFEARRAY* array, VARTYPE elementType, int depth) {
    if (depth > kMaxArrayNesting)
        throw ScriptError(kErrOutOfStack);
    if (array == nullptr)
        return Value::AdoptArray(ArrayRep::Make({}));
    const UINT dims = SafeArrayGetDim(array);
    std::vector<ArrayBound> bounds(dims);
    for (UINT d = 0; d < dims; ++d) {
        LONG lower = 0;
        LONG upper = -1;
        SafeArrayGetLBound(array, d + 1, &lower);
        SafeArrayGetUBound(array, d + 1, &upper);
        bounds[d] = {lower, static_cast<std::uint32_t>(std::int64_t{upper} - lower + 1)};
    }
    ArrayRep* rep = ArrayRep::Make(std::move(bounds));
    Value result = Value::AdoptArray(rep);
    void* data = nullptr;
    if (FAILED(SafeArrayAccessData(array, &data)))
        return result;
    struct Access {
        SAFEARRAY* array;
        ~Access() { SafeArrayUnaccessData(array); }
    } access{array};
    const UINT size = SafeArrayGetElemsize(array);
    auto* bytes = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < rep->items.size(); ++i) {
        if (elementType == VT_VARIANT) {
            rep->items[i] = FromVariantAt(*reinterpret_cast<const VARIANT*>(bytes + i * size), depth + 1);
        } else {
            VARIANT view;
            VariantInit(&view);
            view.vt = elementType;
            std::memcpy(&view.llVal, bytes + i * size, size < sizeof(view.llVal) ? size : sizeof(view.llVal));
            rep->items[i] =
                FromVariantAt(view, depth + 1); // a shallow view: FromVariant copies what it keeps
        }
    }
    return result;
}

SAFEARRAY* ToArray(const ArrayRep& rep, int depth) {
    if (depth > kMaxArrayNesting)
        throw ScriptError(kErrOutOfStack);
    std::vector<SAFEARRAYBOUND> bounds;
    for (const ArrayBound& b : rep.bounds)
        bounds.push_back({b.count, b.lower});
    if (bounds.empty())
        bounds.push_back({0, 0});
    SAFEARRAY* array = SafeArrayCreate(VT_VARIANT, static_cast<UINT>(bounds.size()), bounds.data());
    if (array == nullptr)
        throw ScriptError(kErrOutOfMemory);
    void* data = nullptr;
    SafeArrayAccessData(array, &data);
    auto* elements = static_cast<VARIANT*>(data);
    try {
        for (std::size_t i = 0; i < rep.items.size(); ++i)
            ToVariantAt(rep.items[i], elements[i], depth + 1);
    } catch (...) {
        SafeArrayUnaccessData(array);
        SafeArrayDestroy(array);
        throw;
    }
    SafeArrayUnaccessData(array);
    return array;
}

Value FromPlain(const VARIANT& v) {
    switch (v.vt) {
    case VT_EMPTY:
        return {};
    case VT_NULL:
        return Value::Null();
    case VT_I2:
        return Value::Integer(v.iVal);
    case VT_I4:
    case VT_INT:
        return Value::Long(v.lVal);
    case VT_R4:
        return Value::Single(v.fltVal);
    case VT_R8:
        return Value::Double(v.dblVal);
    case VT_CY:
        return Value::Currency(v.cyVal.int64);
    case VT_DATE:
        return Value::Date(v.date);
    case VT_BSTR:
        if (v.bstrVal != nullptr && SysStringByteLen(v.bstrVal) % 2 != 0)
            return Value::FromBytes(reinterpret_cast<const std::uint8_t*>(v.bstrVal),
                                    SysStringByteLen(v.bstrVal));
        return Value::String(com::BstrView(v.bstrVal));
    case VT_DISPATCH: {
        // Our own class instances come back as such, for their fast path.
        const bool script = v.pdispVal != nullptr && ScriptObject::FromDispatch(v.pdispVal) != nullptr;
        return Value::Object(v.pdispVal, script);
    }
    case VT_UNKNOWN: {
        if (v.punkVal == nullptr)
            return Value::Nothing();
        com::ComPtr<IDispatch> dispatch = com::ComPtr<IUnknown>(v.punkVal).As<IDispatch>();
        if (!dispatch)
            throw ScriptError(kErrUnsupportedType);
        return Value::Object(dispatch.Get());
    }
    case VT_ERROR:
        return Value::ErrorCode(v.scode);
    case VT_BOOL:
        return Value::Bool(v.boolVal != VARIANT_FALSE);
    case VT_UI1:
        return Value::Byte(v.bVal);
    case VT_I1:
        return Value::Integer(v.cVal);
    case VT_UI2:
        return Value::Long(v.uiVal);
    case VT_UI4:
    case VT_UINT:
        return v.ulVal <= 0x7FFFFFFFu ? Value::Long(static_cast<std::int32_t>(v.ulVal))
                                      : Value::Double(v.ulVal);
    case VT_I8:
        return Value::Double(static_cast<double>(v.llVal));
    case VT_UI8:
        return Value::Double(static_cast<double>(v.ullVal));
    default:
        throw ScriptError(kErrUnsupportedType);
    }
}

Value FromVariantAt(const VARIANT& v, int depth) {
    if (v.vt == (VT_BYREF | VT_VARIANT)) {
        if (depth > kMaxArrayNesting)
            throw ScriptError(kErrOutOfStack);
        return v.pvarVal ? FromVariantAt(*v.pvarVal, depth + 1) : Value();
    }
    if (v.vt & VT_ARRAY) {
        SAFEARRAY* array = (v.vt & VT_BYREF) ? (v.pparray ? *v.pparray : nullptr) : v.parray;
        return FromArray(array, v.vt & VT_TYPEMASK, depth);
    }
    if (v.vt & VT_BYREF) {
        VARIANT view;
        VariantInit(&view);
        if (v.byref == nullptr)
            return {};
        view.vt = v.vt & ~VT_BYREF;
        switch (view.vt) {
        case VT_I2:
            view.iVal = *v.piVal;
            break;
        case VT_I4:
            view.lVal = *v.plVal;
            break;
        case VT_R4:
            view.fltVal = *v.pfltVal;
            break;
        case VT_R8:
            view.dblVal = *v.pdblVal;
            break;
        case VT_CY:
            view.cyVal = *v.pcyVal;
            break;
        case VT_DATE:
            view.date = *v.pdate;
            break;
        case VT_BSTR:
            view.bstrVal = *v.pbstrVal;
            break;
        case VT_DISPATCH:
            view.pdispVal = *v.ppdispVal;
            break;
        case VT_UNKNOWN:
            view.punkVal = *v.ppunkVal;
            break;
        case VT_ERROR:
            view.scode = *v.pscode;
            break;
        case VT_BOOL:
            view.boolVal = *v.pboolVal;
            break;
        case VT_UI1:
            view.bVal = *v.pbVal;
            break;
        default:
            throw ScriptError(kErrUnsupportedType);
        }
        return FromPlain(view);
    }
    return FromPlain(v);
}

void ToVariantAt(const Value& value, VARIANT& out, int depth) {
    VariantClear(&out);
    const Value& v = value.Deref();
    switch (v.Type()) {
    case VType::Empty:
        break;
    case VType::Null:
        out.vt = VT_NULL;
        break;
    case VType::Integer:
        out.vt = VT_I2;
        out.iVal = static_cast<SHORT>(v.I());
        break;
    case VType::Long:
        out.vt = VT_I4;
        out.lVal = v.I();
        break;
    case VType::Byte:
        out.vt = VT_UI1;
        out.bVal = static_cast<BYTE>(v.I());
        break;
    case VType::Boolean:
        out.vt = VT_BOOL;
        out.boolVal = v.B() ? VARIANT_TRUE : VARIANT_FALSE;
        break;
    case VType::Error:
        out.vt = VT_ERROR;
        out.scode = v.I();
        break;
    case VType::Single:
        out.vt = VT_R4;
        out.fltVal = v.F();
        break;
    case VType::Double:
        out.vt = VT_R8;
        out.dblVal = v.D();
        break;
    case VType::Date:
        out.vt = VT_DATE;
        out.date = v.D();
        break;
    case VType::Currency:
        out.vt = VT_CY;
        out.cyVal.int64 = v.Cy();
        break;
    case VType::String: {
        const std::u16string_view text = v.Str();
        if (v.HasOddByte()) {
            const std::vector<std::uint8_t> bytes = v.Bytes();
            out.bstrVal = SysAllocStringByteLen(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<UINT>(bytes.size()));
        } else {
            out.bstrVal = SysAllocStringLen(com::ToOle(text.data()), static_cast<UINT>(text.size()));
        }
        if (out.bstrVal == nullptr && !text.empty())
            throw ScriptError(kErrOutOfMemory);
        out.vt = VT_BSTR;
        break;
    }
    case VType::Object:
        out.vt = VT_DISPATCH;
        out.pdispVal = v.Obj();
        if (out.pdispVal)
            out.pdispVal->AddRef();
        break;
    case VType::Array:
        out.parray = ToArray(*v.Arr(), depth);
        out.vt = VT_ARRAY | VT_VARIANT;
        break;
    case VType::Ref:
        break;
    }
}

} // namespace

Value FromVariant(const VARIANT& v) {
    return FromVariantAt(v, 0);
}

void ToVariant(const Value& value, VARIANT& out) {
    ToVariantAt(value, out, 0);
}

IUnknown* IdentityOf(IDispatch* object) {
    IUnknown* identity = nullptr;
    if (object == nullptr ||
        FAILED(object->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity))))
        return object;
    identity->Release(); // only its address is wanted
    return identity;
}

bool HasMember(IDispatch* object, std::u16string_view name, DISPID* id) {
    DISPID found = DISPID_UNKNOWN;
    const bool has = object != nullptr && SUCCEEDED(com::MemberIdOf(object, name, &found));
    if (id)
        *id = found;
    return has;
}

namespace {

// Failures an object reports by a bare HRESULT (or without a description of
// its own) that the script sees as the language's own errors, with their
// number and text: File not found for a Win32 ERROR_FILE_NOT_FOUND, say.
struct TranslatedFailure {
    HRESULT hr;
    int number;
};
constexpr TranslatedFailure kTranslatedFailures[] = {
    {E_INVALIDARG, kErrInvalidCall},
    {E_NOTIMPL, kErrNoSuchAction},
    {E_NOINTERFACE, kErrNoAutomation},
    {E_ACCESSDENIED, kErrPermissionDenied},
    {E_OUTOFMEMORY, kErrOutOfMemory},
    {DISP_E_ARRAYISLOCKED, kErrArrayLocked},
    {DISP_E_BADVARTYPE, kErrUnsupportedType},
    {DISP_E_NOTACOLLECTION, kErrNotACollection},
    {DISP_E_PARAMNOTFOUND, kErrNamedArgNotFound},
    {DISP_E_UNKNOWNLCID, kErrLocaleNotSupported},
    {MakeHresult(0x80070002), kErrFileNotFound},     // a Win32 ERROR_FILE_NOT_FOUND
    {MakeHresult(0x80030002), kErrFileNotFound},     // STG_E_FILENOTFOUND
    {MakeHresult(0x80030005), kErrPermissionDenied}, // STG_E_ACCESSDENIED
};

int TranslatedNumber(HRESULT hr) {
    for (const TranslatedFailure& failure : kTranslatedFailures)
        if (failure.hr == hr)
            return failure.number;
    return 0;
}

} // namespace

ScriptError ErrorFromInvoke(HRESULT hr, const EXCEPINFO& info, std::u16string_view member) {
    switch (hr) {
    case DISP_E_MEMBERNOTFOUND:
    case DISP_E_UNKNOWNNAME:
        return ScriptError(kErrNoSuchMember, member);
    case DISP_E_BADPARAMCOUNT:
        return ScriptError(kErrWrongArgCount, member);
    case DISP_E_TYPEMISMATCH:
        return ScriptError(kErrTypeMismatch, member);
    case DISP_E_OVERFLOW:
        return ScriptError(kErrOverflow);
    case DISP_E_PARAMNOTOPTIONAL:
        return ScriptError(kErrArgNotOptional, member);
    case DISP_E_BADINDEX:
        return ScriptError(kErrSubscript);
    case DISP_E_DIVBYZERO:
        return ScriptError(kErrDivisionByZero);
    case DISP_E_NONAMEDARGS:
        return ScriptError(kErrNamedArgs, member);
    case E_OUTOFMEMORY:
        return ScriptError(kErrOutOfMemory);
    default:
        break;
    }
    if (hr == DISP_E_EXCEPTION) {
        HRESULT code = info.scode != 0 ? info.scode : E_FAIL;
        if (info.scode == 0 && info.wCode != 0)
            code = static_cast<HRESULT>(0x800A0000u | info.wCode);
        int number = (static_cast<std::uint32_t>(code) & 0xFFFF0000u) == 0x800A0000u ? (code & 0xFFFF) : code;
        std::u16string description(com::BstrView(info.bstrDescription));
        // Only a failure the object did not describe takes the language's number.
        if (description.empty() && TranslatedNumber(code) != 0)
            number = TranslatedNumber(code);
        if (description.empty())
            description = number == code ? std::u16string(ErrorText(kErrAutomation))
                                         : std::u16string(ErrorText(number));
        ScriptError error = ScriptError::Custom(number, std::move(description),
                                                std::u16string(com::BstrView(info.bstrSource)));
        error.helpFile = com::BstrView(info.bstrHelpFile);
        error.helpContext = static_cast<std::int32_t>(info.dwHelpContext);
        error.scode = code;
        return error;
    }
    if (const int number = TranslatedNumber(hr)) {
        ScriptError error(number);
        error.scode = hr;
        return error;
    }
    const auto text = com::PlatformErrorText(hr);
    ScriptError error =
        ScriptError::Custom(hr, text ? com::Utf8ToUtf16(*text) : std::u16string(ErrorText(kErrAutomation)));
    error.scode = hr;
    return error;
}

namespace {

// Argument slots, cleared when the call is over. Most calls pass a few
// arguments, which then need no allocation.
class VariantSlots {
public:
    explicit VariantSlots(std::size_t count) : count_(count) {
        if (count_ > kInline)
            heap_.resize(count_);
        for (VARIANT* v = data(); v != data() + count_; ++v)
            VariantInit(v);
    }
    ~VariantSlots() {
        for (VARIANT* v = data(); v != data() + count_; ++v)
            VariantClear(v);
    }
    VariantSlots(const VariantSlots&) = delete;
    VariantSlots& operator=(const VariantSlots&) = delete;

    VARIANT* data() { return count_ > kInline ? heap_.data() : inline_; }
    VARIANT& operator[](std::size_t i) { return data()[i]; }

private:
    static constexpr std::size_t kInline = 8;
    std::size_t count_;
    VARIANT inline_[kInline];
    std::vector<VARIANT> heap_;
};

// The call itself: `result` (initialised by the caller) receives the raw answer.
void InvokeInto(IDispatch* object, DISPID id, std::u16string_view name, WORD flags, std::span<Value> args,
                const Value* putValue, bool putRef, VARIANT& result) {
    const std::size_t count = args.size() + (putValue ? 1 : 0);
    VariantSlots slots(count); // reversed: last argument first
    VariantSlots referenced(args.size());
    std::size_t next = count;
    for (std::size_t i = 0; i < args.size(); ++i) {
        VARIANT& slot = slots[--next];
        if (args[i].Is(VType::Ref)) {
            ToVariant(*args[i].Target(), referenced[i]);
            slot.vt = VT_BYREF | VT_VARIANT;
            slot.pvarVal = &referenced[i];
        } else if (args[i].IsMissing()) {
            slot.vt = VT_ERROR;
            slot.scode = DISP_E_PARAMNOTFOUND;
        } else {
            ToVariant(args[i], slot);
        }
    }
    DISPID putId = DISPID_PROPERTYPUT;
    if (putValue)
        ToVariant(*putValue, slots[0]);
    DISPPARAMS params{slots.data(), putValue ? &putId : nullptr, static_cast<UINT>(count),
                      putValue ? 1u : 0u};
    EXCEPINFO info{};
    UINT argError = 0;
    WORD callFlags = putValue ? (putRef ? DISPATCH_PROPERTYPUTREF : DISPATCH_PROPERTYPUT) : flags;
    HRESULT hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, callFlags, &params,
                                putValue ? nullptr : &result, &info, &argError);
    if (putRef && (hr == DISP_E_MEMBERNOTFOUND)) {
        hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params, nullptr, &info,
                            &argError);
    }
    if (info.pfnDeferredFillIn)
        info.pfnDeferredFillIn(&info);
    if (FAILED(hr)) {
        ScriptError error = ErrorFromInvoke(hr, info, name);
        SysFreeString(info.bstrSource);
        SysFreeString(info.bstrDescription);
        SysFreeString(info.bstrHelpFile);
        VariantClear(&result);
        throw error;
    }
    // Out-parameters come back into the script's variables.
    for (std::size_t i = 0; i < args.size(); ++i)
        if (args[i].Is(VType::Ref))
            *args[i].Target() = FromVariant(referenced[i]);
}

} // namespace

Value InvokeById(IDispatch* object, DISPID id, std::u16string_view name, WORD flags, std::span<Value> args,
                 const Value* putValue, bool putRef) {
    VARIANT result;
    VariantInit(&result);
    struct Cleanup {
        VARIANT& v;
        ~Cleanup() { VariantClear(&v); }
    } cleanup{result};
    InvokeInto(object, id, name, flags, args, putValue, putRef, result);
    return FromVariant(result);
}

// Taken from the raw answer: an enumerator need not be an IDispatch, which
// a script value would require.
com::ComPtr<IEnumVARIANT> NewEnumerator(IDispatch* object) {
    VARIANT result;
    VariantInit(&result);
    InvokeInto(object, DISPID_NEWENUM, u"_NewEnum", DISPATCH_METHOD | DISPATCH_PROPERTYGET, {}, nullptr,
               false, result);
    IUnknown* answer = nullptr;
    if (result.vt == VT_UNKNOWN || result.vt == VT_DISPATCH)
        answer = result.punkVal;
    else if (result.vt == (VT_BYREF | VT_UNKNOWN) || result.vt == (VT_BYREF | VT_DISPATCH))
        answer = result.ppunkVal ? *result.ppunkVal : nullptr;
    com::ComPtr<IEnumVARIANT> enumerator;
    if (answer != nullptr)
        enumerator = com::ComPtr<IUnknown>(answer).As<IEnumVARIANT>();
    VariantClear(&result);
    return enumerator;
}

Value InvokeByName(IDispatch* object, std::u16string_view name, WORD flags, std::span<Value> args,
                   const Value* putValue, bool putRef) {
    if (object == nullptr)
        throw ScriptError(kErrObjectNotSet);
    DISPID id = DISPID_UNKNOWN;
    if (!HasMember(object, name, &id))
        throw ScriptError(kErrNoSuchMember, name);
    return InvokeById(object, id, name, flags, args, putValue, putRef);
}

Value DefaultValue(const Value& value) {
    const Value& object = value.Deref();
    if (!object.IsObject())
        return object;
    if (object.Obj() == nullptr)
        throw ScriptError(kErrObjectNotSet);
    Value result = InvokeById(object.Obj(), DISPID_VALUE, u"", DISPATCH_PROPERTYGET | DISPATCH_METHOD, {});
    if (result.IsObject())
        throw ScriptError(kErrNoSuchMember);
    return result;
}

} // namespace zorv::vbs
