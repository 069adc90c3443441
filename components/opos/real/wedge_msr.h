#pragma once
// A magnetic stripe reader that types its swipes as a keyboard: held while
// enabled, like a wedge scanner, its keys become text through the layout and
// each line (Enter) brings tracks between ISO sentinels. Lines too long or
// with keys the layout does not know are lost as a whole.
#include "input/event_records.h"
#include "input/keyboard_wedge.h"
#include "real/node_backend.h"
#include "real/swipe_lines.h"

namespace zorv::opos::real {

class WedgeMsr final : public NodeBackend {
public:
    WedgeMsr(std::string path, input::WedgeConfig wedge);

private:
    void Bytes(const std::string& bytes) override;
    void Lost() override;

    input::WedgeConfig config_;
    input::EventRecords records_;
    input::KeyboardWedge wedge_;
    SwipeLines swipes_;
};

// Track characters are ASCII; anything else stands as a character no track holds.
std::string TrackText(std::u16string_view typed);

} // namespace zorv::opos::real
