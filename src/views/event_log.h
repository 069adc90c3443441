#pragma once
// The event log's record: every device event and every call the window makes
// on a device, kept in arrival order up to a bound; past it the oldest entries
// go and are counted. Entries keep the raw values; texts are made when shown.
#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>

#include "devices/device_kinds.h"
#include "platform/com/types.h"

namespace zorv::views {

struct EventLogEntry {
    // Milliseconds since the epoch.
    std::int64_t time = 0;
    devices::DeviceKindId kind = devices::DeviceKindId::Scanner;
    // An event, or a call when `member` is set.
    devices::DeviceEventId event = devices::DeviceEventId::DataEvent;
    std::u16string member;
    // The event's numbers in order, or the call's result code.
    std::array<LONG, 4> numbers{};
    std::uint8_t count = 0;
    // The event's text (DirectIOEvent's pString), or the call's argument.
    std::u16string text;
    // The call's error text when it raised.
    std::u16string failure;
    // A data event's input as the device held it when the event came (read
    // then, since the next input replaces it): a scanner's label or a card's
    // account number, with a scanner's symbology or a keyboard's key.
    std::u16string input;
    LONG inputNumber = 0;
    bool hasInput = false;

    bool IsCall() const { return !member.empty(); }
};

class EventLog {
public:
    static constexpr std::size_t kDefaultCapacity = 100000;

    explicit EventLog(std::size_t capacity = kDefaultCapacity) : capacity_(capacity) {}

    void Append(EventLogEntry entry);
    void Clear();

    std::size_t Size() const { return entries_.size(); }
    const EventLogEntry& At(std::size_t index) const { return entries_[index]; }
    // Serial numbers run on from 0 across drops and clears: entry `index` has FirstSerial() + index.
    std::uint64_t FirstSerial() const { return firstSerial_; }
    std::uint64_t EndSerial() const { return firstSerial_ + entries_.size(); }
    // Entries dropped for room since the last Clear.
    std::uint64_t Dropped() const { return dropped_; }
    std::size_t Capacity() const { return capacity_; }

private:
    std::size_t capacity_;
    std::deque<EventLogEntry> entries_;
    std::uint64_t firstSerial_ = 0;
    std::uint64_t dropped_ = 0;
};

} // namespace zorv::views
