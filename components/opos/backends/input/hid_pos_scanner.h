#pragma once
// A USB HID point-of-sale scanner read through hidraw: each scanned-data
// report (or run of reports, for a long label) gives the symbology's AIM
// identifier and the label. A report of the wrong size or with a length
// that does not fit drops what was being assembled with one input error;
// reports of other IDs (the scanner's status, its features) are passed over.
#include "protocols/input/hid_scanner.h"
#include "backends/input/node_backend.h"

namespace zorv::opos::real {

class HidPosScanner final : public NodeBackend {
public:
    HidPosScanner(std::string path, std::size_t maxLength);

private:
    void Bytes(const std::string& report) override;
    void Lost() override;

    std::size_t maxLength_;
    input::HidScannerReports reports_;
};

} // namespace zorv::opos::real
