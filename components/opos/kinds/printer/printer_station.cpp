#include "kinds/printer/printer_station.h"

#include "model/opos_codes.h"

namespace zorv::opos {
namespace {

constexpr Station kStations[] = {
    {PTR_S_JOURNAL, 0, Prop::CapJrnPresent, Prop::JrnEmpty, Prop::JrnNearEnd, Prop::CapJrnEmptySensor,
     Prop::CapJrnNearEndSensor, Prop::JrnLineChars, Prop::JrnLineCharsList, OPOS_EPTR_JRN_EMPTY,
     PTR_SUE_JRN_EMPTY, PTR_SUE_JRN_NEAREMPTY, PTR_SUE_JRN_PAPEROK},
    {PTR_S_RECEIPT, 1, Prop::CapRecPresent, Prop::RecEmpty, Prop::RecNearEnd, Prop::CapRecEmptySensor,
     Prop::CapRecNearEndSensor, Prop::RecLineChars, Prop::RecLineCharsList, OPOS_EPTR_REC_EMPTY,
     PTR_SUE_REC_EMPTY, PTR_SUE_REC_NEAREMPTY, PTR_SUE_REC_PAPEROK},
    {PTR_S_SLIP, 2, Prop::CapSlpPresent, Prop::SlpEmpty, Prop::SlpNearEnd, Prop::CapSlpEmptySensor,
     Prop::CapSlpNearEndSensor, Prop::SlpLineChars, Prop::SlpLineCharsList, OPOS_EPTR_SLP_EMPTY,
     PTR_SUE_SLP_EMPTY, PTR_SUE_SLP_NEAREMPTY, PTR_SUE_SLP_PAPEROK},
};

} // namespace

const Station* FindStation(LONG code) {
    for (const Station& station : kStations)
        if (station.code == code)
            return &station;
    return nullptr;
}

const Station* StationOfLineChars(Prop prop) {
    for (const Station& station : kStations)
        if (station.lineChars == prop)
            return &station;
    return nullptr;
}

} // namespace zorv::opos
