#include "backends/input/input_pos_keyboard.h"

#include "model/opos_codes.h"

namespace zorv::opos::real {

InputPosKeyboard::InputPosKeyboard(std::string path, std::optional<input::KeyMap> map)
    : NodeBackend(std::move(path), false), decoder_(std::move(map)) {}

void InputPosKeyboard::Bytes(const std::string& bytes) {
    for (const input_event& event : records_.Feed(bytes)) {
        const std::optional<input::PosKeyEvent> key = decoder_.Feed(event);
        if (!key || key->kind == input::PosKeyKind::Unknown)
            continue;
        const LONG direction = key->kind == input::PosKeyKind::Down ? KBD_KET_KEYDOWN : KBD_KET_KEYUP;
        Events().InputArrived({static_cast<LONG>(key->keyData), direction, {}});
    }
}

} // namespace zorv::opos::real
