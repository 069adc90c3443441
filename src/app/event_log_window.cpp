#include "app/event_log_window.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDateTime>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QScrollBar>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "app/event_log_model.h"
#include "app/window_font.h"
#include "outside/error_report.h"

namespace zorv::app {
namespace {

using devices::DeviceEventId;
using views::EventLogFilter;

// Often enough to look live, seldom enough to cost nothing while a device floods.
constexpr int kFollowMilliseconds = 250;

QString Q(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

constexpr DeviceEventId kEvents[] = {DeviceEventId::DataEvent, DeviceEventId::DirectIOEvent,
                                     DeviceEventId::ErrorEvent, DeviceEventId::OutputCompleteEvent,
                                     DeviceEventId::StatusUpdateEvent};

QPushButton* MakeButton(const QString& name, const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

} // namespace

TEventLogWindow::TEventLogWindow(views::EventLog& log, QWidget* parent)
    : QWidget(parent, Qt::Window), FLog(log), FModel(new TEventLogModel(log, this)),
      FFollowTimer(new QTimer(this)) {
    setObjectName(QStringLiteral("FrmJournal"));
    setWindowTitle(QStringLiteral("Journal des événements - ZORV"));
    setFont(WindowFont());
    resize(760, 420);
    auto* layout = new QVBoxLayout(this);
    CreateFilters();
    CreateTable();
    LbStatus = new QLabel(this);
    LbStatus->setObjectName(QStringLiteral("LbStatus"));
    layout->addWidget(LbStatus);
    connect(FFollowTimer, &QTimer::timeout, this, [this] { Follow(); });
    FFollowTimer->start(kFollowMilliseconds);
    ShowStatus();
}

void TEventLogWindow::CreateFilters() {
    auto* bar = new QHBoxLayout;
    static_cast<QVBoxLayout*>(layout())->addLayout(bar);
    CbKind = new QComboBox(this);
    CbKind->setObjectName(QStringLiteral("CbKind"));
    CbKind->addItem(QStringLiteral("Tous"));
    for (const devices::DeviceKind& kind : devices::DeviceKinds())
        CbKind->addItem(Q(kind.displayName), static_cast<int>(kind.id));
    CbEvent = new QComboBox(this);
    CbEvent->setObjectName(QStringLiteral("CbEvent"));
    CbEvent->addItem(QStringLiteral("Tous"));
    for (DeviceEventId event : kEvents)
        CbEvent->addItem(Q(devices::EventName(event)), static_cast<int>(event));
    CbEvent->addItem(QStringLiteral("Appels"));
    BtnPause = MakeButton(QStringLiteral("BtnPause"), QStringLiteral("Pause"), this);
    BtnPause->setCheckable(true);
    BtnEffacer = MakeButton(QStringLiteral("BtnEffacer"), QStringLiteral("Effacer"), this);
    BtnCopier = MakeButton(QStringLiteral("BtnCopier"), QStringLiteral("Copier"), this);
    BtnExporter = MakeButton(QStringLiteral("BtnExporter"), QStringLiteral("Exporter…"), this);
    bar->addWidget(new QLabel(QStringLiteral("Périphérique :"), this));
    bar->addWidget(CbKind);
    bar->addWidget(new QLabel(QStringLiteral("Événement :"), this));
    bar->addWidget(CbEvent);
    bar->addStretch(1);
    for (QPushButton* button : {BtnPause, BtnEffacer, BtnCopier, BtnExporter})
        bar->addWidget(button);

    connect(CbKind, &QComboBox::currentIndexChanged, this, [this] { ApplyFilter(); });
    connect(CbEvent, &QComboBox::currentIndexChanged, this, [this] { ApplyFilter(); });
    connect(BtnPause, &QPushButton::toggled, this, [this](bool paused) { SetPaused(paused); });
    connect(BtnEffacer, &QPushButton::clicked, this, [this] { ClearLog(); });
    connect(BtnCopier, &QPushButton::clicked, this, [this] { CopyRows(); });
    connect(BtnExporter, &QPushButton::clicked, this,
            [this] { outside::Guarded([this] { ExportClicked(); }); });
}

void TEventLogWindow::CreateTable() {
    LvEvents = new QTableView(this);
    LvEvents->setObjectName(QStringLiteral("LvEvents"));
    LvEvents->setModel(FModel);
    LvEvents->setSelectionBehavior(QAbstractItemView::SelectRows);
    LvEvents->setSelectionMode(QAbstractItemView::ExtendedSelection);
    LvEvents->setShowGrid(false);
    LvEvents->setWordWrap(false);
    LvEvents->verticalHeader()->hide();
    // Fixed row heights keep a long table cheap to scroll and to grow.
    LvEvents->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    LvEvents->verticalHeader()->setDefaultSectionSize(LvEvents->fontMetrics().height() + 4);
    QHeaderView* header = LvEvents->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setStretchLastSection(true);
    const int widths[] = {90, 90, 140};
    for (int column = 0; column < 3; ++column)
        header->resizeSection(column, widths[column]);
    layout()->addWidget(LvEvents);
}

void TEventLogWindow::ApplyFilter() {
    EventLogFilter filter;
    if (CbKind->currentIndex() > 0)
        filter.kind = static_cast<devices::DeviceKindId>(CbKind->currentData().toInt());
    const int event = CbEvent->currentIndex();
    if (event == CbEvent->count() - 1) {
        filter.what = EventLogFilter::What::Calls;
    } else if (event > 0) {
        filter.what = EventLogFilter::What::OneEvent;
        filter.event = static_cast<DeviceEventId>(CbEvent->currentData().toInt());
    }
    FModel->SetFilter(filter);
    ShowStatus();
}

void TEventLogWindow::Follow() {
    if (FPaused) {
        ShowStatus(); // the count of what waits keeps going up
        return;
    }
    if (FModel->Seen() == FLog.EndSerial())
        return;
    QScrollBar* scroll = LvEvents->verticalScrollBar();
    const bool atEnd = scroll->value() == scroll->maximum();
    FModel->Sync();
    if (atEnd)
        LvEvents->scrollToBottom();
    ShowStatus();
}

void TEventLogWindow::SetPaused(bool paused) {
    FPaused = paused;
    if (BtnPause->isChecked() != paused)
        BtnPause->setChecked(paused);
    if (!paused)
        Follow();
    ShowStatus();
}

void TEventLogWindow::ClearLog() {
    FLog.Clear();
    FModel->Reset();
    ShowStatus();
}

void TEventLogWindow::CopyRows() {
    std::vector<int> rows;
    for (const QModelIndex& index : LvEvents->selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    QApplication::clipboard()->setText(
        views::ExportEntries(FModel->Entries(rows), views::ExportFormat::Text));
}

bool TEventLogWindow::ExportTo(const QString& path, views::ExportFormat format) {
    QSaveFile file(path);
    const QByteArray bytes = views::ExportEntries(FModel->Entries(), format, FLog.Dropped()).toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        outside::ReportError((QStringLiteral("Impossible d'écrire le fichier ") + path +
                              QStringLiteral(" : ") + file.errorString())
                                 .toStdU16String());
        return false;
    }
    return true;
}

void TEventLogWindow::ExportClicked() {
    QString chosen;
    const QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("Exporter le journal"),
        views::ExportFileName(QDateTime::currentDateTime(), views::ExportFormat::Csv),
        QStringLiteral("CSV (*.csv);;Texte (*.txt)"), &chosen);
    if (path.isEmpty())
        return;
    const bool text = chosen.startsWith(QStringLiteral("Texte")) || path.endsWith(QStringLiteral(".txt"));
    ExportTo(path, text ? views::ExportFormat::Text : views::ExportFormat::Csv);
}

void TEventLogWindow::ShowStatus() {
    QString text = QStringLiteral("%1 affichées sur %2 entrées").arg(FModel->rowCount()).arg(FLog.Size());
    if (FLog.Dropped() > 0)
        text += QStringLiteral(", %1 plus anciennes supprimées (limite %2)")
                    .arg(FLog.Dropped())
                    .arg(FLog.Capacity());
    if (FPaused)
        text += QStringLiteral(" — en pause, %1 nouvelles en attente")
                    .arg(FLog.EndSerial() - std::max(FModel->Seen(), FLog.FirstSerial()));
    if (LbStatus->text() != text)
        LbStatus->setText(text);
}

} // namespace zorv::app
