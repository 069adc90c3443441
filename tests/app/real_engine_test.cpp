// The script host against the real engine, the real registry and the
// simulated devices, all found through the class table as the program finds them.
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/app_fixture.h"
#include "app/posted_call_pump.h"
#include "app/window_probe.h"
#include "outside/error_report.h"

using namespace zorv::testing;
using zorv::views::CommonField;

namespace {

class RealEngine : public AppFixture {
protected:
    // The test engine registered by the fixture steps aside for the installed one.
    RealEngine() { scriptEngine.reset(); }

    void Run(const QString& script, const QString& procedure) {
        window->SetScriptText(script);
        window->EdtFonction->setText(procedure);
        zorv::outside::Guarded([this] { window->BtnExecuterClick(); });
    }
    void WriteScriptFile(const QString& kind, const QByteArray& bytes) {
        QFile file(scriptFolder.path() + "/" + kind);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
};

const QString kOpenScanner = "Sub OpenIt\r\n"
                             "    Scanner.Open \"SimScanner\"\r\n"
                             "    Scanner.Claim 1000\r\n"
                             "    Scanner.DeviceEnabled = True\r\n"
                             "End Sub\r\n";

} // namespace

TEST_F(RealEngine, StartUpPreparesTheEngineWithThePreambleWithoutAWord) {
    auto& window = Start();
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_TRUE(window.ScriptEnabled());
    EXPECT_NE(window.ScriptControl(), nullptr);
}

TEST_F(RealEngine, ADeviceOpenedByAScriptIsTheDeviceTheWindowShowsAndCloses) {
    auto& window = Start();
    Run(kOpenScanner, "OpenIt");
    EXPECT_TRUE(Reports().empty());
    EXPECT_EQ(Shown(window, CommonField::State), "OPOS_S_IDLE") << "the refresh after the run shows it open";
    EXPECT_EQ(Shown(window, CommonField::Claimed), "True");
    window.BtnCloseClick();
    EXPECT_EQ(Shown(window, CommonField::State), "OPOS_S_CLOSED");
}

TEST_F(RealEngine, ADeviceOpenedInTheWindowIsSeenOpenByTheNextRun) {
    auto& window = Start();
    AnswerDialog(u"SimScanner");
    window.BtnOpenClick();
    Run("Sub Check\r\n"
        "    If Scanner.State <> 2 Then Err.Raise 1000, \"test\", \"le scanner est fermé\"\r\n"
        "    If Not Scanner.DataEventEnabled Then Err.Raise 1001, \"test\", \"pas armé\"\r\n"
        "End Sub\r\n",
        "Check");
    EXPECT_TRUE(Reports().empty()) << (Reports().empty()
                                           ? ""
                                           : QString::fromStdU16String(Reports()[0]).toStdString());
}

TEST_F(RealEngine, AnErrorInsideTheProcedureGoesToTheReportWithItsLine) {
    Start();
    Run("Sub Boom\r\n    Dim x\r\n    x = 1 / 0\r\nEnd Sub\r\n", "Boom");
    ASSERT_EQ(Reports().size(), 1u);
    EXPECT_NE(Reports()[0].find(u"ligne 3"), std::u16string::npos);
    Run("Sub Other\r\nEnd Sub\r\n", "NoSuchProcedure");
    EXPECT_EQ(Reports().size(), 2u);
    EXPECT_TRUE(window->BtnExecuter->isEnabled());
}

TEST_F(RealEngine, AScriptThatDoesNotCompileSwitchesScriptingOffAtStartUp) {
    WriteScriptFile("Scanner", "Sub Broken(\r\n    x = \r\nEnd Sub\r\n");
    auto& window = Start();
    ASSERT_EQ(ui.Messages().size(), 1u);
    const std::u16string& text = ui.Messages()[0].text;
    EXPECT_EQ(text.rfind(u"Le contrôle OLE \"ScriptControl\" n'a pas été correctement initialisé !\r"
                         u"Par conséquent, vous ne pouvez pas utiliser de script dans ZORV. (",
                         0),
              0u);
    EXPECT_EQ(text.back(), u')');
    EXPECT_FALSE(window.ScriptEnabled());
    EXPECT_FALSE(window.LbScript->isEnabled());
}

// Device events in the window's scripts: procedures connected through
// WScript receive them while the script sleeps, and the window's own
// handling of the same events still happens.
class WindowScriptEvents : public RealEngine {
protected:
    WindowScriptEvents() { zorv::app::DrivePostedCallsFromQt(); }
    ~WindowScriptEvents() override { zorv::app::StopDrivingPostedCalls(); }
    std::u16string FirstReport() { return Reports().empty() ? u"" : Reports()[0]; }
};

TEST_F(WindowScriptEvents, AScanReachesTheHandlerDuringSleepAndTheWindowStillReArms) {
    auto& window = Start();
    Run("Dim seen\r\n"
        "Sub Scanner_DataEvent(Status)\r\n"
        "    seen = Scanner.ScanData\r\n"
        "End Sub\r\n"
        "Sub Go\r\n"
        "    WScript.ConnectObject Scanner, \"Scanner_\"\r\n"
        "    Scanner.Open \"SimScanner\"\r\n"
        "    Scanner.Claim 1000\r\n"
        "    Scanner.DeviceEnabled = True\r\n"
        "    Scanner.DataEventEnabled = True\r\n"
        "    Scanner.DirectIO 1, 0, \"4006381333931\"\r\n"
        "    WScript.Sleep 50\r\n"
        "    If seen <> \"]E04006381333931\" Then Err.Raise 1000, , \"vu : \" & seen\r\n"
        "End Sub\r\n",
        "Go");
    EXPECT_TRUE(Reports().empty()) << QString::fromStdU16String(FirstReport()).toStdString();
    EXPECT_EQ(Shown(window, CommonField::DataEventEnabled), "True") << "the window's handler re-armed";
    window.BtnCloseClick();
}

TEST_F(WindowScriptEvents, AnErrorEventAnsweredWithRetryBringsTheInputBack) {
    Start();
    Run("Dim log\r\n"
        "Sub Lecteur_ErrorEvent(ResultCode, ResultCodeExtended, ErrorLocus, pErrorResponse)\r\n"
        "    log = log & \"erreur;\"\r\n"
        "    pErrorResponse = 11\r\n"
        "End Sub\r\n"
        "Sub Lecteur_DataEvent(Status)\r\n"
        "    log = log & Scanner.ScanData & \";\"\r\n"
        "End Sub\r\n"
        "Sub Go\r\n"
        "    WScript.ConnectObject Scanner, \"Lecteur_\"\r\n"
        "    Scanner.Open \"SimScanner\"\r\n"
        "    Scanner.Claim 1000\r\n"
        "    Scanner.DeviceEnabled = True\r\n"
        "    Scanner.DataEventEnabled = True\r\n"
        "    Scanner.DirectIO 2, 0, \"96385074\"\r\n"
        "    WScript.Sleep 50\r\n"
        "    If log <> \"erreur;]E496385074;\" Then Err.Raise 1000, , \"journal : \" & log\r\n"
        "    Scanner.Close\r\n"
        "End Sub\r\n",
        "Go");
    EXPECT_TRUE(Reports().empty()) << QString::fromStdU16String(FirstReport()).toStdString();
}

TEST_F(WindowScriptEvents, OutputCompleteCarriesTheOutputIdOfThePrint) {
    Start();
    Run("Dim done\r\n"
        "Sub Imprimante_OutputCompleteEvent(OutputID)\r\n"
        "    done = OutputID\r\n"
        "End Sub\r\n"
        "Sub Go\r\n"
        "    Dim p\r\n"
        "    Set p = WScript.CreateObject(\"OPOS.POSPrinter\", \"Imprimante_\")\r\n"
        "    p.Open \"SimPrinter\"\r\n"
        "    p.Claim 1000\r\n"
        "    p.DeviceEnabled = True\r\n"
        "    p.AsyncMode = True\r\n"
        "    p.PrintNormal 2, \"Ticket\" & vbLf\r\n"
        "    WScript.Sleep 50\r\n"
        "    If IsEmpty(done) Or done <> p.OutputID Then Err.Raise 1000, , \"terminé : \" & done\r\n"
        "    p.Close\r\n"
        "End Sub\r\n",
        "Go");
    EXPECT_TRUE(Reports().empty()) << QString::fromStdU16String(FirstReport()).toStdString();
}

TEST_F(WindowScriptEvents, AHandlerFailingAfterTheRunGoesToTheReport) {
    auto& window = Start();
    Run("Sub Scanner_DataEvent(Status)\r\n"
        "    Err.Raise 1000, , \"gestionnaire en panne\"\r\n"
        "End Sub\r\n"
        "Sub Go\r\n"
        "    WScript.ConnectObject Scanner, \"Scanner_\"\r\n"
        "    Scanner.Open \"SimScanner\"\r\n"
        "    Scanner.Claim 1000\r\n"
        "    Scanner.DeviceEnabled = True\r\n"
        "    Scanner.DataEventEnabled = True\r\n"
        "    Scanner.DirectIO 1, 0, \"4006381333931\"\r\n"
        "End Sub\r\n",
        "Go");
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
    ASSERT_EQ(Reports().size(), 1u);
    EXPECT_EQ(Reports()[0], u"gestionnaire en panne (ligne 2, colonne 9)");
    EXPECT_EQ(Shown(window, CommonField::DataEventEnabled), "True") << "the window handled the event too";
    window.BtnCloseClick();
}

TEST_F(WindowScriptEvents, AHandlerFailingDuringSleepStopsTheRunWithItsError) {
    auto& window = Start();
    ui.Clear();
    Run("Sub Scanner_DataEvent(Status)\r\n"
        "    Err.Raise 1000, , \"lecture refusée\"\r\n"
        "End Sub\r\n"
        "Sub Go\r\n"
        "    WScript.ConnectObject Scanner, \"Scanner_\"\r\n"
        "    Scanner.Open \"SimScanner\"\r\n"
        "    Scanner.Claim 1000\r\n"
        "    Scanner.DeviceEnabled = True\r\n"
        "    Scanner.DataEventEnabled = True\r\n"
        "    Scanner.DirectIO 1, 0, \"4006381333931\"\r\n"
        "    WScript.Sleep 30000\r\n"
        "    WScript.Echo \"suite\"\r\n"
        "End Sub\r\n",
        "Go");
    EXPECT_TRUE(ui.Messages().empty()) << "the statement after the sleep ran";
    ASSERT_EQ(Reports().size(), 1u);
    EXPECT_EQ(Reports()[0], u"lecture refusée (ligne 2, colonne 9)");
    EXPECT_TRUE(window.BtnExecuter->isEnabled());
    window.BtnCloseClick();
}

TEST_F(WindowScriptEvents, EchoShowsAMessageBox) {
    Start();
    ui.Clear();
    Run("Sub Go\r\n    WScript.Echo \"bonjour\", 2\r\nEnd Sub\r\n", "Go");
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].text, u"bonjour 2");
}
