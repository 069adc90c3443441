#pragma once
// The events a device has raised and not yet delivered, in the order they
// arose. Input (data and input errors) waits until the application enables
// data events; the others go as soon as events are not frozen.
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "model/kind_info.h"

namespace zorv::opos {

// What arrived from the simulated hardware, read by the kind when its
// DataEvent is delivered.
struct Input {
    LONG code = 0;
    LONG detail = 0;
    std::vector<std::u16string> texts;
};

struct PendingEvent {
    explicit PendingEvent(Event kind) : event(kind) {}

    Event event;
    // The event's numeric arguments in their order; for ErrorEvent the
    // fourth is the response proposed to the application.
    LONG values[4] = {};
    // DirectIOEvent's pString; for an input ErrorEvent, the input that a
    // retry brings back.
    std::u16string text;
    bool input = false;
    // What arrived: for DataEvent always, for an input ErrorEvent the part
    // that was read cleanly, if any.
    bool carriesData = false;
    Input data;
};

class EventQueue {
public:
    void Push(PendingEvent event) { events_.push_back(std::move(event)); }
    void PushFront(PendingEvent event) { events_.push_front(std::move(event)); }

    // Takes the first event that may go now.
    std::optional<PendingEvent> Take(bool dataEventsEnabled);
    bool HasDeliverable(bool dataEventsEnabled) const;
    LONG DataCount() const;
    void ClearInput();
    void Remove(Event event);
    void Clear() { events_.clear(); }

private:
    std::deque<PendingEvent> events_;
};

} // namespace zorv::opos
