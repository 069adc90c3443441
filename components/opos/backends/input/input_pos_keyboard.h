#pragma once
// A programmable POS keyboard on a Linux input device: each press and
// release becomes a key number and a direction (the model keeps the
// releases only for an application that asked for them). With a key map the
// number is the vendor's; a key the map lacks is passed over, as is
// autorepeat. The keyboard is not held, so the keylock on it can be read
// beside it.
#include <optional>

#include "protocols/input/event_records.h"
#include "protocols/input/pos_keys.h"
#include "backends/input/node_backend.h"

namespace zorv::opos::real {

class InputPosKeyboard final : public NodeBackend {
public:
    InputPosKeyboard(std::string path, std::optional<input::KeyMap> map);

private:
    void Bytes(const std::string& bytes) override;
    void Lost() override { records_.Reset(); }

    input::EventRecords records_;
    input::PosKeyboardDecoder decoder_;
};

} // namespace zorv::opos::real
