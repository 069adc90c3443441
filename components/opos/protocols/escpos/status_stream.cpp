#include "protocols/escpos/status_stream.h"

namespace zorv::opos::escpos {
namespace {

constexpr uint8_t kAsbFollowingFixedMask = 0x90;
constexpr size_t kAsbLength = 4;

StatusReport Noise(std::string bytes, std::string error) {
    StatusReport report;
    report.bytes = std::move(bytes);
    report.error = std::move(error);
    return report;
}

} // namespace

std::vector<StatusReport> StatusStream::Feed(std::string_view bytes) {
    std::vector<StatusReport> out;
    for (const char c : bytes)
        Byte(static_cast<uint8_t>(c), out);
    return out;
}

void StatusStream::Byte(uint8_t byte, std::vector<StatusReport>& out) {
    if (!partial_.empty()) {
        if ((byte & kAsbFollowingFixedMask) == 0) {
            partial_.push_back(static_cast<char>(byte));
            if (partial_.size() < kAsbLength)
                return;
            const DecodedStatus decoded = DecodeAutomaticStatus(partial_);
            StatusReport report = decoded.ok()
                                      ? StatusReport{StatusReport::Kind::Automatic, 0, decoded.status, {}, {}}
                                      : Noise(partial_, decoded.error);
            out.push_back(std::move(report));
            partial_.clear();
            return;
        }
        out.push_back(Noise(partial_, "automatic status report broken off after " +
                                          std::to_string(partial_.size()) + " of 4 bytes"));
        partial_.clear();
    }
    if (StartsAutomaticStatus(byte)) {
        partial_.push_back(static_cast<char>(byte));
    } else if (LooksLikeRealTimeStatus(byte)) {
        StatusReport report;
        report.kind = StatusReport::Kind::RealTime;
        report.byte = byte;
        out.push_back(std::move(report));
    } else {
        out.push_back(
            Noise(std::string(1, static_cast<char>(byte)), "byte is neither a status answer nor report"));
    }
}

} // namespace zorv::opos::escpos
