#include "model/event_queue.h"

#include <algorithm>

namespace zorv::opos {

std::size_t EventQueue::Characters(const PendingEvent& event) {
    std::size_t count = event.text.size();
    for (const std::u16string& text : event.data.texts)
        count += text.size();
    return count;
}

void EventQueue::Counted(const PendingEvent& event, bool added) {
    if (!event.input)
        return;
    const std::size_t characters = Characters(event);
    const LONG data = event.event == Event::Data ? 1 : 0;
    dataCount_ += added ? data : -data;
    inputCharacters_ = added ? inputCharacters_ + characters : inputCharacters_ - characters;
}

void EventQueue::Push(PendingEvent event) {
    Counted(event, true);
    LineOf(event).push_back({++last_, std::move(event)});
}

void EventQueue::PushFront(PendingEvent event) {
    Counted(event, true);
    LineOf(event).push_front({--first_, std::move(event)});
}

// The older of the two lines' fronts; input only while data events are enabled.
std::optional<PendingEvent> EventQueue::Take(bool dataEventsEnabled) {
    const bool inputReady = dataEventsEnabled && !input_.empty();
    if (!inputReady && others_.empty())
        return std::nullopt;
    std::deque<Entry>& line =
        inputReady && (others_.empty() || input_.front().order < others_.front().order) ? input_ : others_;
    PendingEvent taken = std::move(line.front().event);
    line.pop_front();
    Counted(taken, false);
    return taken;
}

void EventQueue::ClearInput() {
    input_.clear();
    dataCount_ = 0;
    inputCharacters_ = 0;
}

void EventQueue::Remove(Event event) {
    for (std::deque<Entry>* line : {&input_, &others_})
        std::erase_if(*line, [&](const Entry& entry) {
            if (entry.event.event != event)
                return false;
            Counted(entry.event, false);
            return true;
        });
}

void EventQueue::Clear() {
    ClearInput();
    others_.clear();
}

} // namespace zorv::opos
