#include "kinds/printer/printer_ruled_line.h"

#include "model/opos_codes.h"
#include "protocols/print/ruled_line.h"

namespace zorv::opos {
namespace {

struct Ruler {
    LONG station;
    Prop capability;
    Prop colours;
    Prop width;
};

// The journal draws no rules.
constexpr Ruler kRulers[] = {
    {PTR_S_RECEIPT, Prop::CapRecRuledLine, Prop::CapRecColor, Prop::RecLineWidth},
    {PTR_S_SLIP, Prop::CapSlpRuledLine, Prop::CapSlpColor, Prop::SlpLineWidth},
};

bool OneBit(LONG value) {
    return value > 0 && (value & (value - 1)) == 0;
}

} // namespace

bool CanRule(const Device& device, const Station& station, std::u16string_view positions,
             const RuledLine& line) {
    for (const Ruler& ruler : kRulers) {
        if (ruler.station != station.code)
            continue;
        const bool drawable = (line.direction == PTR_RL_HORIZONTAL || line.direction == PTR_RL_VERTICAL) &&
                              (device.Long(ruler.capability) & line.direction) != 0 && line.thickness > 0 &&
                              line.style >= PTR_LS_SINGLE_SOLID_LINE && line.style <= PTR_LS_CHAIN_LINE &&
                              OneBit(line.colour) && (device.Long(ruler.colours) & line.colour) != 0;
        const LONG width = device.Long(ruler.width);
        return drawable && (line.direction == PTR_RL_HORIZONTAL ? print::HorizontalRules(positions, width)
                                                                : print::VerticalRules(positions, width))
                               .has_value();
    }
    return false;
}

} // namespace zorv::opos
