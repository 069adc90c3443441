#include "backends/input/wedge_lines.h"

#include <linux/input-event-codes.h>

namespace zorv::opos::real {
namespace {

bool EndsLine(const input_event& event) {
    return event.type == EV_KEY && event.value == 1 && (event.code == KEY_ENTER || event.code == KEY_KPENTER);
}

} // namespace

WedgeLines::WedgeLines(input::WedgeConfig config, std::function<void(std::u16string)> line,
                       std::function<void()> spoiled)
    : config_(config), line_(std::move(line)), spoiled_(std::move(spoiled)), wedge_(config) {}

void WedgeLines::Feed(std::string_view bytes) {
    for (const input_event& event : records_.Feed(bytes))
        Key(event);
}

void WedgeLines::Key(const input_event& event) {
    std::vector<input::WedgeEvent> out;
    wedge_.Feed(event, out);
    for (input::WedgeEvent& typed : out) {
        if (typed.kind == input::WedgeEventKind::Label) {
            line_(std::move(typed.text));
        } else if (!told_) {
            told_ = true;
            spoiled_();
        }
    }
    if (EndsLine(event))
        told_ = false;
}

void WedgeLines::Reset() {
    records_.Reset();
    wedge_ = input::KeyboardWedge(config_);
    told_ = false;
}

} // namespace zorv::opos::real
