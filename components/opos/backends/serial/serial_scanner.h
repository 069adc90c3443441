#pragma once
// A scanner on a serial line (or USB CDC-ACM): the framer cuts the line's
// bytes into labels at the configured suffix, and each label becomes one
// input with its symbology. When the far end goes away the device is off
// and offline until the path comes back.
#include <string>

#include "backends/serial/watched_link.h"
#include "backends/unusable_device.h"
#include "model/backend.h"
#include "protocols/scan/label_framer.h"

namespace zorv::opos::real {

struct SerialScannerConfig {
    transport::Connection connection;
    scan::FramerConfig framing;
    bool aimPrefix = false;
};

class SerialScanner final : public Backend {
public:
    explicit SerialScanner(SerialScannerConfig config);

    void Start(BackendEvents& events) override;
    HealthReport OpenRefusal() const override { return PathRefusal(link_.Unsuitable(), link_.Problem()); }
    void Send(std::uint64_t ticket, const Output& output) override;
    HealthReport CheckHealth(LONG level) override;
    LONG CompareFirmware(std::u16string_view file, LONG& result) override;
    LONG UpdateFirmware(std::u16string_view file) override;
    std::optional<LONG> DirectIO(LONG, LONG&, std::u16string&) override { return std::nullopt; }
    std::u16string Interface() const override { return u"Serial"; }

private:
    void Bytes(const std::string& bytes);
    void Deliver(const scan::Frame& frame);
    void Lost();

    SerialScannerConfig config_;
    scan::LabelFramer framer_;
    BackendEvents* events_ = nullptr;
    WatchedLink link_;
};

// One byte per character: labels are bytes, and ScanData keeps them as sent.
std::u16string Widen(std::string_view bytes);

// "Internal HCheck: ..." for a device reached through `link`.
HealthReport LinkHealth(LONG level, const WatchedLink& link);
// The same for any device that is open or, with `problem`, not.
HealthReport LinkHealth(LONG level, bool open, const std::string& problem);

} // namespace zorv::opos::real
