#pragma once
// The seven kinds' property catalogues, in the order their rows are read and added.
#include "devices/device_kinds.h"
#include "views/catalogue_entry.h"

namespace zorv::views {

Catalogue ScannerCatalogue();
Catalogue PrinterCatalogue();
Catalogue LineDisplayCatalogue();
Catalogue KeylockCatalogue();
Catalogue MSRCatalogue();
Catalogue POSKeyboardCatalogue();
Catalogue CashDrawerCatalogue();

Catalogue CatalogueOf(devices::DeviceKindId kind);

} // namespace zorv::views
