#include "views/property_rows.h"

#include <string>

#include "outside/late_bound.h"

namespace zorv::views {

void AddCheckRow(SpecificPropertiesView& view, std::u16string_view name, bool value) {
    view.AppendCheckItem(name, value);
}

void AddValueRow(SpecificPropertiesView& view, std::u16string_view label, const com::Variant& value) {
    AddValueText(view, label, outside::ToText(value));
}

void AddValueText(SpecificPropertiesView& view, std::u16string_view label, std::u16string_view text) {
    std::u16string caption(label);
    caption += u" :";
    view.AppendValueRow(caption, text);
}

} // namespace zorv::views
