#pragma once
// A magnetic stripe reader that types its swipes as a keyboard: held while
// enabled, like a wedge scanner, its keys become text through the layout and
// each line (Enter) brings tracks between ISO sentinels. A line too long or
// with a key the layout does not know is lost with one input error.
#include "backends/input/node_backend.h"
#include "backends/swipe_lines.h"
#include "backends/input/wedge_lines.h"

namespace zorv::opos::real {

class WedgeMsr final : public NodeBackend {
public:
    WedgeMsr(std::string path, input::WedgeConfig wedge);

private:
    void Bytes(const std::string& bytes) override { lines_.Feed(bytes); }
    void Lost() override;

    SwipeLines swipes_;
    WedgeLines lines_;
};

// Track characters are ASCII; anything else stands as a character no track holds.
std::string TrackText(std::u16string_view typed);

} // namespace zorv::opos::real
