#pragma once
// The event log as the log window's table shows it: the entries that pass
// the filter, followed incrementally, so that a long log is never read again
// whole while events flow.
#include <QAbstractTableModel>
#include <cstdint>
#include <deque>
#include <vector>

#include "views/event_log.h"
#include "views/event_text.h"

namespace zorv::app {

class TEventLogModel : public QAbstractTableModel {
public:
    TEventLogModel(const views::EventLog& log, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Rows the log dropped go, entries it gained since the last call come.
    void Sync();
    // Shows the log afresh through `filter`.
    void SetFilter(const views::EventLogFilter& filter);
    // After the log was cleared.
    void Reset();

    const views::EventLogEntry& EntryAt(int row) const;
    // The log's end serial at the last Sync.
    std::uint64_t Seen() const { return seen_; }
    std::vector<const views::EventLogEntry*> Entries(const std::vector<int>& rows = {}) const;

private:
    const views::EventLog& log_;
    views::EventLogFilter filter_;
    // The serial numbers of the entries shown, in order.
    std::deque<std::uint64_t> rows_;
    std::uint64_t seen_ = 0;
};

} // namespace zorv::app
