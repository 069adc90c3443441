#pragma once
// The standard's names for the codes that events and calls carry: status
// updates by kind, result codes, extended codes by kind, error loci and
// responses. A code without a name is written in decimal.
#include <optional>
#include <span>
#include <string>

#include "devices/device_kinds.h"
#include "views/catalogue_entry.h"

namespace zorv::views {

// The tables themselves, for those who check them.
std::span<const CodeName> StatusUpdateNames(devices::DeviceKindId kind);
std::span<const CodeName> ExtendedResultNames(devices::DeviceKindId kind);
std::span<const CodeName> ErrorLocusNames();
std::span<const CodeName> ErrorResponseNames();
std::span<const CodeName> ScanDataTypeNames();

// The code's name in `table`, or none.
std::optional<std::u16string_view> NameIn(std::span<const CodeName> table, LONG code);
// "NAME (code)", or the decimal code when `table` does not name it.
std::u16string NamedCode(std::span<const CodeName> table, LONG code);
// A result code: OPOS_SUCCESS or an OPOS_E_ name, with the code.
std::u16string NamedResultCode(LONG code);

} // namespace zorv::views
