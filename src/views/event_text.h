#pragma once
// How an event log entry reads: its columns, the filter the log window
// applies, and the two export formats.
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "views/event_log.h"

namespace zorv::views {

enum class EventLogColumn { Time, Kind, Event, Details };
inline constexpr int kEventLogColumns = 4;

// The column headers, in column order.
QStringList EventLogHeaders();
// "hh:mm:ss.zzz" in local time.
QString EntryTime(const EventLogEntry& entry);
QString EntryText(const EventLogEntry& entry, EventLogColumn column);
// The event's or call's values with the standard's names, for example
// "ResultCode = OPOS_E_EXTENDED (114), ResultCodeExtended = OPOS_EPTR_COVER_OPEN (201), ...".
QString EntryDetails(const EventLogEntry& entry);

struct EventLogFilter {
    // Every kind when empty.
    std::optional<devices::DeviceKindId> kind;
    // Every event and call when empty; otherwise one event, or calls only.
    enum class What { Everything, OneEvent, Calls } what = What::Everything;
    devices::DeviceEventId event = devices::DeviceEventId::DataEvent;

    bool Accepts(const EventLogEntry& entry) const;
};

enum class ExportFormat { Csv, Text };
// The entries as a CSV file for a French spreadsheet (byte-order mark, header
// line, fields separated by ';', quoted where needed) or as text (one
// tab-separated line per entry). `dropped` entries that went before them are
// mentioned first in the text format.
// The name an export is offered under: the moment it was made, so that
// exports never take each other's names.
QString ExportFileName(const QDateTime& when, ExportFormat format);
QString ExportEntries(const std::vector<const EventLogEntry*>& entries, ExportFormat format,
                      std::uint64_t dropped = 0);

} // namespace zorv::views
