#pragma once
// Owning VARIANT with typed constructors and readers.
#include <string>
#include <string_view>
#include <utility>

#include "bstr_value.h"
#include "dispatch.h"

namespace zorv::com {

class Variant : public VARIANT {
public:
    Variant() { VariantInit(this); }
    Variant(const VARIANT& other) {
        VariantInit(this);
        VariantCopy(this, &other);
    }
    Variant(const Variant& other) : Variant(static_cast<const VARIANT&>(other)) {}
    Variant(Variant&& other) noexcept {
        *static_cast<VARIANT*>(this) = other;
        other.vt = VT_EMPTY;
    }
    ~Variant() { VariantClear(this); }
    Variant& operator=(const Variant& other) {
        if (this != &other)
            VariantCopy(this, &other);
        return *this;
    }
    Variant& operator=(Variant&& other) noexcept {
        if (this != &other) {
            VariantClear(this);
            *static_cast<VARIANT*>(this) = other;
            other.vt = VT_EMPTY;
        }
        return *this;
    }

    Variant(LONG value) : Variant() {
        vt = VT_I4;
        lVal = value;
    }
    Variant(SHORT value) : Variant() {
        vt = VT_I2;
        iVal = value;
    }
    Variant(double value) : Variant() {
        vt = VT_R8;
        dblVal = value;
    }
    Variant(bool value) : Variant() {
        vt = VT_BOOL;
        boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    }
    Variant(std::u16string_view text) : Variant() {
        vt = VT_BSTR;
        bstrVal = Bstr(text).Detach();
    }
    Variant(const char16_t* text) : Variant(std::u16string_view(text)) {}
    // Takes a new reference on the object.
    Variant(IDispatch* object) : Variant() {
        vt = VT_DISPATCH;
        pdispVal = object;
        if (object)
            object->AddRef();
    }
    Variant(IUnknown* object) : Variant() {
        vt = VT_UNKNOWN;
        punkVal = object;
        if (object)
            object->AddRef();
    }

    static Variant Null() {
        Variant v;
        v.vt = VT_NULL;
        return v;
    }
    static Variant Error(SCODE code) {
        Variant v;
        v.vt = VT_ERROR;
        v.scode = code;
        return v;
    }
    // Adopts what `raw` owns and leaves it empty.
    static Variant Adopt(VARIANT& raw) {
        Variant v;
        *static_cast<VARIANT*>(&v) = raw;
        raw.vt = VT_EMPTY;
        return v;
    }

    void Clear() { VariantClear(this); }
    VARIANT Detach() {
        VARIANT raw = *this;
        vt = VT_EMPTY;
        return raw;
    }
    VARIANT* Raw() { return this; }
    const VARIANT* Raw() const { return this; }

    VARTYPE Type() const { return vt; }
    bool IsEmpty() const { return vt == VT_EMPTY; }

    // Converted copies; the HRESULT of a failed conversion is returned and the
    // output left alone.
    HRESULT ToLong(LONG& out) const { return Convert(VT_I4, [&](const VARIANT& v) { out = v.lVal; }); }
    HRESULT ToDouble(double& out) const { return Convert(VT_R8, [&](const VARIANT& v) { out = v.dblVal; }); }
    HRESULT ToBool(bool& out) const {
        return Convert(VT_BOOL, [&](const VARIANT& v) { out = v.boolVal != VARIANT_FALSE; });
    }
    HRESULT ToString(std::u16string& out, USHORT flags = VARIANT_ALPHABOOL) const {
        return Convert(VT_BSTR, [&](const VARIANT& v) { out = BstrView(v.bstrVal); }, flags);
    }

private:
    template <class Take>
    HRESULT Convert(VARTYPE target, Take take, USHORT flags = 0) const {
        Variant converted;
        const HRESULT hr = VariantChangeType(&converted, this, flags, target);
        if (SUCCEEDED(hr))
            take(converted);
        return hr;
    }
};

} // namespace zorv::com
