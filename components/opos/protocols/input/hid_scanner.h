#pragma once
// HID point-of-sale bar code scanners (usage page 0x8C) read through hidraw.
// Their scanned-data input report carries a length, the three bytes of the
// AIM symbology identifier and a slice of the data; a flag in the last byte
// says more reports follow for a longer label. Layout by default as most
// such scanners send it:
//   byte 0 report ID (2), 1 data length in this report, 2..4 symbology
//   identifier, 5..60 data (56 bytes), 63 bit 0 "data continues".
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace zorv::opos::input {

struct HidReportLayout {
    std::size_t size = 64;
    std::uint8_t reportId = 2;
    std::size_t lengthAt = 1;
    std::size_t symbologyAt = 2;
    std::size_t dataAt = 5;
    std::size_t dataMax = 56;
    std::size_t continuedAt = 63;
    std::uint8_t continuedMask = 0x01;
};

enum class HidOutcome {
    Label,      // label() holds a whole label
    Incomplete, // more reports follow
    Ignored,    // another report ID: not scanned data
    WrongSize,  // rejected; any partial label is dropped
    BadLength,  // the length byte passes the data field; rejected likewise
    TooLong,    // the label passed maxLabel; rejected likewise
};

struct HidLabel {
    std::string identifier; // "]E0", empty when the scanner sends none
    std::string data;
};

class HidScannerReports {
public:
    explicit HidScannerReports(HidReportLayout layout = {}, std::size_t maxLabel = 64 * 1024)
        : layout_(layout), maxLabel_(maxLabel) {}

    HidOutcome Feed(std::span<const std::uint8_t> report);
    // The label completed by the last Feed that answered Label.
    const HidLabel& Label() const { return label_; }

private:
    HidOutcome Reject(HidOutcome why);

    HidReportLayout layout_;
    std::size_t maxLabel_;
    HidLabel building_;
    HidLabel label_;
};

// Reads one report (hidraw gives one a read): its size, 0 at end of file,
// -errno on failure (-EAGAIN when nothing is there).
long ReadReport(int fd, std::span<std::uint8_t> buffer);

} // namespace zorv::opos::input
