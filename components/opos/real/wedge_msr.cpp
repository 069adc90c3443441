#include "real/wedge_msr.h"

namespace zorv::opos::real {

std::string TrackText(std::u16string_view typed) {
    std::string text;
    text.reserve(typed.size());
    for (char16_t c : typed)
        text.push_back(c < 0x80 ? static_cast<char>(c) : '\x7f');
    return text;
}

WedgeMsr::WedgeMsr(std::string path, input::WedgeConfig wedge)
    : NodeBackend(std::move(path), true), config_(wedge), wedge_(wedge),
      swipes_([this](Input swipe) { Events().InputArrived(std::move(swipe)); }) {}

void WedgeMsr::Bytes(const std::string& bytes) {
    for (const input::WedgeEvent& typed : wedge_.Feed(records_.Feed(bytes)))
        if (typed.kind == input::WedgeEventKind::Label)
            swipes_.Line(TrackText(typed.text));
}

void WedgeMsr::Lost() {
    records_.Reset();
    wedge_ = input::KeyboardWedge(config_);
    swipes_.Reset();
}

} // namespace zorv::opos::real
