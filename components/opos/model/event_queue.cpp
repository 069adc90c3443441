#include "model/event_queue.h"

#include <algorithm>

namespace zorv::opos {
namespace {

bool MayGo(const PendingEvent& event, bool dataEventsEnabled) {
    return !event.input || dataEventsEnabled;
}

} // namespace

std::optional<PendingEvent> EventQueue::Take(bool dataEventsEnabled) {
    const auto found = std::find_if(events_.begin(), events_.end(),
                                    [&](const PendingEvent& e) { return MayGo(e, dataEventsEnabled); });
    if (found == events_.end())
        return std::nullopt;
    PendingEvent taken = std::move(*found);
    events_.erase(found);
    return taken;
}

bool EventQueue::HasDeliverable(bool dataEventsEnabled) const {
    return std::any_of(events_.begin(), events_.end(),
                       [&](const PendingEvent& e) { return MayGo(e, dataEventsEnabled); });
}

LONG EventQueue::DataCount() const {
    return static_cast<LONG>(std::count_if(events_.begin(), events_.end(),
                                           [](const PendingEvent& e) { return e.event == Event::Data; }));
}

void EventQueue::ClearInput() {
    std::erase_if(events_, [](const PendingEvent& e) { return e.input; });
}

void EventQueue::Remove(Event event) {
    std::erase_if(events_, [&](const PendingEvent& e) { return e.event == event; });
}

} // namespace zorv::opos
