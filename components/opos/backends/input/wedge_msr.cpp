#include "backends/input/wedge_msr.h"

#include "model/opos_codes.h"

namespace zorv::opos::real {

std::string TrackText(std::u16string_view typed) {
    std::string text;
    text.reserve(typed.size());
    for (char16_t c : typed)
        text.push_back(c < 0x80 ? static_cast<char>(c) : '\x7f');
    return text;
}

WedgeMsr::WedgeMsr(std::string path, input::WedgeConfig wedge)
    : NodeBackend(std::move(path), true),
      swipes_([this](Input swipe) { Events().InputArrived(std::move(swipe)); }),
      lines_(
          wedge, [this](std::u16string line) { swipes_.Line(TrackText(line)); },
          [this] { Events().InputFailed(OPOS_E_FAILURE, 0, u"", std::nullopt); }) {}

void WedgeMsr::Lost() {
    lines_.Reset();
    swipes_.Reset();
}

} // namespace zorv::opos::real
