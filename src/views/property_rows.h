#pragma once
// The two ways a row reaches the specific properties page.
#include <string_view>

#include "platform/com/variant_value.h"
#include "views/kind_properties_view.h"

namespace zorv::views {

// The item's text is `name` unchanged.
void AddCheckRow(SpecificPropertiesView& view, std::u16string_view name, bool value);
// Caption `label` + " :"; the value converted to text (strings unchanged,
// integers in decimal, booleans "True"/"False"); a value that does not
// convert raises EOleError and adds nothing.
void AddValueRow(SpecificPropertiesView& view, std::u16string_view label, const com::Variant& value);
// The same row for a value already written as text.
void AddValueText(SpecificPropertiesView& view, std::u16string_view label, std::u16string_view text);

} // namespace zorv::views
