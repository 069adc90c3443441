#include "control/class_info.h"

#include <vector>

#include "platform/com/described_type.h"

namespace zorv::opos {
namespace {

struct EventRow {
    Event event;
    std::u16string_view name;
    std::vector<std::u16string> parameters;
};

const std::vector<EventRow>& EventRows() {
    static const std::vector<EventRow> rows = {
        {Event::Data, u"DataEvent", {u"Status"}},
        {Event::DirectIO, u"DirectIOEvent", {u"EventNumber", u"pData", u"pString"}},
        {Event::Error,
         u"ErrorEvent",
         {u"ResultCode", u"ResultCodeExtended", u"ErrorLocus", u"pErrorResponse"}},
        {Event::OutputComplete, u"OutputCompleteEvent", {u"OutputID"}},
        {Event::StatusUpdate, u"StatusUpdateEvent", {u"Data"}},
    };
    return rows;
}

const EventRow& RowOf(Event event) {
    for (const EventRow& row : EventRows())
        if (row.event == event)
            return row;
    return EventRows().front();
}

} // namespace

com::ComPtr<ITypeInfo> ClassInfoOf(const KindInfo& kind) {
    std::vector<com::DescribedFunction> events;
    for (std::size_t i = 0; i < kind.events.size(); ++i) {
        const EventRow& row = RowOf(kind.events[i]);
        events.push_back({static_cast<DISPID>(i + 1), std::u16string(row.name), row.parameters});
    }
    const std::u16string name(kind.displayName);
    return com::MakeClassTypeInfo(
        u"OPOS" + name, kind.clsid,
        com::MakeDispatchTypeInfo(u"_IOPOS" + name + u"Events", kind.eventIid, std::move(events)));
}

} // namespace zorv::opos
