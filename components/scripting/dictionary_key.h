#pragma once
// A dictionary key as the classic dictionary compares keys: numbers by value
// whatever their type (1, 1& and 1.0 are one key), texts exactly or without
// regard to case, objects by identity, Empty and Null as themselves. A text
// is never a number ("1" and 1 are two keys).
//
// A key is a view: its text stays in the BSTR it came in (the caller's on a
// lookup, the entry's own copy once stored), so looking up copies nothing.
#include <cstdint>
#include <string_view>

#include "platform/com/variant.h"

namespace zorv::scripting {

struct KeyView {
    enum class Kind : std::uint8_t { Empty, Null, Number, Text, Object };

    Kind kind = Kind::Empty;
    std::uint32_t length = 0; // of the text
    union {
        double number = 0;   // -0 made 0
        const void* pointer; // the text, or the object's identity
    };

    std::u16string_view Text() const { return {static_cast<const char16_t*>(pointer), length}; }
};

std::uint32_t HashOf(const KeyView& key, bool ignoreCase);
bool SameKey(const KeyView& a, const KeyView& b, bool ignoreCase);

// The key a script passed, by-reference values followed; raises 13 for a
// value that cannot be a key (an array). Valid while `value` is unchanged.
class ProbeKey {
public:
    explicit ProbeKey(const VARIANT& value);
    ~ProbeKey();
    ProbeKey(const ProbeKey&) = delete;
    ProbeKey& operator=(const ProbeKey&) = delete;

    const KeyView& View() const { return view_; }

private:
    void Read(const VARIANT& value);

    KeyView view_;
    VARIANT held_{}; // a by-reference value of another type, read into here
};

// The key of a stored (plain) key variant, whose text it points into.
KeyView StoredKey(const VARIANT& key);

} // namespace zorv::scripting
