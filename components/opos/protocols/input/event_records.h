#pragma once
// Cuts bytes read from an input device into struct input_event records. A
// read may end inside a record (a pipe standing in for the device); its
// start is kept until the rest arrives.
#include <linux/input.h>
#include <string_view>
#include <vector>

namespace zorv::opos::input {

class EventRecords {
public:
    std::vector<input_event> Feed(std::string_view bytes);
    // The device went away: a record cut short is dropped.
    void Reset() { partialSize_ = 0; }

private:
    unsigned char partial_[sizeof(input_event)] = {};
    std::size_t partialSize_ = 0;
};

} // namespace zorv::opos::input
