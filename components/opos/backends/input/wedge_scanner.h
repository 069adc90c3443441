#pragma once
// A scanner that types its labels as a keyboard (a keyboard wedge) on a
// Linux input device. While enabled the device is held here, so the labels
// reach no other window; key events become characters through the
// configured layout and Enter ends each label. A label that runs past the
// longest allowed, or that a key the layout does not know fell into, is
// dropped with one input error.
#include "backends/input/node_backend.h"
#include "backends/input/wedge_lines.h"

namespace zorv::opos::real {

struct WedgeScannerConfig {
    std::string path;
    input::WedgeConfig wedge;
    bool aimPrefix = false;
};

class WedgeScanner final : public NodeBackend {
public:
    explicit WedgeScanner(WedgeScannerConfig config);

private:
    void Bytes(const std::string& bytes) override { lines_.Feed(bytes); }
    void Lost() override { lines_.Reset(); }

    bool aimPrefix_;
    WedgeLines lines_;
};

// A typed label as the scanner model takes it: ScanData as typed, the
// symbology from an AIM identifier or the retail codes' length and check digit.
Input TypedLabel(std::u16string_view typed, bool aimPrefix);

} // namespace zorv::opos::real
