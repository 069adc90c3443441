#include "real/wedge_scanner.h"

#include <linux/input-event-codes.h>

#include "opos_codes.h"
#include "scan/symbology.h"

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

bool EndsLabel(const input_event& event) {
    return event.type == EV_KEY && event.value == 1 && (event.code == KEY_ENTER || event.code == KEY_KPENTER);
}

} // namespace

Input TypedLabel(std::u16string_view typed, bool aimPrefix) {
    const scan::DecodedLabel decoded = scan::DecodeLabel(Narrow(typed), aimPrefix);
    const std::u16string label(typed.substr(decoded.identifier.size()));
    return {static_cast<LONG>(decoded.type), 0, {label, std::u16string(typed)}};
}

WedgeScanner::WedgeScanner(WedgeScannerConfig config)
    : NodeBackend(config.path, true), config_(std::move(config)), wedge_(config_.wedge) {}

void WedgeScanner::Bytes(const std::string& bytes) {
    for (const input_event& event : records_.Feed(bytes))
        Key(event);
}

void WedgeScanner::Key(const input_event& event) {
    std::vector<input::WedgeEvent> out;
    wedge_.Feed(event, out);
    for (input::WedgeEvent& typed : out) {
        if (typed.kind == input::WedgeEventKind::Label) {
            Events().InputArrived(TypedLabel(typed.text, config_.aimPrefix));
        } else if (!garbled_) {
            garbled_ = true;
            Events().InputFailed(OPOS_E_FAILURE, 0, u"", std::nullopt);
        }
    }
    if (EndsLabel(event))
        garbled_ = false;
}

// A label cut short by unplugging is dropped with the wedge's state.
void WedgeScanner::Lost() {
    records_.Reset();
    wedge_ = input::KeyboardWedge(config_.wedge);
    garbled_ = false;
}

} // namespace zorv::opos::real
