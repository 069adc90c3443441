#include "app/event_log_model.h"

#include <algorithm>

namespace zorv::app {

TEventLogModel::TEventLogModel(const views::EventLog& log, QObject* parent)
    : QAbstractTableModel(parent), log_(log) {
    Reset();
}

int TEventLogModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int TEventLogModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : views::kEventLogColumns;
}

QVariant TEventLogModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    return views::EntryText(EntryAt(index.row()), static_cast<views::EventLogColumn>(index.column()));
}

QVariant TEventLogModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= views::kEventLogColumns)
        return {};
    return views::EventLogHeaders().at(section);
}

const views::EventLogEntry& TEventLogModel::EntryAt(int row) const {
    return log_.At(static_cast<std::size_t>(rows_[static_cast<std::size_t>(row)] - log_.FirstSerial()));
}

void TEventLogModel::Sync() {
    std::size_t gone = 0;
    while (gone < rows_.size() && rows_[gone] < log_.FirstSerial())
        ++gone;
    if (gone > 0) {
        beginRemoveRows({}, 0, static_cast<int>(gone) - 1);
        rows_.erase(rows_.begin(), rows_.begin() + static_cast<std::ptrdiff_t>(gone));
        endRemoveRows();
    }
    std::vector<std::uint64_t> fresh;
    for (std::uint64_t serial = std::max(seen_, log_.FirstSerial()); serial < log_.EndSerial(); ++serial)
        if (filter_.Accepts(log_.At(static_cast<std::size_t>(serial - log_.FirstSerial()))))
            fresh.push_back(serial);
    seen_ = log_.EndSerial();
    if (fresh.empty())
        return;
    const int first = static_cast<int>(rows_.size());
    beginInsertRows({}, first, first + static_cast<int>(fresh.size()) - 1);
    rows_.insert(rows_.end(), fresh.begin(), fresh.end());
    endInsertRows();
}

void TEventLogModel::SetFilter(const views::EventLogFilter& filter) {
    filter_ = filter;
    Reset();
}

void TEventLogModel::Reset() {
    beginResetModel();
    rows_.clear();
    seen_ = log_.FirstSerial();
    endResetModel();
    Sync();
}

std::vector<const views::EventLogEntry*> TEventLogModel::Entries(const std::vector<int>& rows) const {
    std::vector<const views::EventLogEntry*> entries;
    if (rows.empty()) {
        for (int row = 0; row < rowCount(); ++row)
            entries.push_back(&EntryAt(row));
        return entries;
    }
    for (int row : rows)
        if (row >= 0 && row < rowCount())
            entries.push_back(&EntryAt(row));
    return entries;
}

} // namespace zorv::app
