#include "backends/input/hid_pos_scanner.h"

#include "model/opos_codes.h"
#include "backends/serial/serial_scanner.h"
#include "protocols/scan/symbology.h"

namespace zorv::opos::real {

HidPosScanner::HidPosScanner(std::string path, std::size_t maxLength)
    : NodeBackend(std::move(path), false), maxLength_(maxLength), reports_({}, maxLength) {}

// One read of a hidraw node is one report.
void HidPosScanner::Bytes(const std::string& report) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(report.data());
    switch (reports_.Feed({bytes, report.size()})) {
    case input::HidOutcome::Label: {
        const input::HidLabel& label = reports_.Label();
        if (label.data.empty()) {
            Events().InputFailed(OPOS_E_FAILURE, 0, u"", std::nullopt);
            break;
        }
        const std::string sent = label.identifier + label.data;
        const scan::DecodedLabel decoded = scan::DecodeLabel(sent, !label.identifier.empty());
        Events().InputArrived({static_cast<LONG>(decoded.type), 0, {Widen(decoded.label), Widen(sent)}});
        break;
    }
    case input::HidOutcome::Incomplete:
    case input::HidOutcome::Ignored:
        break;
    case input::HidOutcome::WrongSize:
    case input::HidOutcome::BadLength:
    case input::HidOutcome::TooLong:
        Events().InputFailed(OPOS_E_FAILURE, 0, u"", std::nullopt);
        break;
    }
}

void HidPosScanner::Lost() {
    reports_ = input::HidScannerReports({}, maxLength_);
}

} // namespace zorv::opos::real
