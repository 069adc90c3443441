#pragma once
// A keylock on a Linux input device (usually the POS keyboard it sits on):
// the key code configured for each position turns the key there, which the
// model shows as KeyPosition and tells with a StatusUpdateEvent; other keys
// are not the keylock's.
#include "protocols/input/event_records.h"
#include "protocols/input/keylock_keys.h"
#include "model/opos_codes.h"
#include "backends/input/node_backend.h"

namespace zorv::opos::real {

class InputKeylock final : public NodeBackend {
public:
    InputKeylock(std::string path, std::map<unsigned, long> positions);

private:
    void Bytes(const std::string& bytes) override;
    void Lost() override { records_.Reset(); }

    input::EventRecords records_;
    input::KeylockDecoder decoder_;
    // The model starts at the normal position; a key code that only says
    // the key is where it was assumed to be is no change.
    LONG position_ = LOCK_KP_NORM;
};

} // namespace zorv::opos::real
