// What the simulated devices show: the paper of each printer station, the
// display's screen, the drawer and its beeps, and the printer's sensors.
#include "model/opos_codes.h"
#include "platform/com/text.h"
#include "protocols/print/print_readback.h"
#include "kinds/printer/printer_station.h"
#include "backends/sim/sim_backend.h"

namespace zorv::opos {
namespace {

constexpr std::size_t kKeptPerStation = 1 << 20;

std::u16string Decimal(LONG value) {
    return com::Utf8ToUtf16(std::to_string(value));
}

// "[rule horizontal 0,200;300,100 width 2 style 1 colour 1]"; vertical
// rules with an empty list are the end of the vertical rules.
std::u16string RuleMark(const Output& output) {
    const bool horizontal = output.params[0] == PTR_RL_HORIZONTAL;
    if (!horizontal && output.data.empty())
        return u"[rule vertical end]\n";
    return u"[rule " + std::u16string(horizontal ? u"horizontal " : u"vertical ") + output.data + u" width " +
           Decimal(output.params[1]) + u" style " + Decimal(output.params[2]) + u" colour " +
           Decimal(output.params[3]) + u"]\n";
}

} // namespace

void SimBackend::Send(std::uint64_t ticket, const Output& output) {
    Outcome outcome;
    switch (output.what) {
    case Output::What::PrintData:
    case Output::What::BarCode:
    case Output::What::Bitmap:
    case Output::What::MarkFeed:
    case Output::What::ChangeSide:
    case Output::What::RuledLine:
        outcome = Print(output);
        break;
    case Output::What::Screen:
        ShowScreen(output.data);
        break;
    case Output::What::OpenDrawer:
        if (!drawerOpen_) {
            drawerOpen_ = true;
            events_->SensorChanged(Prop::DrawerOpened, true, CASH_SUE_DRAWEROPEN);
        }
        break;
    case Output::What::Beep:
        ++beeps_;
        break;
    }
    events_->OutputDone(ticket, outcome.code, outcome.extended);
}

// An injected fault spoils the next output once; paper is kept as sent,
// bar codes and bitmaps as a readable mark.
Outcome SimBackend::Print(const Output& output) {
    if (fault_)
        return *std::exchange(fault_, std::nullopt);
    const Station* station = FindStation(output.station);
    if (station == nullptr)
        return {OPOS_E_ILLEGAL};
    std::u16string& paper = paper_[station->index];
    switch (output.what) {
    case Output::What::BarCode:
        paper += u"[bar code " + Decimal(output.params[0]) + u": " + output.data + u"]\n";
        break;
    case Output::What::Bitmap:
        paper += output.params[2] == 1
                     ? u"[bitmap memory, " + Decimal(static_cast<LONG>(output.data.size())) + u" bytes]\n"
                     : u"[bitmap " + output.data + u"]\n";
        break;
    case Output::What::MarkFeed:
        paper += u"[mark feed " + Decimal(output.params[0]) + u"]\n";
        break;
    case Output::What::ChangeSide:
        paper += u"[side " + Decimal(output.params[0]) + u"]\n";
        break;
    case Output::What::RuledLine:
        paper += RuleMark(output);
        break;
    default:
        paper += output.data;
    }
    if (paper.size() > kKeptPerStation)
        paper.erase(0, paper.size() - kKeptPerStation);
    return {};
}

void SimBackend::ShowScreen(const std::u16string& rows) {
    screen_.clear();
    std::u16string_view rest = rows;
    while (!rest.empty()) {
        const auto end = rest.find(u'\n');
        screen_.emplace_back(rest.substr(0, end));
        rest = end == std::u16string_view::npos ? std::u16string_view() : rest.substr(end + 1);
    }
}

LONG SimBackend::ReadBack(LONG& data, std::u16string& text, bool rendered) {
    switch (profile_.kind) {
    case Kind::Printer: {
        const Station* station = FindStation(data);
        if (station == nullptr || !Has(station->present))
            return OPOS_E_ILLEGAL;
        text = rendered ? RenderPrintData(paper_[station->index]) : paper_[station->index];
        data = static_cast<LONG>(text.size());
        return OPOS_SUCCESS;
    }
    case Kind::LineDisplay:
        text.clear();
        for (const std::u16string& row : screen_) {
            const auto end = row.find_last_not_of(u' ');
            text += row.substr(0, end == std::u16string::npos ? 0 : end + 1) + u"\n";
        }
        data = static_cast<LONG>(screen_.size());
        return OPOS_SUCCESS;
    case Kind::CashDrawer:
        data = beeps_;
        text = drawerOpen_ ? u"open" : u"closed";
        return OPOS_SUCCESS;
    default:
        return OPOS_E_ILLEGAL;
    }
}

// pData: 0 for the cover, else a station; pString: "open"/"closed" or
// "empty"/"nearend"/"ok". A condition without its sensor cannot be seen.
LONG SimBackend::Sense(LONG what, const std::u16string& state) {
    if (what == 0)
        return SenseCover(state);
    const Station* station = FindStation(what);
    if (station == nullptr || !Has(station->present))
        return OPOS_E_ILLEGAL;
    const bool empty = com::EqualsIgnoringCase(state, u"empty");
    const bool nearEnd = com::EqualsIgnoringCase(state, u"nearend");
    const bool ok = com::EqualsIgnoringCase(state, u"ok");
    if ((empty && !Has(station->emptySensor)) || (nearEnd && !Has(station->nearEndSensor)) ||
        !(empty || nearEnd || ok))
        return OPOS_E_ILLEGAL;
    paperEmpty_[station->index] = empty;
    events_->SensorChanged(station->nearEnd, empty || nearEnd, std::nullopt);
    events_->SensorChanged(station->empty, empty,
                           empty     ? station->statusEmpty
                           : nearEnd ? station->statusNearEmpty
                                     : station->statusPaperOk);
    return OPOS_SUCCESS;
}

// A hand puts a form into the slip station or takes it out; the form
// sensor is the slip's paper sensor.
LONG SimBackend::MoveForm(bool in) {
    const Station& slip = *FindStation(PTR_S_SLIP);
    if (!Has(slip.present))
        return OPOS_E_ILLEGAL;
    if (paperEmpty_[slip.index] == !in)
        return OPOS_SUCCESS;
    paperEmpty_[slip.index] = !in;
    events_->SensorChanged(slip.nearEnd, false, std::nullopt);
    events_->SensorChanged(slip.empty, !in, in ? slip.statusPaperOk : slip.statusEmpty);
    return OPOS_SUCCESS;
}

// pData 1 puts a form in, 0 takes it out; pString "wait" does it during
// the next BeginInsertion or BeginRemoval wait instead of now.
LONG SimBackend::SlipForm(LONG data, const std::u16string& text) {
    if ((data != 0 && data != 1) || !(text.empty() || com::EqualsIgnoringCase(text, u"wait")))
        return OPOS_E_ILLEGAL;
    if (text.empty())
        return MoveForm(data == 1);
    if (!Has(FindStation(PTR_S_SLIP)->present))
        return OPOS_E_ILLEGAL;
    armedForm_ = data == 1 ? 1 : -1;
    return OPOS_SUCCESS;
}

LONG SimBackend::SenseCover(const std::u16string& state) {
    const bool open = com::EqualsIgnoringCase(state, u"open");
    if (!Has(Prop::CapCoverSensor) || !(open || com::EqualsIgnoringCase(state, u"closed")))
        return OPOS_E_ILLEGAL;
    coverOpen_ = open;
    events_->SensorChanged(Prop::CoverOpen, open, open ? PTR_SUE_COVER_OPEN : PTR_SUE_COVER_OK);
    return OPOS_SUCCESS;
}

} // namespace zorv::opos
