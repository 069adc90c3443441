#include "protocols/scan/label_framer.h"

#include <algorithm>

namespace zorv::opos::scan {
namespace {

constexpr char kCr = '\r', kLf = '\n', kTab = '\t', kEtx = '\x03', kStx = '\x02';

struct SuffixName {
    std::string_view name;
    Suffix suffix;
};
constexpr SuffixName kSuffixNames[] = {
    {"CR", Suffix::CR},   {"LF", Suffix::LF},   {"CRLF", Suffix::CRLF},
    {"TAB", Suffix::TAB}, {"ETX", Suffix::ETX},
};

// Separators that GS1 and ISO 15434 data carry inside a label.
bool IsDataControl(unsigned char byte) {
    return byte == 0x04 || (byte >= 0x1C && byte <= 0x1E);
}

bool IsNoise(unsigned char byte) {
    return (byte < 0x20 && !IsDataControl(byte)) || byte == 0x7F;
}

} // namespace

std::optional<Suffix> SuffixFromName(std::string_view name) {
    for (const SuffixName& entry : kSuffixNames)
        if (entry.name.size() == name.size() && std::equal(name.begin(), name.end(), entry.name.begin(),
                                                           [](char a, char b) { return (a & ~0x20) == b; }))
            return entry.suffix;
    return std::nullopt;
}

const char* FaultText(FrameFault fault) {
    switch (fault) {
    case FrameFault::None:
        return "";
    case FrameFault::TooLong:
        return "Étiquette trop longue sans suffixe";
    case FrameFault::Junk:
        return "Octets parasites entre ou dans les étiquettes";
    }
    return "";
}

void LabelFramer::Reset() {
    label_.clear();
    junk_ = overflow_ = 0;
    noisy_ = sawCr_ = false;
}

std::vector<Frame> LabelFramer::Feed(std::string_view bytes) {
    std::vector<Frame> out;
    Feed(bytes, out);
    return out;
}

void LabelFramer::Feed(std::string_view bytes, std::vector<Frame>& out) {
    for (char byte : bytes)
        Take(byte, out);
}

bool LabelFramer::EndsLabel(char byte) const {
    switch (config_.suffix) {
    case Suffix::CR:
        return byte == kCr;
    case Suffix::LF:
        return byte == kLf;
    case Suffix::CRLF:
        return byte == kLf && sawCr_;
    case Suffix::TAB:
        return byte == kTab;
    case Suffix::ETX:
        return byte == kEtx;
    }
    return false;
}

void LabelFramer::Take(char byte, std::vector<Frame>& out) {
    if (EndsLabel(byte)) {
        sawCr_ = false;
        EndLabel(out);
        return;
    }
    if (sawCr_) { // a CR that no LF followed is noise
        sawCr_ = false;
        Take('\x7F', out);
    }
    if (config_.suffix == Suffix::CRLF && byte == kCr) {
        sawCr_ = true;
        return;
    }
    if (overflow_ > 0) {
        ++overflow_;
        return;
    }
    const bool noise = IsNoise(static_cast<unsigned char>(byte));
    if (label_.empty() && !noisy_) {
        if (byte == kStx && config_.suffix == Suffix::ETX && junk_ == 0)
            return;
        if (noise) {
            ++junk_;
            return;
        }
        FlushJunk(out);
    }
    if (label_.size() >= config_.maxLength) {
        out.push_back({{}, FrameFault::TooLong, label_.size() + 1});
        label_.clear();
        noisy_ = false;
        overflow_ = 1;
        return;
    }
    noisy_ = noisy_ || noise;
    label_.push_back(byte);
}

void LabelFramer::FlushJunk(std::vector<Frame>& out) {
    if (junk_ > 0)
        out.push_back({{}, FrameFault::Junk, junk_});
    junk_ = 0;
}

void LabelFramer::EndLabel(std::vector<Frame>& out) {
    if (overflow_ > 0) {
        overflow_ = 0;
        return;
    }
    if (label_.empty()) { // the suffix joins the junk before it
        out.push_back({{}, FrameFault::Junk, junk_ + 1});
        junk_ = 0;
    } else if (noisy_)
        out.push_back({{}, FrameFault::Junk, label_.size()});
    else
        out.push_back({std::move(label_), FrameFault::None, 0});
    label_.clear();
    noisy_ = false;
}

} // namespace zorv::opos::scan
