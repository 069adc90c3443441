// The event log window and the simulator panel on the simulated devices:
// what the log records and shows, its filter, pause, clear and export; each
// input of the panel reaching its device and the window's pages.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTableView>

#include "app/app_fixture.h"
#include "app/event_log_model.h"
#include "app/event_log_window.h"
#include "app/posted_call_pump.h"
#include "app/simulator_panel.h"
#include "app/window_probe.h"

using namespace zorv::testing;
using zorv::views::CommonField;

namespace {

struct Pump {
    Pump() { zorv::app::DrivePostedCallsFromQt(); }
    ~Pump() { zorv::app::StopDrivingPostedCalls(); }
    static void Run() {
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
    }
};

// The rows the log window shows, as "kind event details".
std::vector<QString> LogRows(zorv::app::TEventLogWindow& log) {
    log.Follow();
    std::vector<QString> rows;
    const auto* model = log.Model();
    for (int row = 0; row < model->rowCount(); ++row) {
        QStringList cells;
        for (int column = 1; column < 4; ++column)
            cells << model->index(row, column).data().toString();
        rows.push_back(cells.join(QLatin1Char(' ')));
    }
    return rows;
}

bool HasRow(const std::vector<QString>& rows, const QString& row) {
    return std::find(rows.begin(), rows.end(), row) != rows.end();
}

QString ValueOf(zorv::app::TFrmAppZORV& window, const QString& caption) {
    for (const auto& [shown, value] : ValueRows(window))
        if (shown == caption + QStringLiteral(" :"))
            return value;
    return QStringLiteral("(no row)");
}

bool Checked(zorv::app::TFrmAppZORV& window, const QString& name) {
    for (const CheckRow& row : CheckRows(window))
        if (row.name == name)
            return row.checked;
    ADD_FAILURE() << "no check row " << name.toStdString();
    return false;
}

} // namespace

class TesterTools : public AppFixture {
protected:
    void Open(const QString& kind, std::u16string name) {
        Choose(*window, kind);
        AnswerDialog(std::move(name));
        window->BtnOpen->click();
        Pump::Run();
    }
    // Presses a panel button and lets the events it causes arrive.
    void Press(const QString& button) {
        QPushButton* pressed = window->SimulatorPanel()->Button(button);
        ASSERT_NE(pressed, nullptr) << button.toStdString();
        ASSERT_TRUE(pressed->isEnabled()) << button.toStdString();
        pressed->click();
        Pump::Run();
    }
    QString PanelResult() { return window->SimulatorPanel()->LbResultat->FullText(); }

    Pump pump;
};

TEST_F(TesterTools, TheLogRecordsTheOpenSequenceAndDecodedEvents) {
    auto& window = Start();
    window.MntJournal->trigger();
    zorv::app::TEventLogWindow& log = *window.EventLogWindow();
    EXPECT_TRUE(log.isVisible());
    Open(QStringLiteral("Printer"), u"SimPrinter");
    window.MntSimulateur->trigger();
    Press(QStringLiteral("BtnCoverOpen"));
    Press(QStringLiteral("BtnCoverClosed"));
    Open(QStringLiteral("Scanner"), u"Nowhere");

    const std::vector<QString> rows = LogRows(log);
    for (const char* expected : {
             "Printer Open \"SimPrinter\" → OPOS_SUCCESS (0)",
             "Printer Claim 1000 → OPOS_SUCCESS (0)",
             // Read back while the log is open.
             "Printer DeviceEnabled True → OPOS_SUCCESS (0)",
             "Printer DirectIO 5, 0, \"open\" → OPOS_SUCCESS (0)",
             "Printer StatusUpdateEvent Status = PTR_SUE_COVER_OPEN (11)",
             "Printer StatusUpdateEvent Status = PTR_SUE_COVER_OK (12)",
             "Scanner Open \"Nowhere\" → OPOS_E_NOEXIST (109)",
         })
        EXPECT_TRUE(HasRow(rows, QString::fromUtf8(expected))) << expected;
    EXPECT_FALSE(HasRow(rows, QStringLiteral("Printer DataEventEnabled True → OPOS_SUCCESS (0)")))
        << "the printer is not armed";
    const auto times = log.Model()->index(0, 0).data().toString();
    EXPECT_TRUE(
        QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d$")).match(times).hasMatch())
        << times.toStdString();
    EXPECT_TRUE(Reports().empty());
}

TEST_F(TesterTools, TheLogFiltersPausesClearsAndExports) {
    auto& window = Start();
    Open(QStringLiteral("Scanner"), u"SimScanner");
    window.MntJournal->trigger();
    zorv::app::TEventLogWindow& log = *window.EventLogWindow();
    window.MntSimulateur->trigger();
    Press(QStringLiteral("BtnGoodScan"));
    Open(QStringLiteral("Keylock"), u"SimKeylock");
    Press(QStringLiteral("BtnKeySupr"));

    log.CbKind->setCurrentText(QStringLiteral("Keylock"));
    std::vector<QString> rows = LogRows(log);
    ASSERT_FALSE(rows.empty());
    for (const QString& row : rows)
        EXPECT_TRUE(row.startsWith(QStringLiteral("Keylock "))) << row.toStdString();
    EXPECT_TRUE(HasRow(rows, QStringLiteral("Keylock StatusUpdateEvent Data = LOCK_KP_SUPR (3)")));

    log.CbKind->setCurrentIndex(0);
    log.CbEvent->setCurrentText(QStringLiteral("DataEvent"));
    rows = LogRows(log);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_TRUE(rows[0].startsWith(QStringLiteral("Scanner DataEvent Status = "))) << rows[0].toStdString();
    log.CbEvent->setCurrentText(QStringLiteral("Appels"));
    for (const QString& row : LogRows(log))
        EXPECT_FALSE(row.contains(QStringLiteral("Event "))) << row.toStdString();

    log.CbEvent->setCurrentIndex(0);
    const std::size_t before = LogRows(log).size();
    log.BtnPause->click();
    Press(QStringLiteral("BtnKeyLock"));
    EXPECT_EQ(LogRows(log).size(), before) << "paused";
    EXPECT_TRUE(log.LbStatus->text().contains(QStringLiteral("en pause")));
    log.BtnPause->click();
    EXPECT_GT(LogRows(log).size(), before) << "what came meanwhile shows on resuming";

    const QString path = scriptFolder.filePath(QStringLiteral("journal.csv"));
    ASSERT_TRUE(log.ExportTo(path, zorv::views::ExportFormat::Csv));
    QFile exported(path);
    ASSERT_TRUE(exported.open(QIODevice::ReadOnly));
    const QByteArray bytes = exported.readAll();
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF")) << "no byte-order mark";
    const QStringList lines = QString::fromUtf8(bytes).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    EXPECT_EQ(lines.size(), static_cast<qsizetype>(LogRows(log).size()) + 1);
    EXPECT_EQ(lines.at(0), QStringLiteral("Heure;Périphérique;Événement;Détails"));
    EXPECT_FALSE(log.ExportTo(scriptFolder.filePath(QStringLiteral("missing/folder/x.csv")),
                              zorv::views::ExportFormat::Text));
    EXPECT_EQ(Reports().size(), 1u) << "a failed export is reported";

    log.LvEvents->selectRow(0);
    log.BtnCopier->click();
    const QStringList copied = QApplication::clipboard()->text().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(copied.size(), 1) << "the selected row only";
    EXPECT_TRUE(copied[0].endsWith(log.Model()->index(0, 3).data().toString()));

    log.BtnEffacer->click();
    EXPECT_TRUE(LogRows(log).empty());
    EXPECT_EQ(window.EventLog().Size(), 0u);
}

TEST_F(TesterTools, ThePanelSaysWhenTheDeviceIsClosedOrNotSimulated) {
    auto& window = Start();
    window.MntSimulateur->trigger();
    zorv::app::TSimulatorPanel& panel = *window.SimulatorPanel();
    EXPECT_TRUE(panel.LbEtat->text().contains(QStringLiteral("n'est pas ouvert")));
    EXPECT_FALSE(panel.InputsEnabled());
    EXPECT_FALSE(panel.Button(QStringLiteral("BtnGoodScan"))->isEnabled());
    Open(QStringLiteral("Scanner"), u"SimScanner");
    EXPECT_TRUE(panel.InputsEnabled());
    EXPECT_TRUE(panel.LbEtat->text().contains(QStringLiteral("simulé")));
    Choose(window, QStringLiteral("MSR"));
    EXPECT_EQ(panel.Pages->currentWidget()->objectName(), QStringLiteral("PageMSR"));
    EXPECT_FALSE(panel.InputsEnabled()) << "the MSR is not open";
}

TEST_F(TesterTools, EachInputReachesItsDeviceAndThePages) {
    auto& window = Start();
    window.MntSimulateur->trigger();
    zorv::app::TSimulatorPanel& panel = *window.SimulatorPanel();

    Open(QStringLiteral("Scanner"), u"SimScanner");
    Press(QStringLiteral("BtnGoodScan"));
    EXPECT_EQ(ValueOf(window, QStringLiteral("ScanData")), QStringLiteral("]E04006381333931"));
    panel.CbSymbology->setCurrentIndex(panel.CbSymbology->findData(110));
    panel.EdtLabel->setText(QStringLiteral("ABC-123"));
    Press(QStringLiteral("BtnScan"));
    EXPECT_EQ(ValueOf(window, QStringLiteral("ScanData")), QStringLiteral("]C0ABC-123"));
    Press(QStringLiteral("BtnBadScan"));
    EXPECT_TRUE(
        HasRow(LogRows(*window.EventLogWindow()),
               QStringLiteral("Scanner ErrorEvent ResultCode = OPOS_E_FAILURE (111), ResultCodeExtended = 0, "
                              "ErrorLocus = OPOS_EL_INPUT (2), ErrorResponse = OPOS_ER_CLEAR (12)")));

    Open(QStringLiteral("MSR"), u"SimMSR");
    Press(QStringLiteral("BtnGoodCard"));
    EXPECT_EQ(ValueOf(window, QStringLiteral("AccountNumber")), QStringLiteral("4111111111111111"));
    EXPECT_EQ(ValueOf(window, QStringLiteral("Surname")), QStringLiteral("DUPONT"));
    Press(QStringLiteral("BtnBadTrack"));
    EXPECT_TRUE(
        HasRow(LogRows(*window.EventLogWindow()),
               QStringLiteral("MSR ErrorEvent ResultCode = OPOS_E_EXTENDED (114), ResultCodeExtended = "
                              "OPOS_EMSR_PARITY (203), ErrorLocus = OPOS_EL_INPUT (2), ErrorResponse = "
                              "OPOS_ER_CLEAR (12)")));

    Open(QStringLiteral("Keylock"), u"SimKeylock");
    Press(QStringLiteral("BtnKeySupr"));
    EXPECT_EQ(ValueOf(window, QStringLiteral("KeyPosition")), QStringLiteral("LOCK_KP_SUPR"));
    Press(QStringLiteral("BtnKeyLock"));
    EXPECT_EQ(ValueOf(window, QStringLiteral("KeyPosition")), QStringLiteral("LOCK_KP_LOCK"));

    Open(QStringLiteral("POSKeyboard"), u"SimPOSKeyboard");
    panel.SpnKeyCode->setValue(42);
    Press(QStringLiteral("BtnKeyPress"));
    EXPECT_EQ(ValueOf(window, QStringLiteral("POSKeyData")), QStringLiteral("42"));

    Open(QStringLiteral("CashDrawer"), u"SimCashDrawer");
    Press(QStringLiteral("BtnDrawerOpen"));
    EXPECT_TRUE(Checked(window, QStringLiteral("DrawerOpened")));
    Press(QStringLiteral("BtnDrawerClose"));
    EXPECT_FALSE(Checked(window, QStringLiteral("DrawerOpened")));

    Open(QStringLiteral("Printer"), u"SimPrinter");
    Press(QStringLiteral("BtnCoverOpen"));
    EXPECT_TRUE(Checked(window, QStringLiteral("CoverOpen")));
    Press(QStringLiteral("BtnCoverClosed"));
    EXPECT_FALSE(Checked(window, QStringLiteral("CoverOpen")));
    panel.CbStation->setCurrentIndex(panel.CbStation->findData(2));
    Press(QStringLiteral("BtnPaperNearEnd"));
    EXPECT_TRUE(Checked(window, QStringLiteral("RecNearEnd")));
    Press(QStringLiteral("BtnPaperOk"));
    EXPECT_FALSE(Checked(window, QStringLiteral("RecNearEnd")));

    for (const auto& [button, code] :
         {std::pair{"BtnPowerOff", 2002}, {"BtnPowerOffline", 2003}, {"BtnPowerOn", 2001}}) {
        Press(QString::fromLatin1(button));
        EXPECT_EQ(PanelResult(), QStringLiteral("DirectIO(3, %1, \"\") → OPOS_SUCCESS (0)").arg(code));
    }
    EXPECT_TRUE(Reports().empty());
}

// The kind rows' slot order against the simulated devices: the event each
// device raises is logged under its own name.
TEST_F(TesterTools, EveryKindsEventsAreLoggedUnderTheNameTheDeviceGaveThem) {
    auto& window = Start();
    window.MntSimulateur->trigger();
    const std::pair<const char*, std::u16string> kinds[] = {
        {"Scanner", u"SimScanner"},      {"Printer", u"SimPrinter"}, {"LineDisplay", u"SimLineDisplay"},
        {"Keylock", u"SimKeylock"},      {"MSR", u"SimMSR"},         {"POSKeyboard", u"SimPOSKeyboard"},
        {"CashDrawer", u"SimCashDrawer"}};
    for (const auto& [kind, name] : kinds) {
        SCOPED_TRACE(kind);
        Open(QString::fromLatin1(kind), name);
        ASSERT_EQ(window.SimulatorPanel()->DirectIO(6, 7, QStringLiteral("x")), 0);
        Pump::Run();
        EXPECT_TRUE(HasRow(LogRows(*window.EventLogWindow()),
                           QString::fromLatin1(kind) +
                               QStringLiteral(" DirectIOEvent EventNumber = 7, pData = 7, pString = \"x\"")));
    }
    EXPECT_TRUE(Reports().empty());
}

// What a tester reads in the log and on the panel while using the simulator.
TEST_F(TesterTools, TheLogShowsEachDataEventsInputAndStaysBesideTheWindow) {
    auto& window = Start();
    window.show();
    window.MntJournal->trigger();
    zorv::app::TEventLogWindow& log = *window.EventLogWindow();
    // Beside the main window: nothing of it hidden, "Exécuter" least of all.
    const QRect main = window.frameGeometry();
    EXPECT_FALSE(log.frameGeometry().intersects(main)) << "the log hides the main window";
    window.MntSimulateur->trigger();
    zorv::app::TSimulatorPanel& panel = *window.SimulatorPanel();
    EXPECT_FALSE(panel.frameGeometry().intersects(main)) << "the panel hides the main window";

    Open(QStringLiteral("Scanner"), u"SimScanner");
    Press(QStringLiteral("BtnGoodScan"));
    Open(QStringLiteral("MSR"), u"SimMSR");
    Press(QStringLiteral("BtnGoodCard"));
    Open(QStringLiteral("POSKeyboard"), u"SimPOSKeyboard");
    panel.SpnKeyCode->setValue(42);
    Press(QStringLiteral("BtnKeyPress"));
    log.CbEvent->setCurrentText(QStringLiteral("DataEvent"));
    const std::vector<QString> rows = LogRows(log);
    const auto has = [&](const QString& kind, const QString& part) {
        return std::any_of(rows.begin(), rows.end(),
                           [&](const QString& row) { return row.startsWith(kind) && row.contains(part); });
    };
    EXPECT_TRUE(has(QStringLiteral("Scanner DataEvent"), QStringLiteral("4006381333931\"")));
    EXPECT_TRUE(has(QStringLiteral("Scanner DataEvent"), QStringLiteral("ScanDataType = ")));
    EXPECT_TRUE(has(QStringLiteral("MSR DataEvent"), QStringLiteral("(Track1 ")));
    EXPECT_TRUE(has(QStringLiteral("MSR DataEvent"), QStringLiteral("AccountNumber = \"4111111111111111\"")));
    EXPECT_TRUE(has(QStringLiteral("POSKeyboard DataEvent"), QStringLiteral("POSKeyData = 42")));

    // Paused, the status line still counts what waits.
    log.CbEvent->setCurrentIndex(0);
    log.BtnPause->click();
    Press(QStringLiteral("BtnKeyPress"));
    log.Follow();
    const QString first = log.LbStatus->text();
    Press(QStringLiteral("BtnKeyPress"));
    log.Follow();
    EXPECT_NE(log.LbStatus->text(), first) << first.toStdString();
    log.BtnPause->click();

    // A long result keeps the panel's width; the whole text is in the tooltip.
    const int width = panel.width();
    panel.EdtTrack[0]->setText(QString(400, QLatin1Char('A')));
    Press(QStringLiteral("BtnSwipe"));
    QCoreApplication::processEvents();
    EXPECT_EQ(panel.width(), width);
    EXPECT_LE(panel.LbResultat->sizeHint().width(), width);
    EXPECT_TRUE(panel.LbResultat->FullText().contains(QString(400, QLatin1Char('A'))));
    EXPECT_EQ(panel.LbResultat->toolTip(), panel.LbResultat->FullText());
    for (QPushButton* button : panel.findChildren<QPushButton*>())
        EXPECT_FALSE(button->toolTip().isEmpty()) << button->objectName().toStdString();
    EXPECT_TRUE(Reports().empty());
}
