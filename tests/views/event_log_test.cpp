// The event log's record and how its entries read: the bound, the standard's
// names in every kind of event and call, the filter, and both exports.
#include <gtest/gtest.h>

#include "views/event_log.h"
#include "views/event_text.h"

using namespace zorv::views;
using zorv::devices::DeviceEventId;
using zorv::devices::DeviceKindId;

namespace {

EventLogEntry Event(DeviceKindId kind, DeviceEventId event, std::vector<LONG> numbers,
                    std::u16string text = {}) {
    EventLogEntry entry;
    entry.kind = kind;
    entry.event = event;
    for (LONG number : numbers)
        entry.numbers[entry.count++] = number;
    entry.text = std::move(text);
    return entry;
}

EventLogEntry Call(DeviceKindId kind, std::u16string member, std::u16string argument,
                   std::optional<LONG> result, std::u16string failure = {}) {
    EventLogEntry entry;
    entry.kind = kind;
    entry.member = std::move(member);
    entry.text = std::move(argument);
    if (result) {
        entry.numbers[0] = *result;
        entry.count = 1;
    }
    entry.failure = std::move(failure);
    return entry;
}

} // namespace

TEST(EventLog, KeepsTheNewestEntriesUpToItsBoundAndCountsTheOthers) {
    EventLog log(3);
    for (LONG i = 0; i < 5; ++i)
        log.Append(Event(DeviceKindId::Scanner, DeviceEventId::DataEvent, {i}));
    ASSERT_EQ(log.Size(), 3u);
    EXPECT_EQ(log.Dropped(), 2u);
    EXPECT_EQ(log.At(0).numbers[0], 2);
    EXPECT_EQ(log.At(2).numbers[0], 4);
    EXPECT_EQ(log.FirstSerial(), 2u);
    EXPECT_EQ(log.EndSerial(), 5u);

    log.Clear();
    EXPECT_EQ(log.Size(), 0u);
    EXPECT_EQ(log.Dropped(), 0u);
    EXPECT_EQ(log.FirstSerial(), 5u) << "serials run on, so a view never mistakes new entries for old";
    log.Append(Event(DeviceKindId::Scanner, DeviceEventId::DataEvent, {9}));
    EXPECT_EQ(log.EndSerial(), 6u);
    EXPECT_EQ(EventLog().Capacity(), 100000u);
}

TEST(EventLog, EventsReadWithTheStandardsNames) {
    struct Case {
        EventLogEntry entry;
        QString event;
        QString details;
    };
    const Case cases[] = {
        {Event(DeviceKindId::Printer, DeviceEventId::StatusUpdateEvent, {11}), "StatusUpdateEvent",
         "Status = PTR_SUE_COVER_OPEN (11)"},
        {Event(DeviceKindId::Printer, DeviceEventId::StatusUpdateEvent, {1001}), "StatusUpdateEvent",
         "Status = PTR_SUE_IDLE (1001)"},
        {Event(DeviceKindId::Scanner, DeviceEventId::StatusUpdateEvent, {2004}), "StatusUpdateEvent",
         "Data = OPOS_SUE_POWER_OFF_OFFLINE (2004)"},
        {Event(DeviceKindId::Scanner, DeviceEventId::StatusUpdateEvent, {11}), "StatusUpdateEvent",
         "Data = 11"},
        {Event(DeviceKindId::Keylock, DeviceEventId::StatusUpdateEvent, {3}), "StatusUpdateEvent",
         "Data = LOCK_KP_SUPR (3)"},
        {Event(DeviceKindId::CashDrawer, DeviceEventId::StatusUpdateEvent, {0}), "StatusUpdateEvent",
         "Data = CASH_SUE_DRAWERCLOSED (0)"},
        {Event(DeviceKindId::LineDisplay, DeviceEventId::StatusUpdateEvent, {2001}), "StatusUpdateEvent",
         "Status = OPOS_SUE_POWER_ONLINE (2001)"},
        {Event(DeviceKindId::Printer, DeviceEventId::ErrorEvent, {114, 201, 1, 11}), "ErrorEvent",
         "ResultCode = OPOS_E_EXTENDED (114), ResultCodeExtended = OPOS_EPTR_COVER_OPEN (201), "
         "ErrorLocus = OPOS_EL_OUTPUT (1), ErrorResponse = OPOS_ER_RETRY (11)"},
        {Event(DeviceKindId::MSR, DeviceEventId::ErrorEvent, {114, 203, 2, 12}), "ErrorEvent",
         "ResultCode = OPOS_E_EXTENDED (114), ResultCodeExtended = OPOS_EMSR_PARITY (203), "
         "ErrorLocus = OPOS_EL_INPUT (2), ErrorResponse = OPOS_ER_CLEAR (12)"},
        {Event(DeviceKindId::Scanner, DeviceEventId::ErrorEvent, {111, 201, 3, 13}), "ErrorEvent",
         "ResultCode = OPOS_E_FAILURE (111), ResultCodeExtended = 201, "
         "ErrorLocus = OPOS_EL_INPUT_DATA (3), ErrorResponse = OPOS_ER_CONTINUEINPUT (13)"},
        {Event(DeviceKindId::MSR, DeviceEventId::DataEvent, {0x002538}), "DataEvent",
         "Status = 9528 (Track1 56, Track2 37, Track3 0)"},
        {Event(DeviceKindId::Printer, DeviceEventId::OutputCompleteEvent, {7}), "OutputCompleteEvent",
         "OutputID = 7"},
        {Event(DeviceKindId::LineDisplay, DeviceEventId::DirectIOEvent, {6, 6, 0}, u"a,\"b\""),
         "DirectIOEvent", "EventNumber = 6, pData = 6, pString = \"a,\"b\"\""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EntryText(c.entry, EventLogColumn::Event), c.event);
        EXPECT_EQ(EntryDetails(c.entry), c.details);
    }
}

TEST(EventLog, DataEventsShowTheInputTheDeviceReadThen) {
    EventLogEntry scan = Event(DeviceKindId::Scanner, DeviceEventId::DataEvent, {0});
    scan.input = u"4006381333931";
    scan.inputNumber = 104;
    scan.hasInput = true;
    EXPECT_EQ(EntryDetails(scan),
              "Status = 0, ScanDataLabel = \"4006381333931\", ScanDataType = SCAN_SDT_EAN13 (104)");
    EventLogEntry card = Event(DeviceKindId::MSR, DeviceEventId::DataEvent, {0x002538});
    card.input = u"4111111111111111";
    card.hasInput = true;
    EXPECT_EQ(EntryDetails(card),
              "Status = 9528 (Track1 56, Track2 37, Track3 0), AccountNumber = \"4111111111111111\"");
    EventLogEntry key = Event(DeviceKindId::POSKeyboard, DeviceEventId::DataEvent, {0});
    key.inputNumber = 65;
    key.hasInput = true;
    EXPECT_EQ(EntryDetails(key), "Status = 0, POSKeyData = 65");
    EXPECT_EQ(ExportFileName(QDateTime(QDate(2026, 3, 9), QTime(14, 5, 7)), ExportFormat::Csv),
              "journal-zorv-2026-03-09_14-05-07.csv");
}

TEST(EventLog, CallsReadWithTheirResultCodeOrFailure) {
    EXPECT_EQ(EntryDetails(Call(DeviceKindId::Scanner, u"Open", u"SimScanner", 0)),
              "\"SimScanner\" → OPOS_SUCCESS (0)");
    EXPECT_EQ(EntryDetails(Call(DeviceKindId::Scanner, u"Claim", u"1000", 112)),
              "1000 → OPOS_E_TIMEOUT (112)");
    EXPECT_EQ(EntryDetails(Call(DeviceKindId::Scanner, u"DeviceEnabled", u"True", std::nullopt)), "True");
    EXPECT_EQ(EntryDetails(Call(DeviceKindId::Scanner, u"Close", u"", 101)), "→ OPOS_E_CLOSED (101)");
    EXPECT_EQ(EntryDetails(Call(DeviceKindId::Scanner, u"Rafraîchir", u"", std::nullopt, u"Accès refusé")),
              "→ échec : Accès refusé");
    EXPECT_EQ(EntryText(Call(DeviceKindId::MSR, u"Open", u"X", 0), EventLogColumn::Kind), "MSR");
    EXPECT_EQ(EntryText(Call(DeviceKindId::MSR, u"Open", u"X", 0), EventLogColumn::Event), "Open");
}

TEST(EventLog, TheFilterSelectsByKindAndByEventOrCalls) {
    const EventLogEntry data = Event(DeviceKindId::Scanner, DeviceEventId::DataEvent, {1});
    const EventLogEntry status = Event(DeviceKindId::Printer, DeviceEventId::StatusUpdateEvent, {11});
    const EventLogEntry open = Call(DeviceKindId::Scanner, u"Open", u"S", 0);
    EventLogFilter filter;
    EXPECT_TRUE(filter.Accepts(data) && filter.Accepts(status) && filter.Accepts(open));
    filter.kind = DeviceKindId::Scanner;
    EXPECT_TRUE(filter.Accepts(data) && filter.Accepts(open));
    EXPECT_FALSE(filter.Accepts(status));
    filter.what = EventLogFilter::What::OneEvent;
    filter.event = DeviceEventId::DataEvent;
    EXPECT_TRUE(filter.Accepts(data));
    EXPECT_FALSE(filter.Accepts(open));
    filter.what = EventLogFilter::What::Calls;
    EXPECT_FALSE(filter.Accepts(data));
    EXPECT_TRUE(filter.Accepts(open));
}

TEST(EventLog, ExportsQuoteCsvFieldsAndKeepTextLinesWhole) {
    EventLogEntry entry =
        Event(DeviceKindId::Printer, DeviceEventId::DirectIOEvent, {6, 6, 0}, u"x,\"y\"\r\nz");
    entry.time = 0;
    const std::vector<const EventLogEntry*> entries = {&entry};
    const QString time = EntryTime(entry);

    // As a French spreadsheet opens it: UTF-8 said by its byte-order mark, ';' between fields.
    const QString csv = ExportEntries(entries, ExportFormat::Csv);
    ASSERT_TRUE(csv.startsWith(QChar(0xFEFF)));
    EXPECT_EQ(csv.toUtf8().left(3), QByteArray("\xEF\xBB\xBF"));
    const QStringList csvLines = csv.mid(1).split(QStringLiteral("\r\n"));
    EXPECT_EQ(csvLines.at(0), "Heure;Périphérique;Événement;Détails");
    EXPECT_EQ(
        csv.section(QStringLiteral("\r\n"), 1),
        time +
            ";Printer;DirectIOEvent;\"EventNumber = 6, pData = 6, pString = \"\"x,\"\"y\"\"\r\nz\"\"\"\r\n");
    EventLogEntry semicolon = Call(DeviceKindId::Printer, u"PrintNormal", u"2, a;b", 0);
    EXPECT_TRUE(ExportEntries({&semicolon}, ExportFormat::Csv)
                    .contains(QStringLiteral(";\"2, a;b → OPOS_SUCCESS (0)\"")));

    const QString text = ExportEntries(entries, ExportFormat::Text, 4);
    const QStringList lines = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines.at(0), "(4 entrées plus anciennes supprimées)");
    EXPECT_EQ(lines.at(1).split(QLatin1Char('\t')),
              (QStringList{time, "Printer", "DirectIOEvent",
                           "EventNumber = 6, pData = 6, pString = \"x,\"y\"  z\""}));
}
