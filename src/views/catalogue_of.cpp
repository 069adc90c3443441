#include <cstddef>
#include <iterator>

#include "views/catalogues.h"

namespace zorv::views {

namespace {

// Indexed by DeviceKindId, so in kind order.
constexpr Catalogue (*kCatalogues[])() = {ScannerCatalogue,   PrinterCatalogue, LineDisplayCatalogue,
                                          KeylockCatalogue,   MSRCatalogue,     POSKeyboardCatalogue,
                                          CashDrawerCatalogue};
static_assert(std::size(kCatalogues) == static_cast<std::size_t>(devices::DeviceKindId::CashDrawer) + 1);

} // namespace

Catalogue CatalogueOf(devices::DeviceKindId kind) {
    return kCatalogues[static_cast<std::size_t>(kind)]();
}

} // namespace zorv::views
