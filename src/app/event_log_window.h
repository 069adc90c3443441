#pragma once
// The event log window: every device event and every call the window makes,
// as they come, filtered by kind and event; it can pause, clear, copy and
// export. It reads the log on a timer, never inside an event's handling.
#include <QWidget>

#include "views/event_log.h"
#include "views/event_text.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTableView;
class QTimer;

namespace zorv::app {

class TEventLogModel;

class TEventLogWindow : public QWidget {
public:
    TEventLogWindow(views::EventLog& log, QWidget* parent = nullptr);

    // Brings the table up to date with the log now.
    void Follow();
    // Writes what the table shows to `path`; answers false and reports when it cannot.
    bool ExportTo(const QString& path, views::ExportFormat format);
    // The selected rows, or every row shown, as text on the clipboard.
    void CopyRows();
    void ClearLog();
    void SetPaused(bool paused);

    TEventLogModel* Model() const { return FModel; }
    QComboBox* CbKind;
    QComboBox* CbEvent;
    QPushButton* BtnPause;
    QPushButton* BtnEffacer;
    QPushButton* BtnCopier;
    QPushButton* BtnExporter;
    QTableView* LvEvents;
    QLabel* LbStatus;

private:
    void CreateFilters();
    void CreateTable();
    void ApplyFilter();
    void ExportClicked();
    void ShowStatus();

    views::EventLog& FLog;
    TEventLogModel* FModel;
    QTimer* FFollowTimer;
    bool FPaused = false;
};

} // namespace zorv::app
