#include "backends/input/input_keylock.h"

namespace zorv::opos::real {

InputKeylock::InputKeylock(std::string path, std::map<unsigned, long> positions)
    : NodeBackend(std::move(path), false), decoder_(std::move(positions)) {}

void InputKeylock::Bytes(const std::string& bytes) {
    for (const input_event& event : records_.Feed(bytes))
        if (const std::optional<long> position = decoder_.Feed(event);
            position && static_cast<LONG>(*position) != position_) {
            position_ = static_cast<LONG>(*position);
            Events().SensorChanged(Prop::KeyPosition, position_, position_);
        }
}

} // namespace zorv::opos::real
