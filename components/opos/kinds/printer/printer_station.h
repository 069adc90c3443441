#pragma once
// The printer's three stations as rows: the properties, extended code and
// status updates that belong to each.
#include "kinds/kind_table.h"

namespace zorv::opos {

struct Station {
    LONG code;
    std::size_t index;
    Prop present;
    Prop empty;
    Prop nearEnd;
    Prop emptySensor;
    Prop nearEndSensor;
    Prop lineChars;
    Prop lineCharsList;
    LONG emptyExtended;
    LONG statusEmpty;
    LONG statusNearEmpty;
    LONG statusPaperOk;
};

// The station with that code (PTR_S_JOURNAL, _RECEIPT or _SLIP), or none.
const Station* FindStation(LONG code);
// The station whose line width this property is, or none.
const Station* StationOfLineChars(Prop prop);

std::span<const PropertyRow> PrinterProperties();

} // namespace zorv::opos
