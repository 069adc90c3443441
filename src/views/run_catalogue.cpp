#include "views/run_catalogue.h"

#include <algorithm>

#include "outside/late_bound.h"
#include "views/decimal_text.h"
#include "views/property_rows.h"

namespace zorv::views {

namespace {

const CodeName* FindCode(std::span<const CodeName> codes, LONG code) {
    const auto found =
        std::find_if(codes.begin(), codes.end(), [code](const CodeName& c) { return c.code == code; });
    return found == codes.end() ? nullptr : &*found;
}

void AddCodeRow(SpecificPropertiesView& view, const CatalogueEntry& entry, LONG code) {
    if (const CodeName* named = FindCode(entry.codes, code))
        AddValueText(view, entry.shown, named->name);
    else if (entry.outside == OutsideCode::Number)
        AddValueText(view, entry.shown, DecimalText(code));
}

void AddEntryRow(SpecificPropertiesView& view, const CatalogueEntry& entry, const com::Variant& value) {
    switch (entry.kind) {
    case RowKind::Flag:
        AddCheckRow(view, entry.shown, outside::ToBool(value));
        break;
    case RowKind::Text:
        AddValueRow(view, entry.shown, value);
        break;
    case RowKind::Number:
        AddValueText(view, entry.shown, DecimalText(outside::ToLong(value)));
        break;
    case RowKind::Code:
        AddCodeRow(view, entry, outside::ToLong(value));
        break;
    }
}

} // namespace

void RunCatalogue(Catalogue catalogue, const DeviceObjectSource& deviceObject, SpecificPropertiesView& view) {
    for (const CatalogueEntry& entry : catalogue)
        AddEntryRow(view, entry, outside::GetProperty(deviceObject().Get(), entry.property));
}

} // namespace zorv::views
