#include "views/event_text.h"

#include <QDateTime>

#include "views/event_names.h"

namespace zorv::views {
namespace {

using devices::DeviceEventId;
using devices::DeviceKindId;

QString Q(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

QString Quoted(const std::u16string& text) {
    return QLatin1Char('"') + Q(text) + QLatin1Char('"');
}

QString Named(std::span<const CodeName> table, LONG code) {
    return Q(NamedCode(table, code));
}

// What the status-like argument of an event is called for a kind.
QString StatusName(DeviceKindId kind) {
    return kind == DeviceKindId::Printer || kind == DeviceKindId::LineDisplay ? QStringLiteral("Status")
                                                                              : QStringLiteral("Data");
}

// The MSR's Status holds one length per track, track 1 in the lowest byte.
QString TrackLengths(LONG status) {
    const auto bytes = static_cast<std::uint32_t>(status);
    return QStringLiteral(" (Track1 %1, Track2 %2, Track3 %3)")
        .arg(bytes & 0xFF)
        .arg((bytes >> 8) & 0xFF)
        .arg((bytes >> 16) & 0xFF);
}

// What the device read, under the names of the properties it came from.
QString InputDetails(const EventLogEntry& entry) {
    switch (entry.kind) {
    case DeviceKindId::Scanner:
        return QStringLiteral(", ScanDataLabel = %1, ScanDataType = %2")
            .arg(Quoted(entry.input), Named(ScanDataTypeNames(), entry.inputNumber));
    case DeviceKindId::MSR:
        return QStringLiteral(", AccountNumber = %1").arg(Quoted(entry.input));
    case DeviceKindId::POSKeyboard:
        return QStringLiteral(", POSKeyData = %1").arg(entry.inputNumber);
    default:
        return {};
    }
}

QString DataDetails(const EventLogEntry& entry) {
    QString text = QStringLiteral("Status = %1").arg(entry.numbers[0]);
    if (entry.kind == DeviceKindId::MSR)
        text += TrackLengths(entry.numbers[0]);
    if (entry.hasInput)
        text += InputDetails(entry);
    return text;
}

QString ErrorDetails(const EventLogEntry& entry) {
    const LONG resultCode = entry.numbers[0];
    const std::span<const CodeName> extended =
        resultCode == 114 ? ExtendedResultNames(entry.kind) : std::span<const CodeName>{};
    return QStringLiteral("ResultCode = %1, ResultCodeExtended = %2, ErrorLocus = %3, ErrorResponse = %4")
        .arg(Q(NamedResultCode(resultCode)), Named(extended, entry.numbers[1]),
             Named(ErrorLocusNames(), entry.numbers[2]), Named(ErrorResponseNames(), entry.numbers[3]));
}

QString EventDetails(const EventLogEntry& entry) {
    switch (entry.event) {
    case DeviceEventId::DataEvent:
        return DataDetails(entry);
    case DeviceEventId::DirectIOEvent:
        return QStringLiteral("EventNumber = %1, pData = %2, pString = %3")
            .arg(entry.numbers[0])
            .arg(entry.numbers[1])
            .arg(Quoted(entry.text));
    case DeviceEventId::ErrorEvent:
        return ErrorDetails(entry);
    case DeviceEventId::OutputCompleteEvent:
        return QStringLiteral("OutputID = %1").arg(entry.numbers[0]);
    case DeviceEventId::StatusUpdateEvent:
        return StatusName(entry.kind) + QStringLiteral(" = ") +
               Named(StatusUpdateNames(entry.kind), entry.numbers[0]);
    }
    return {};
}

QString CallDetails(const EventLogEntry& entry) {
    QString text = entry.member == u"Open" ? Quoted(entry.text) : Q(entry.text);
    if (!entry.failure.empty())
        return text + (text.isEmpty() ? QString() : QStringLiteral(" ")) + QStringLiteral("→ échec : ") +
               Q(entry.failure);
    if (entry.count > 0)
        text += (text.isEmpty() ? QString() : QStringLiteral(" ")) + QStringLiteral("→ ") +
                Q(NamedResultCode(entry.numbers[0]));
    return text;
}

// French spreadsheets take ';' between fields, the comma being the decimal mark.
constexpr QChar kCsvSeparator = QLatin1Char(';');

QString CsvField(const QString& field) {
    if (!field.contains(kCsvSeparator) && !field.contains(QLatin1Char(',')) &&
        !field.contains(QLatin1Char('"')) && !field.contains(QLatin1Char('\n')) &&
        !field.contains(QLatin1Char('\r')))
        return field;
    QString quoted = field;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

// Text lines stay one line each whatever a device sent.
QString OneLine(QString field) {
    field.replace(QLatin1Char('\r'), QLatin1Char(' '));
    field.replace(QLatin1Char('\n'), QLatin1Char(' '));
    field.replace(QLatin1Char('\t'), QLatin1Char(' '));
    return field;
}

} // namespace

QString ExportFileName(const QDateTime& when, ExportFormat format) {
    return QStringLiteral("journal-zorv-") + when.toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss")) +
           (format == ExportFormat::Csv ? QStringLiteral(".csv") : QStringLiteral(".txt"));
}

QStringList EventLogHeaders() {
    return {QStringLiteral("Heure"), QStringLiteral("Périphérique"), QStringLiteral("Événement"),
            QStringLiteral("Détails")};
}

QString EntryTime(const EventLogEntry& entry) {
    return QDateTime::fromMSecsSinceEpoch(entry.time).toString(QStringLiteral("HH:mm:ss.zzz"));
}

QString EntryDetails(const EventLogEntry& entry) {
    return entry.IsCall() ? CallDetails(entry) : EventDetails(entry);
}

QString EntryText(const EventLogEntry& entry, EventLogColumn column) {
    switch (column) {
    case EventLogColumn::Time:
        return EntryTime(entry);
    case EventLogColumn::Kind:
        return Q(devices::KindOf(entry.kind).displayName);
    case EventLogColumn::Event:
        return entry.IsCall() ? Q(entry.member) : Q(devices::EventName(entry.event));
    case EventLogColumn::Details:
        return EntryDetails(entry);
    }
    return {};
}

bool EventLogFilter::Accepts(const EventLogEntry& entry) const {
    if (kind && entry.kind != *kind)
        return false;
    switch (what) {
    case What::Everything:
        return true;
    case What::OneEvent:
        return !entry.IsCall() && entry.event == event;
    case What::Calls:
        return entry.IsCall();
    }
    return true;
}

QString ExportEntries(const std::vector<const EventLogEntry*>& entries, ExportFormat format,
                      std::uint64_t dropped) {
    QString out;
    const bool csv = format == ExportFormat::Csv;
    if (csv) {
        // The byte-order mark tells a spreadsheet the file is UTF-8, not the system's code page.
        out += QChar(0xFEFF);
        QStringList headers;
        for (const QString& header : EventLogHeaders())
            headers << CsvField(header);
        out += headers.join(kCsvSeparator) + QStringLiteral("\r\n");
    } else if (dropped > 0) {
        out += QStringLiteral("(%1 entrées plus anciennes supprimées)\n").arg(dropped);
    }
    for (const EventLogEntry* entry : entries) {
        QStringList fields;
        for (int column = 0; column < kEventLogColumns; ++column) {
            const QString text = EntryText(*entry, static_cast<EventLogColumn>(column));
            fields << (csv ? CsvField(text) : OneLine(text));
        }
        out += csv ? fields.join(kCsvSeparator) + QStringLiteral("\r\n")
                   : fields.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    return out;
}

} // namespace zorv::views
