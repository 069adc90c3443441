#include "kinds/kind_table.h"

#include <algorithm>
#include <array>

namespace zorv::opos {
namespace {

constexpr Event kScannerEvents[] = {Event::Data, Event::DirectIO, Event::Error, Event::StatusUpdate};
constexpr Event kPrinterEvents[] = {Event::DirectIO, Event::Error, Event::OutputComplete,
                                    Event::StatusUpdate};
constexpr Event kLineDisplayEvents[] = {Event::DirectIO, Event::StatusUpdate};
constexpr Event kKeylockEvents[] = {Event::StatusUpdate, Event::DirectIO, Event::Data};
constexpr Event kMSREvents[] = {Event::Data, Event::DirectIO, Event::Error};
constexpr Event kPOSKeyboardEvents[] = {Event::Data, Event::DirectIO, Event::Error, Event::StatusUpdate};
constexpr Event kCashDrawerEvents[] = {Event::DirectIO, Event::StatusUpdate};

// Class identifiers {5A0E7C10-3B2D-4C1F-9E60-0000000000Kn} and event
// interfaces {5A0E7C11-...-0000000000Kn}, n the kind's position.
constexpr GUID ZorvGuid(std::uint32_t first, std::uint8_t kind) {
    return {first, 0x3B2D, 0x4C1F, {0x9E, 0x60, 0x00, 0x00, 0x00, 0x00, 0x00, kind}};
}
constexpr std::uint32_t kClassSeries = 0x5A0E7C10;
constexpr std::uint32_t kEventSeries = 0x5A0E7C11;

std::array<KindInfo, 7> BuildKinds() {
    return {{
        {Kind::Scanner, u"Scanner", u"OPOS.Scanner", ZorvGuid(kClassSeries, 1), ZorvGuid(kEventSeries, 1),
         kScannerEvents, true, ScannerRows()},
        {Kind::Printer, u"POSPrinter", u"OPOS.POSPrinter", ZorvGuid(kClassSeries, 2),
         ZorvGuid(kEventSeries, 2), kPrinterEvents, true, PrinterRows()},
        {Kind::LineDisplay, u"LineDisplay", u"OPOS.LineDisplay", ZorvGuid(kClassSeries, 3),
         ZorvGuid(kEventSeries, 3), kLineDisplayEvents, true, LineDisplayRows()},
        {Kind::Keylock, u"Keylock", u"OPOS.Keylock", ZorvGuid(kClassSeries, 4), ZorvGuid(kEventSeries, 4),
         kKeylockEvents, false, KeylockRows()},
        {Kind::MSR, u"MSR", u"OPOS.MSR", ZorvGuid(kClassSeries, 5), ZorvGuid(kEventSeries, 5), kMSREvents,
         true, MSRRows()},
        {Kind::POSKeyboard, u"POSKeyboard", u"OPOS.POSKeyboard", ZorvGuid(kClassSeries, 6),
         ZorvGuid(kEventSeries, 6), kPOSKeyboardEvents, true, POSKeyboardRows()},
        {Kind::CashDrawer, u"CashDrawer", u"OPOS.CashDrawer", ZorvGuid(kClassSeries, 7),
         ZorvGuid(kEventSeries, 7), kCashDrawerEvents, false, CashDrawerRows()},
    }};
}

} // namespace

std::span<const KindInfo> Kinds() {
    static const std::array<KindInfo, 7> kinds = BuildKinds();
    return kinds;
}

const KindInfo& InfoOf(Kind kind) {
    return Kinds()[static_cast<std::size_t>(kind)];
}

DISPID EventDispId(const KindInfo& kind, Event event) {
    const auto found = std::find(kind.events.begin(), kind.events.end(), event);
    return found == kind.events.end() ? 0 : static_cast<DISPID>(found - kind.events.begin() + 1);
}

} // namespace zorv::opos

namespace zorv::opos {

const PropertyRow* FindRow(const KindInfo& kind, Prop prop) {
    for (std::span<const PropertyRow> rows : {CommonProperties(), kind.rows.properties})
        for (const PropertyRow& row : rows)
            if (row.prop == prop)
                return &row;
    return nullptr;
}

} // namespace zorv::opos
