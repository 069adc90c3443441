#pragma once
// Cuts a scanner's byte stream into labels at a configured suffix. Reads may
// split a label anywhere; memory stays bounded by the longest label allowed.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zorv::opos::scan {

enum class Suffix { CR, LF, CRLF, TAB, ETX };

std::optional<Suffix> SuffixFromName(std::string_view name);

struct FramerConfig {
    Suffix suffix = Suffix::CR;
    std::size_t maxLength = 4096;
};

enum class FrameFault {
    None,
    TooLong, // no suffix within maxLength bytes; the rest up to the next suffix is dropped
    Junk,    // control bytes or noise between or inside labels
};

struct Frame {
    std::string label; // empty when fault != None
    FrameFault fault = FrameFault::None;
    std::size_t droppedBytes = 0;
};

class LabelFramer {
public:
    explicit LabelFramer(FramerConfig config = {}) : config_(config) {}

    // Appends the frames completed by `bytes` to `out`.
    void Feed(std::string_view bytes, std::vector<Frame>& out);
    std::vector<Frame> Feed(std::string_view bytes);

    // Bytes held for a label not yet ended.
    std::size_t Pending() const { return label_.size() + (sawCr_ ? 1 : 0); }
    void Reset();

private:
    void Take(char byte, std::vector<Frame>& out);
    void EndLabel(std::vector<Frame>& out);
    void FlushJunk(std::vector<Frame>& out);
    bool EndsLabel(char byte) const;

    FramerConfig config_;
    std::string label_;
    std::size_t junk_ = 0;     // junk bytes seen before the label started
    std::size_t overflow_ = 0; // bytes dropped past maxLength
    bool noisy_ = false;       // the label holds control bytes
    bool sawCr_ = false;       // CRLF: a CR waiting for its LF
};

const char* FaultText(FrameFault fault);

} // namespace zorv::opos::scan
