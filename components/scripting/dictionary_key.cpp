#include "dictionary_key.h"

#include <bit>
#include <cstring>

#include "errors.h"
#include "platform/com/bstr.h"
#include "platform/com/case_mapping.h"
#include "platform/com/unknown.h"

namespace zorv::scripting {
namespace {

KeyView NumberKey(double value) {
    KeyView key;
    key.kind = KeyView::Kind::Number;
    key.number = value == 0 ? 0.0 : value; // -0 and 0 are one key
    return key;
}

KeyView TextKey(BSTR text) {
    KeyView key;
    key.kind = KeyView::Kind::Text;
    key.pointer = text;
    key.length = SysStringLen(text);
    return key;
}

KeyView ObjectKey(IUnknown* object) {
    KeyView key;
    key.kind = KeyView::Kind::Object;
    key.pointer = object;
    IUnknown* identity = nullptr;
    if (object != nullptr &&
        SUCCEEDED(object->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)))) {
        key.pointer = identity;
        identity->Release(); // the dictionary holds the key itself, so the address stays valid
    }
    return key;
}

// The key of a plain value; false for one that needs converting first.
bool PlainKey(const VARIANT& value, KeyView& key) {
    switch (value.vt) {
    case VT_EMPTY:
        key = {};
        return true;
    case VT_NULL:
        key = {};
        key.kind = KeyView::Kind::Null;
        return true;
    case VT_BSTR:
        key = TextKey(value.bstrVal);
        return true;
    case VT_DISPATCH:
    case VT_UNKNOWN:
        key = ObjectKey(value.punkVal);
        return true;
    case VT_I2:
        key = NumberKey(value.iVal);
        return true;
    case VT_I4:
        key = NumberKey(value.lVal);
        return true;
    case VT_R8:
    case VT_DATE:
        key = NumberKey(value.dblVal);
        return true;
    case VT_UI1:
        key = NumberKey(value.bVal);
        return true;
    case VT_BOOL:
        key = NumberKey(value.boolVal != VARIANT_FALSE ? -1 : 0);
        return true;
    default:
        return false;
    }
}

// Whole numbers differ only in their high bits as doubles, pointers only in
// their middle ones: every bit is mixed into the low ones the index uses.
std::uint32_t Mixed(std::uint64_t bits) {
    bits ^= bits >> 30;
    bits *= 0xBF58476D1CE4E5B9ull;
    bits ^= bits >> 27;
    bits *= 0x94D049BB133111EBull;
    bits ^= bits >> 31;
    return static_cast<std::uint32_t>(bits);
}

// Four characters a step, then the tail.
std::uint64_t TextHash(std::u16string_view text) {
    std::uint64_t h = 0x9E3779B97F4A7C15ull ^ text.size();
    std::size_t i = 0;
    for (; i + 4 <= text.size(); i += 4) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + i, sizeof word);
        h = std::rotl((h ^ word) * 0xFF51AFD7ED558CCDull, 29);
    }
    for (; i < text.size(); ++i)
        h = std::rotl((h ^ text[i]) * 0xFF51AFD7ED558CCDull, 29);
    return h;
}

std::uint64_t FoldedTextHash(std::u16string_view text) {
    std::uint64_t h = 0x9E3779B97F4A7C15ull ^ text.size();
    for (char16_t c : text)
        h = std::rotl((h ^ com::LowerChar(c)) * 0xFF51AFD7ED558CCDull, 29);
    return h;
}

bool SameTextIgnoringCase(std::u16string_view a, std::u16string_view b) {
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i] && com::LowerChar(a[i]) != com::LowerChar(b[i]))
            return false;
    return true;
}

} // namespace

std::uint32_t HashOf(const KeyView& key, bool ignoreCase) {
    switch (key.kind) {
    case KeyView::Kind::Number:
        return Mixed(std::bit_cast<std::uint64_t>(key.number));
    case KeyView::Kind::Object:
        return Mixed(reinterpret_cast<std::uintptr_t>(key.pointer));
    case KeyView::Kind::Text:
        return Mixed(ignoreCase ? FoldedTextHash(key.Text()) : TextHash(key.Text()));
    default:
        return Mixed(static_cast<std::uint64_t>(key.kind));
    }
}

bool SameKey(const KeyView& a, const KeyView& b, bool ignoreCase) {
    if (a.kind != b.kind)
        return false;
    switch (a.kind) {
    case KeyView::Kind::Number:
        return a.number == b.number;
    case KeyView::Kind::Object:
        return a.pointer == b.pointer;
    case KeyView::Kind::Text:
        if (a.length != b.length)
            return false;
        return ignoreCase ? SameTextIgnoringCase(a.Text(), b.Text()) : a.Text() == b.Text();
    default:
        return true;
    }
}

ProbeKey::ProbeKey(const VARIANT& value) {
    const VARIANT& plain =
        value.vt == (VT_BYREF | VT_VARIANT) && value.pvarVal != nullptr ? *value.pvarVal : value;
    if (!PlainKey(plain, view_))
        Read(plain);
}

ProbeKey::~ProbeKey() {
    if (held_.vt != VT_EMPTY)
        VariantClear(&held_);
}

// Typed references, and number types the fast path does not list.
void ProbeKey::Read(const VARIANT& value) {
    if (value.vt & VT_ARRAY)
        Raise(kTypeMismatch);
    const VARIANT* source = &value;
    if (value.vt & VT_BYREF) {
        if (FAILED(VariantCopyInd(&held_, &value)) || (held_.vt & VT_ARRAY) != 0)
            Raise(kTypeMismatch);
        if (PlainKey(held_, view_))
            return;
        source = &held_;
    }
    VARIANT number;
    VariantInit(&number);
    if (FAILED(VariantChangeType(&number, source, 0, VT_R8)))
        Raise(kTypeMismatch);
    view_ = NumberKey(number.dblVal);
}

KeyView StoredKey(const VARIANT& key) {
    ProbeKey probe(key);
    return probe.View();
}

} // namespace zorv::scripting
