#include "protocols/input/hid_scanner.h"

#include <cerrno>
#include <unistd.h>

namespace zorv::opos::input {

HidOutcome HidScannerReports::Reject(HidOutcome why) {
    building_ = {};
    return why;
}

HidOutcome HidScannerReports::Feed(std::span<const std::uint8_t> report) {
    const bool fits = layout_.lengthAt < report.size() && layout_.symbologyAt + 3 <= report.size() &&
                      layout_.continuedAt < report.size();
    if (report.size() != layout_.size || !fits)
        return Reject(HidOutcome::WrongSize);
    if (report[0] != layout_.reportId)
        return HidOutcome::Ignored;
    const std::size_t length = report[layout_.lengthAt];
    if (length > layout_.dataMax || layout_.dataAt + length > report.size())
        return Reject(HidOutcome::BadLength);
    if (building_.data.size() + length > maxLabel_)
        return Reject(HidOutcome::TooLong);
    if (building_.data.empty() && building_.identifier.empty()) {
        for (std::size_t i = 0; i < 3; ++i)
            if (const std::uint8_t byte = report[layout_.symbologyAt + i])
                building_.identifier += static_cast<char>(byte);
    }
    building_.data.append(reinterpret_cast<const char*>(report.data() + layout_.dataAt), length);
    if (report[layout_.continuedAt] & layout_.continuedMask)
        return HidOutcome::Incomplete;
    label_ = std::move(building_);
    building_ = {};
    return HidOutcome::Label;
}

long ReadReport(int fd, std::span<std::uint8_t> buffer) {
    ssize_t n;
    do
        n = read(fd, buffer.data(), buffer.size());
    while (n < 0 && errno == EINTR);
    return n < 0 ? -errno : static_cast<long>(n);
}

} // namespace zorv::opos::input
