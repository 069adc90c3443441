#pragma once
// Whether a station can draw the ruled line DrawRuledLine asks for: the
// direction among its CapXxxRuledLine, a thickness, one of the four
// styles, a colour its cartridges have, and a position list that fits the
// line's width.
#include <string_view>

#include "model/device.h"
#include "kinds/printer/printer_station.h"

namespace zorv::opos {

struct RuledLine {
    LONG direction;
    LONG thickness;
    LONG style;
    LONG colour;
};

bool CanRule(const Device& device, const Station& station, std::u16string_view positions,
             const RuledLine& line);

} // namespace zorv::opos
