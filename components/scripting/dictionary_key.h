#pragma once
// A dictionary key as the classic dictionary compares keys: numbers by value
// whatever their type (1, 1& and 1.0 are one key), texts exactly or without
// regard to case, objects by identity, Empty and Null as themselves. A text
// is never a number ("1" and 1 are two keys).
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/com/variant.h"

namespace zorv::scripting {

struct DictionaryKey {
    enum class Kind : std::uint8_t { Empty, Null, Number, Text, Object };

    Kind kind = Kind::Empty;
    double number = 0;
    std::u16string text; // folded in text mode
    const void* identity = nullptr;

    bool operator==(const DictionaryKey& other) const {
        return kind == other.kind && number == other.number && identity == other.identity &&
               text == other.text;
    }
};

std::uint32_t HashOf(const DictionaryKey& key);

// The key for `value` (by-reference values followed); raises 13 for a value
// that cannot be a key (an array). `ignoreCase` folds texts.
DictionaryKey MakeKey(const VARIANT& value, bool ignoreCase);

} // namespace zorv::scripting
