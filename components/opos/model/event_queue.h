#pragma once
// The events a device has raised and not yet delivered, in the order they
// arose. Input (data and input errors) waits until the application enables
// data events; the others go as soon as events are not frozen. Input and
// the others wait in two lines, each in order, so that queueing, taking
// and counting cost the same however much input waits.
#include <cstdint>
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
    // The input error that tells the application its queue was full.
    bool overflow = false;
};

class EventQueue {
public:
    void Push(PendingEvent event);
    // Ahead of every event waiting.
    void PushFront(PendingEvent event);

    // Takes the first event that may go now.
    std::optional<PendingEvent> Take(bool dataEventsEnabled);
    bool HasDeliverable(bool dataEventsEnabled) const {
        return !others_.empty() || (dataEventsEnabled && !input_.empty());
    }
    LONG DataCount() const { return dataCount_; }
    // Input events waiting, and the characters they carry.
    std::size_t InputCount() const { return input_.size(); }
    std::size_t InputCharacters() const { return inputCharacters_; }
    void ClearInput();
    void Remove(Event event);
    void Clear();

    static std::size_t Characters(const PendingEvent& event);

private:
    struct Entry {
        std::int64_t order;
        PendingEvent event;
    };
    std::deque<Entry>& LineOf(const PendingEvent& event) { return event.input ? input_ : others_; }
    void Counted(const PendingEvent& event, bool added);

    std::deque<Entry> input_;
    std::deque<Entry> others_;
    std::int64_t first_ = 0; // order of the event pushed to the front last
    std::int64_t last_ = 0;  // order of the event pushed last
    LONG dataCount_ = 0;
    std::size_t inputCharacters_ = 0;
};

} // namespace zorv::opos
