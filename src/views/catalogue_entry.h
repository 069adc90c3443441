#pragma once
// One entry of a kind's property catalogue: which property is read, under
// which name it is shown, and how its value becomes a row.
#include <span>
#include <string_view>

#include "platform/com/types.h"

namespace zorv::views {

enum class RowKind {
    Flag,   // a check row, the value as a boolean
    Text,   // a value row, the value converted to text
    Number, // a value row, the value as a 32-bit integer in decimal
    Code,   // a value row showing the code's name, per the entry's table
};

// What a code entry shows for a value that is not in its table.
enum class OutsideCode { NoRow, Number };

struct CodeName {
    LONG code;
    std::u16string_view name;
};

struct CatalogueEntry {
    std::u16string_view shown;
    std::u16string_view property;
    RowKind kind;
    std::span<const CodeName> codes{};
    OutsideCode outside = OutsideCode::NoRow;
};

using Catalogue = std::span<const CatalogueEntry>;

constexpr CatalogueEntry Flag(std::u16string_view name) {
    return {name, name, RowKind::Flag};
}
constexpr CatalogueEntry Text(std::u16string_view name) {
    return {name, name, RowKind::Text};
}
constexpr CatalogueEntry Number(std::u16string_view name) {
    return {name, name, RowKind::Number};
}
constexpr CatalogueEntry Code(std::u16string_view name, std::span<const CodeName> codes,
                              OutsideCode outside) {
    return {name, name, RowKind::Code, codes, outside};
}

} // namespace zorv::views
