#include "protocols/input/event_records.h"

#include <cstring>

namespace zorv::opos::input {

std::vector<input_event> EventRecords::Feed(std::string_view bytes) {
    std::vector<input_event> events;
    while (!bytes.empty()) {
        const std::size_t take = std::min(sizeof(input_event) - partialSize_, bytes.size());
        std::memcpy(partial_ + partialSize_, bytes.data(), take);
        partialSize_ += take;
        bytes.remove_prefix(take);
        if (partialSize_ == sizeof(input_event)) {
            input_event& event = events.emplace_back();
            std::memcpy(&event, partial_, sizeof event);
            partialSize_ = 0;
        }
    }
    return events;
}

} // namespace zorv::opos::input
