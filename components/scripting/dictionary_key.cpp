#include "dictionary_key.h"

#include <bit>

#include "errors.h"
#include "platform/com/bstr_value.h"
#include "platform/com/com_ptr.h"
#include "platform/com/dispatch.h"
#include "platform/com/text.h"

namespace zorv::scripting {
namespace {

DictionaryKey NumberKey(double value) {
    DictionaryKey key;
    key.kind = DictionaryKey::Kind::Number;
    key.number = value == 0 ? 0.0 : value; // -0 and 0 are one key
    return key;
}

DictionaryKey NullKey() {
    DictionaryKey key;
    key.kind = DictionaryKey::Kind::Null;
    return key;
}

DictionaryKey TextKey(BSTR text, bool ignoreCase) {
    DictionaryKey key;
    key.kind = DictionaryKey::Kind::Text;
    key.text = com::BstrView(text);
    if (ignoreCase)
        for (char16_t& c : key.text)
            c = com::FoldCase(c);
    return key;
}

DictionaryKey ObjectKey(IUnknown* object) {
    DictionaryKey key;
    key.kind = DictionaryKey::Kind::Object;
    IUnknown* identity = nullptr;
    if (object != nullptr &&
        SUCCEEDED(object->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)))) {
        key.identity = identity;
        identity->Release(); // the dictionary holds the key itself, so the address stays valid
    } else {
        key.identity = object;
    }
    return key;
}

DictionaryKey Converted(const VARIANT& value) {
    VARIANT number;
    VariantInit(&number);
    if (FAILED(VariantChangeType(&number, &value, 0, VT_R8)))
        Raise(kTypeMismatch);
    return NumberKey(number.dblVal);
}

} // namespace

// Whole numbers differ only in their high bits as doubles, pointers only in
// their middle ones: every bit is mixed into the low ones the index uses.
std::uint32_t HashOf(const DictionaryKey& key) {
    std::uint64_t bits = static_cast<std::uint64_t>(key.kind);
    switch (key.kind) {
    case DictionaryKey::Kind::Number:
        bits = std::bit_cast<std::uint64_t>(key.number);
        break;
    case DictionaryKey::Kind::Object:
        bits = reinterpret_cast<std::uintptr_t>(key.identity);
        break;
    case DictionaryKey::Kind::Text:
        bits = 14695981039346656037ull;
        for (char16_t c : key.text)
            bits = (bits ^ c) * 1099511628211ull;
        break;
    default:
        break;
    }
    bits ^= bits >> 30;
    bits *= 0xBF58476D1CE4E5B9ull;
    bits ^= bits >> 27;
    bits *= 0x94D049BB133111EBull;
    bits ^= bits >> 31;
    return static_cast<std::uint32_t>(bits);
}

DictionaryKey MakeKey(const VARIANT& value, bool ignoreCase) {
    if (value.vt == (VT_BYREF | VT_VARIANT) && value.pvarVal != nullptr)
        return MakeKey(*value.pvarVal, ignoreCase);
    if (value.vt & VT_ARRAY)
        Raise(kTypeMismatch);
    if (value.vt & VT_BYREF) {
        VARIANT plain;
        VariantInit(&plain);
        if (FAILED(VariantCopyInd(&plain, &value)))
            Raise(kTypeMismatch);
        DictionaryKey key = MakeKey(plain, ignoreCase);
        VariantClear(&plain);
        return key;
    }
    switch (value.vt) {
    case VT_EMPTY:
        return {};
    case VT_NULL:
        return NullKey();
    case VT_BSTR:
        return TextKey(value.bstrVal, ignoreCase);
    case VT_DISPATCH:
        return ObjectKey(value.pdispVal);
    case VT_UNKNOWN:
        return ObjectKey(value.punkVal);
    case VT_I2:
        return NumberKey(value.iVal);
    case VT_I4:
        return NumberKey(value.lVal);
    case VT_R8:
    case VT_DATE:
        return NumberKey(value.dblVal);
    case VT_UI1:
        return NumberKey(value.bVal);
    case VT_BOOL:
        return NumberKey(value.boolVal != VARIANT_FALSE ? -1 : 0);
    default:
        return Converted(value);
    }
}

} // namespace zorv::scripting
