#include <cstddef>
#include <iterator>

#include "views/catalogues.h"

namespace zorv::views {

namespace {

using devices::DeviceKindId;

struct KindCatalogue {
    DeviceKindId kind;
    Catalogue (*catalogue)();
};

// One row per kind, in the kind rows' order.
constexpr KindCatalogue kCatalogues[] = {
    {DeviceKindId::Scanner, ScannerCatalogue},
    {DeviceKindId::Printer, PrinterCatalogue},
    {DeviceKindId::LineDisplay, LineDisplayCatalogue},
    {DeviceKindId::Keylock, KeylockCatalogue},
    {DeviceKindId::MSR, MSRCatalogue},
    {DeviceKindId::POSKeyboard, POSKeyboardCatalogue},
    {DeviceKindId::CashDrawer, CashDrawerCatalogue},
};

consteval bool EveryKindInOrder() {
    if (std::size(kCatalogues) != devices::kKindCount)
        return false;
    for (std::size_t i = 0; i < std::size(kCatalogues); ++i)
        if (kCatalogues[i].kind != devices::DeviceKinds()[i].id)
            return false;
    return true;
}
static_assert(EveryKindInOrder(), "one catalogue per kind, in the kind rows' order");

} // namespace

Catalogue CatalogueOf(DeviceKindId kind) {
    return kCatalogues[devices::IndexOf(kind)].catalogue();
}

} // namespace zorv::views
