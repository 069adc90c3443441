#include "backends/input/wedge_scanner.h"

#include "model/opos_codes.h"
#include "protocols/scan/symbology.h"

namespace zorv::opos::real {
namespace {

// Symbologies are told by ASCII alone; other characters only need to stay
// other characters.
std::string Narrow(std::u16string_view text) {
    std::string narrow;
    narrow.reserve(text.size());
    for (char16_t c : text)
        narrow.push_back(c < 0x80 ? static_cast<char>(c) : '\x7f');
    return narrow;
}

} // namespace

Input TypedLabel(std::u16string_view typed, bool aimPrefix) {
    const scan::DecodedLabel decoded = scan::DecodeLabel(Narrow(typed), aimPrefix);
    const std::u16string label(typed.substr(decoded.identifier.size()));
    return {static_cast<LONG>(decoded.type), 0, {label, std::u16string(typed)}};
}

// A label cut short by unplugging is dropped with the wedge's state.
WedgeScanner::WedgeScanner(WedgeScannerConfig config)
    : NodeBackend(config.path, true), aimPrefix_(config.aimPrefix),
      lines_(
          config.wedge,
          [this](std::u16string label) { Events().InputArrived(TypedLabel(label, aimPrefix_)); },
          [this] { Events().InputFailed(OPOS_E_FAILURE, 0, u"", std::nullopt); }) {}

} // namespace zorv::opos::real
