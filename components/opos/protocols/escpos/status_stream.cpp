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

// Noise right after noise joins it: a line full of garbage is one report,
// not one per byte (a device that floods the link costs no more than that).
void AddNoise(std::vector<StatusReport>& out, std::string_view bytes, const char* error) {
    if (!out.empty() && out.back().kind == StatusReport::Kind::Noise) {
        out.back().bytes += bytes;
        return;
    }
    out.push_back(Noise(std::string(bytes), error));
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
            if (decoded.ok())
                out.push_back(StatusReport{StatusReport::Kind::Automatic, 0, decoded.status, {}, {}});
            else
                AddNoise(out, partial_, decoded.error.c_str());
            partial_.clear();
            return;
        }
        AddNoise(out, partial_, "automatic status report broken off");
        partial_.clear();
    }
    if (StartsAutomaticStatus(byte)) {
        partial_.push_back(static_cast<char>(byte));
    } else if (LooksLikeRealTimeStatus(byte)) {
        StatusReport report;
        report.kind = StatusReport::Kind::RealTime;
        report.byte = byte;
        out.push_back(std::move(report));
    } else if (LooksLikeTransmittedStatus(byte)) {
        StatusReport report;
        report.kind = StatusReport::Kind::Transmitted;
        report.byte = byte;
        report.status = DecodeTransmittedStatus(byte);
        out.push_back(std::move(report));
    } else {
        const char c = static_cast<char>(byte);
        AddNoise(out, std::string_view(&c, 1), "byte is neither a status answer nor report");
    }
}

} // namespace zorv::opos::escpos
