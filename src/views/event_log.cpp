#include "views/event_log.h"

namespace zorv::views {

void EventLog::Append(EventLogEntry entry) {
    if (capacity_ == 0) {
        ++dropped_;
        ++firstSerial_;
        return;
    }
    if (entries_.size() == capacity_) {
        entries_.pop_front();
        ++firstSerial_;
        ++dropped_;
    }
    entries_.push_back(std::move(entry));
}

void EventLog::Clear() {
    firstSerial_ += entries_.size();
    entries_.clear();
    dropped_ = 0;
}

} // namespace zorv::views
