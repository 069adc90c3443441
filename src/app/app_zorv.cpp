#include "app/app_zorv.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QDateTime>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>

#include "app/common_properties_page.h"
#include "app/create_object.h"
#include "app/data_event_input.h"
#include "app/device_event_handling.h"
#include "app/event_log_window.h"
#include "app/kind_properties_page.h"
#include "app/modal_runner.h"
#include "app/no_device_kind.h"
#include "app/saisie_ldn.h"
#include "app/simulator_panel.h"
#include "app/window_font.h"
#include "outside/error_report.h"
#include "outside/late_bound.h"
#include "outside/message_box.h"
#include "platform/com/class_table.h"
#include "platform/com/component_report.h"
#include "platform/com/text.h"
#include "platform/ui/qt_user_interface.h"
#include "platform/ui/user_interface.h"
#include "script/publication.h"
#include "views/kind_properties.h"

namespace zorv::app {
namespace {

using devices::DeviceKindId;

// The designed outer size, less the classic frame (4-pixel borders and a
// 19-pixel caption), which the window manager adds back.
constexpr int kClientWidth = 665 - 8;
constexpr int kClientHeight = 569 - 27;
constexpr int kBottomBarHeight = 39;

QString ToQString(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

QPushButton* MakeButton(const QString& name, const QString& caption, QWidget* parent, const QRect& bounds) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(bounds);
    button->setAutoDefault(false);
    return button;
}

// The editor's text exactly, no-break spaces included, paragraphs ending in "\n".
QString EditorText(const QPlainTextEdit& editor) {
    QString text = editor.document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return text;
}

} // namespace

TFrmAppZORV::TFrmAppZORV(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("FrmAppZORV"));
    setWindowTitle(ToQString(outside::kApplicationTitle));
    setFont(WindowFont());
    resize(kClientWidth, kClientHeight);
    CreateMenus();
    CreatePages();
    CreateBottomBar();
    // Boxes block this window only: the simulator and the log answer while a script waits in one.
    ui::SetBoxOwner(this);
    FormCreate();
}

// The log and the panel go first: they look at the log and the controls.
TFrmAppZORV::~TFrmAppZORV() {
    ui::SetBoxOwner(nullptr);
    delete FSimulatorPanel;
    delete FEventLogWindow;
}

void TFrmAppZORV::closeEvent(QCloseEvent* event) {
    if (FSimulatorPanel != nullptr)
        FSimulatorPanel->close();
    if (FEventLogWindow != nullptr)
        FEventLogWindow->close();
    QMainWindow::closeEvent(event);
}

namespace {

// Beside `main` on its right, or on its left when the screen has no room
// there; never over the main window's buttons.
void PlaceBeside(const QWidget& main, QWidget& tool, int below) {
    const QRect frame = main.frameGeometry();
    const QScreen* screen = main.screen();
    const QRect room = screen != nullptr ? screen->availableGeometry() : QRect();
    const int width = tool.frameGeometry().width();
    int x = frame.right() + 1;
    if (room.isValid() && x + width > room.right() + 1 && frame.left() - width >= room.left())
        x = frame.left() - width;
    tool.move(x, frame.top() + below);
}

} // namespace

void TFrmAppZORV::CreateMenus() {
    QMenuBar* MmnApp = menuBar();
    MmnApp->setObjectName(QStringLiteral("MmnApp"));
    MnPeriph = MmnApp->addMenu(QStringLiteral("Périphériques OPOS"));
    MnPeriph->setObjectName(QStringLiteral("MnPeriph"));
    MntAPropos = MmnApp->addAction(QStringLiteral("A propos"));
    MntAPropos->setObjectName(QStringLiteral("MntAPropos"));
    connect(MntAPropos, &QAction::triggered, this,
            [this] { outside::Guarded([this] { MntAProposClick(); }); });
    MntJournal = MmnApp->addAction(QStringLiteral("Journal des événements"));
    MntJournal->setObjectName(QStringLiteral("MntJournal"));
    connect(MntJournal, &QAction::triggered, this,
            [this] { outside::Guarded([this] { MntJournalClick(); }); });
    MntSimulateur = MmnApp->addAction(QStringLiteral("Simulateur"));
    MntSimulateur->setObjectName(QStringLiteral("MntSimulateur"));
    connect(MntSimulateur, &QAction::triggered, this,
            [this] { outside::Guarded([this] { MntSimulateurClick(); }); });
    MntListePeriph = MmnApp->addAction(QStringLiteral("Rechercher les périphériques"));
    MntListePeriph->setObjectName(QStringLiteral("MntListePeriph"));
    connect(MntListePeriph, &QAction::triggered, this,
            [this] { outside::Guarded([this] { MntListePeriphClick(); }); });
    // Radio-style items; none is ever checked: the caption names the current kind.
    FDeviceItems = new QActionGroup(this);
    FDeviceItems->setExclusive(true);
}

void TFrmAppZORV::CreatePages() {
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    setCentralWidget(central);

    PgcOPOS = new QTabWidget(central);
    PgcOPOS->setObjectName(QStringLiteral("PgcOPOS"));
    TabSheet1 = new TCommonPropertiesPage;
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    TabSheet2 = new TSpecificPropertiesPage;
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    TabSheet4 = new QWidget;
    TabSheet4->setObjectName(QStringLiteral("TabSheet4"));
    PgcOPOS->addTab(TabSheet1, QStringLiteral("Propriétés communes"));
    PgcOPOS->addTab(TabSheet2, QStringLiteral("Propriétés spécifiques"));
    PgcOPOS->addTab(TabSheet4, QStringLiteral("Script"));
    PgcOPOS->setVisible(false);
    layout->addWidget(PgcOPOS, 1);
    connect(PgcOPOS, &QTabWidget::currentChanged, this,
            [this](int index) { outside::Guarded([this, index] { PgcOPOSChange(index); }); });

    MmScript = new QPlainTextEdit(TabSheet4);
    MmScript->setObjectName(QStringLiteral("MmScript"));
    MmScript->setGeometry(16, 20, 325, 345);
    MmScript->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    MmScript->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    MmScript->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    BtnEnregistrer = MakeButton(QStringLiteral("BtnEnregistrer"), QStringLiteral("Enregistrer"), TabSheet4,
                                QRect(360, 24, 75, 25));
    connect(BtnEnregistrer, &QPushButton::clicked, this,
            [this] { outside::Guarded([this] { BtnEnregistrerClick(); }); });
}

void TFrmAppZORV::CreateBottomBar() {
    Panel1 = new QWidget(centralWidget());
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedHeight(kBottomBarHeight);
    centralWidget()->layout()->addWidget(Panel1);

    BtnOpen = MakeButton(QStringLiteral("BtnOpen"), QStringLiteral("Open"), Panel1, QRect(8, 8, 75, 25));
    BtnClose = MakeButton(QStringLiteral("BtnClose"), QStringLiteral("Close"), Panel1, QRect(104, 8, 75, 25));
    LbScript = new QLabel(QStringLiteral("Script :"), Panel1);
    LbScript->setObjectName(QStringLiteral("LbScript"));
    LbScript->move(204, 12);
    LbScript->adjustSize();
    EdtFonction = new QLineEdit(QStringLiteral("Open"), Panel1);
    EdtFonction->setObjectName(QStringLiteral("EdtFonction"));
    EdtFonction->setGeometry(244, 8, 157, 21);
    BtnExecuter =
        MakeButton(QStringLiteral("BtnExecuter"), QStringLiteral("Exécuter"), Panel1, QRect(416, 8, 75, 25));
    BtnExecuter->setDefault(true);

    connect(BtnOpen, &QPushButton::clicked, this, [this] { outside::Guarded([this] { BtnOpenClick(); }); });
    connect(BtnClose, &QPushButton::clicked, this, [this] { outside::Guarded([this] { BtnCloseClick(); }); });
    connect(BtnExecuter, &QPushButton::clicked, this,
            [this] { outside::Guarded([this] { BtnExecuterClick(); }); });
}

void TFrmAppZORV::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
        QMainWindow::keyPressEvent(event);
        return;
    }
    // A focused button takes Enter for itself, as buttons do; anything else presses the default.
    if (auto* focused = qobject_cast<QPushButton*>(focusWidget()); focused && focused != BtnExecuter)
        focused->click();
    else if (BtnExecuter->isEnabled())
        BtnExecuter->click();
}

void TFrmAppZORV::CreateKind(const devices::DeviceKind& kind) {
    devices::TZORVDeviceControl*& control = FControls[devices::IndexOf(kind.id)];
    try {
        control = kind.create(&FDeviceOwner);
        ConnectDeviceEventHandlers(*control, [this](DeviceKindId id, devices::DeviceEventId event,
                                                    const devices::EventValues& values) {
            RecordEvent(id, event, values);
            DeviceEvent(id);
        });
        control->SetCallObserver([this](devices::TZORVDeviceControl& caller,
                                        const devices::DeviceCall& call) { RecordCall(caller, call); });
        const com::ComPtr<IDispatch> device = control->DeviceObject();
        PublishDeviceObject(kind.registryName, device.Get());
        AddDeviceMenuItem(kind.displayName);
    } catch (...) {
        // The kind is dropped without a further word.
        delete control;
        control = nullptr;
    }
}

void TFrmAppZORV::FormCreate() {
    try {
        FRegistry = CreateObject(com::OwnClass(script::kRegistryProgId));
    } catch (...) {
        outside::ReportCurrentException();
        return;
    }
    for (const devices::DeviceKind& kind : devices::DeviceKinds())
        CreateKind(kind);
    FScriptEnabled = true;
    if (MnPeriph->actions().isEmpty()) {
        FTerminateRequested = true;
        outside::ShowMessageBox(NoDeviceKindText(), ui::Icon::Error);
        return;
    }
    if (!outside::Guarded([this] { MntPeriphClick(MnPeriph->actions().first()); }))
        return;
    const QSignalBlocker programmatic(PgcOPOS);
    PgcOPOS->setCurrentIndex(0);
}

void TFrmAppZORV::AddDeviceMenuItem(std::u16string_view displayName) {
    QAction* item = MnPeriph->addAction(ToQString(displayName));
    item->setObjectName(QStringLiteral("MntPeriph") + ToQString(displayName));
    FDeviceItems->addAction(item);
    connect(item, &QAction::triggered, this,
            [this, item] { outside::Guarded([this, item] { MntPeriphClick(item); }); });
    PgcOPOS->setVisible(true);
}

void TFrmAppZORV::PublishDeviceObject(std::u16string_view registryName, IDispatch* deviceObject) {
    script::PublishDeviceObject(FRegistry.Get(), registryName, deviceObject);
}

devices::TZORVDeviceControl* TFrmAppZORV::Control(DeviceKindId kind) const {
    const std::size_t index = devices::IndexOf(kind);
    return index < FControls.size() ? FControls[index] : nullptr;
}

devices::TZORVDeviceControl* TFrmAppZORV::CurrentControl() const {
    const devices::DeviceKind* kind = devices::FindKind(FCurrentDevice);
    return kind ? Control(kind->id) : nullptr;
}

void TFrmAppZORV::MntPeriphClick(QAction* sender) {
    FCurrentDevice = sender->text().toStdU16String();
    setWindowTitle(
        QStringLiteral("%1 - [%2]").arg(ToQString(outside::kApplicationTitle), ToQString(FCurrentDevice)));
    // The replacement is one undoable step, so that Ctrl+Z brings back what was there.
    const QString discarded = EditorText(*MmScript);
    MmScript->clear();
    LoadScriptOfCurrentKind();
    const QString loaded = EditorText(*MmScript);
    MmScript->setPlainText(discarded);
    QTextCursor replacement(MmScript->document());
    replacement.select(QTextCursor::Document);
    replacement.insertText(loaded);
    MmScript->moveCursor(QTextCursor::Start);
    InitScriptControl();
    BtnRafraichirClick();
}

void TFrmAppZORV::DeviceEvent(DeviceKindId kind) {
    if (devices::KindOf(kind).rearmsDataEvents) {
        if (devices::TZORVDeviceControl* control = Control(kind)) {
            devices::DeviceCall rearm{u"DataEventEnabled", u"True", std::nullopt, {}};
            try {
                outside::PutProperty(control->DeviceObject().Get(), u"DataEventEnabled", true);
            } catch (const std::exception& error) {
                rearm.failure = outside::ErrorText(error);
                RecordCall(*control, rearm);
                throw;
            }
            RecordCall(*control, rearm);
        }
    }
    BtnRafraichirClick();
}

void TFrmAppZORV::RecordEvent(DeviceKindId kind, devices::DeviceEventId event,
                              const devices::EventValues& values) {
    views::EventLogEntry entry;
    entry.time = QDateTime::currentMSecsSinceEpoch();
    entry.kind = kind;
    entry.event = event;
    entry.numbers = values.numbers;
    entry.count = static_cast<std::uint8_t>(values.count);
    entry.text = values.text;
    if (event == devices::DeviceEventId::DataEvent)
        if (devices::TZORVDeviceControl* control = Control(kind))
            ReadDataEventInput(kind, control->DeviceObject().Get(), entry);
    FEventLog.Append(std::move(entry));
}

void TFrmAppZORV::RecordCall(devices::TZORVDeviceControl& control, const devices::DeviceCall& call) {
    views::EventLogEntry entry;
    entry.time = QDateTime::currentMSecsSinceEpoch();
    entry.kind = control.Kind().id;
    entry.member = call.member;
    entry.text = call.argument;
    entry.failure = call.failure;
    std::optional<LONG> result = call.result;
    // A put answers nothing; its result code is read only while someone watches the log.
    if (!result && call.failure.empty() && FEventLogWindow != nullptr && FEventLogWindow->isVisible()) {
        try {
            result = outside::ToLong(outside::GetProperty(control.DeviceObject().Get(), u"ResultCode"));
        } catch (...) {
        }
    }
    if (result) {
        entry.numbers[0] = *result;
        entry.count = 1;
    }
    FEventLog.Append(std::move(entry));
}

TEventLogWindow* TFrmAppZORV::EventLogWindow() {
    if (FEventLogWindow == nullptr)
        FEventLogWindow = new TEventLogWindow(FEventLog, nullptr);
    return FEventLogWindow;
}

TSimulatorPanel* TFrmAppZORV::SimulatorPanel() {
    if (FSimulatorPanel == nullptr) {
        SimulatorHost host{[this] { return CurrentControl(); },
                           [this] { outside::Guarded([this] { BtnRafraichirClick(); }); },
                           [this](devices::TZORVDeviceControl& control, const devices::DeviceCall& call) {
                               RecordCall(control, call);
                           }};
        FSimulatorPanel = new TSimulatorPanel(std::move(host), nullptr);
    }
    return FSimulatorPanel;
}

void TFrmAppZORV::MntJournalClick() {
    const bool first = FEventLogWindow == nullptr;
    TEventLogWindow* log = EventLogWindow();
    if (first)
        PlaceBeside(*this, *log, 0);
    log->show();
    log->raise();
    log->Follow();
}

void TFrmAppZORV::MntSimulateurClick() {
    const bool first = FSimulatorPanel == nullptr;
    TSimulatorPanel* panel = SimulatorPanel();
    if (first)
        PlaceBeside(*this, *panel,
                    FEventLogWindow != nullptr ? FEventLogWindow->frameGeometry().height() : 0);
    panel->show();
    panel->raise();
    panel->UpdateState();
}

void TFrmAppZORV::MntListePeriphClick() {
    TFrmListePeriph list(FDeviceDiscovery, ToQString(FCurrentDevice), this);
    ShowModal(list);
}

void TFrmAppZORV::BtnOpenClick() {
    OpenCurrentDevice();
    BtnRafraichirClick();
}

void TFrmAppZORV::BtnCloseClick() {
    CloseCurrentDevice();
    BtnRafraichirClick();
}

void TFrmAppZORV::OpenCurrentDevice() {
    if (FrmSaisieLDN == nullptr || ShowModal(*FrmSaisieLDN) != QDialog::Accepted)
        return;
    if (devices::TZORVDeviceControl* control = CurrentControl())
        control->OpenDevice(FrmSaisieLDN->EdtLDN->text().toStdU16String());
}

void TFrmAppZORV::CloseCurrentDevice() {
    if (devices::TZORVDeviceControl* control = CurrentControl())
        control->CloseDevice();
}

void TFrmAppZORV::PgcOPOSChange(int index) {
    if (index == 0 || index == 1)
        BtnRafraichirClick();
}

void TFrmAppZORV::BtnRafraichirClick() {
    if (FRefreshing) {
        ++FPendingRefreshes;
        return;
    }
    FRefreshing = true;
    std::exception_ptr failure;
    try {
        RefreshRecorded();
    } catch (...) {
        failure = std::current_exception();
    }
    // Each refresh asked for meanwhile is one full refresh of its own; their
    // failures are theirs to report.
    while (FPendingRefreshes > 0) {
        --FPendingRefreshes;
        outside::Guarded([this] { RefreshRecorded(); });
    }
    FRefreshing = false;
    // The panel follows the device's state: opened, closed, another kind.
    if (FSimulatorPanel != nullptr && FSimulatorPanel->isVisible())
        FSimulatorPanel->UpdateState();
    if (failure)
        std::rethrow_exception(failure);
}

void TFrmAppZORV::RefreshRecorded() {
    try {
        RefreshCurrentKind();
    } catch (const std::exception& error) {
        if (devices::TZORVDeviceControl* control = CurrentControl())
            RecordCall(*control, {u"Rafraîchir", {}, std::nullopt, outside::ErrorText(error)});
        throw;
    }
}

void TFrmAppZORV::RefreshCurrentKind() {
    const devices::DeviceKind* kind = devices::FindKind(FCurrentDevice);
    if (kind == nullptr)
        return;
    devices::TZORVDeviceControl* control = Control(kind->id);
    if (control == nullptr)
        return;
    views::ShowKindProperties(
        kind->id, [control] { return control->DeviceObject(); }, *TabSheet1, *TabSheet2);
}

void TFrmAppZORV::MntAProposClick() {
    std::u16string text = u"ZORV\rBanc de test de périphériques OPOS\rVersion 1.0.0.3\r";
    for (const std::string& line : com::ComponentReportLines())
        text += u"\r" + com::Utf8ToUtf16(line);
    outside::ShowMessageBox(text, ui::Icon::Information);
}

} // namespace zorv::app
