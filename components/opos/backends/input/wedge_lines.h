#pragma once
// The lines a keyboard-wedge device types: key events through the layout,
// each line ended by Enter. A line that arrives whole is handed on; one
// spoiled by a key the layout does not know, or longer than allowed, is
// dropped and reported once.
#include <functional>
#include <string>
#include <string_view>

#include "protocols/input/event_records.h"
#include "protocols/input/keyboard_wedge.h"

namespace zorv::opos::real {

class WedgeLines {
public:
    WedgeLines(input::WedgeConfig config, std::function<void(std::u16string)> line,
               std::function<void()> spoiled);

    // One read from the device.
    void Feed(std::string_view bytes);
    // The device went away: a line half typed is dropped.
    void Reset();

private:
    void Key(const input_event& event);

    input::WedgeConfig config_;
    std::function<void(std::u16string)> line_;
    std::function<void()> spoiled_;
    input::EventRecords records_;
    input::KeyboardWedge wedge_;
    bool told_ = false; // the line being typed is already reported as spoiled
};

} // namespace zorv::opos::real
