// The example procedures of every kind, run in the window by the real engine
// on the simulated devices: each opens its device, plays its input and shows
// what the device reports.
#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/app_fixture.h"
#include "app/posted_call_pump.h"
#include "app/simulator_panel.h"
#include "app/window_probe.h"
#include "platform/ui/qt_user_interface.h"
#include "script/script_files.h"

using namespace zorv::testing;

namespace {

QString ExampleText(const QString& kind) {
    QFile file(QStringLiteral(ZORV_EXAMPLES_DIR "/") + kind + QStringLiteral(".vbs"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString text = QString::fromUtf8(file.readAll());
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

struct ExampleCase {
    const char* kind;
    std::vector<const char*> procedures;
    // What the last message box shows, in part.
    std::vector<const char*> shown;
};

} // namespace

class Examples : public AppFixture {
protected:
    Examples() {
        scriptEngine.reset();
        zorv::app::DrivePostedCallsFromQt();
    }
    ~Examples() override { zorv::app::StopDrivingPostedCalls(); }
};

TEST_F(Examples, EveryKindsExamplesRunOnItsSimulatedDevice) {
    const ExampleCase cases[] = {
        {"Scanner", {"Ouvrir", "SimulerLecture", "MontrerLecture", "Fermer"}, {"4006381333931", "]E0"}},
        {"Printer", {"Ouvrir", "ImprimerTicket", "RelireTicket", "Fermer"}, {"MAGASIN ZORV", "Croissant"}},
        {"LineDisplay", {"Ouvrir", "Afficher", "RelireAfficheur", "Fermer"}, {"Bonjour !", "12,50 EUR"}},
        {"Keylock", {"Ouvrir", "SimulerSuperviseur", "ReagirPosition", "Fermer"}, {"superviseur"}},
        {"MSR", {"Ouvrir", "PasserCarte", "MontrerCarte", "Fermer"}, {"4111111111111111", "DUPONT", "12/29"}},
        {"POSKeyboard", {"Ouvrir", "SimulerTouche", "AttendreTouche", "Fermer"}, {"65"}},
        {"CashDrawer", {"Ouvrir", "OuvrirEtAttendre", "Fermer"}, {"WaitForDrawerClose : 0"}},
    };
    auto& window = Start();
    for (const ExampleCase& c : cases) {
        SCOPED_TRACE(c.kind);
        const QString text = ExampleText(QString::fromLatin1(c.kind));
        ASSERT_FALSE(text.isEmpty());
        Choose(window, QString::fromLatin1(c.kind));
        window.SetScriptText(text);
        window.InitScriptControl();
        for (const char* procedure : c.procedures) {
            window.EdtFonction->setText(QString::fromLatin1(procedure));
            window.BtnExecuterClick();
            for (int i = 0; i < 5; ++i)
                QCoreApplication::processEvents();
        }
        ASSERT_FALSE(ui.Messages().empty());
        const QString last = QString::fromStdU16String(ui.Messages().back().text);
        for (const char* part : c.shown)
            EXPECT_TRUE(last.contains(QString::fromUtf8(part))) << last.toStdString();
        EXPECT_TRUE(Reports().empty()) << QString::fromStdU16String(Reports().front()).toStdString();
    }
}

// The examples that wait in a message box for the tester to use the simulator.
class WaitingExamples : public Examples {
protected:
    void Prepare(const QString& kind) {
        auto& main = Start();
        main.show();
        Choose(main, kind);
        main.SetScriptText(ExampleText(kind));
        main.InitScriptControl();
        Run(QStringLiteral("Ouvrir"));
        main.MntSimulateur->trigger();
    }
    void Run(const QString& procedure) {
        window->EdtFonction->setText(procedure);
        window->BtnExecuterClick();
        QCoreApplication::processEvents();
    }
    QPushButton* PanelButton(const char* name) {
        return window->SimulatorPanel()->Button(QString::fromLatin1(name));
    }
};

TEST_F(WaitingExamples, TheSimulatorAnswersWhileAScriptWaitsInAMessageBox) {
    Prepare(QStringLiteral("Scanner"));
    ui.Clear();
    bool pressed = false;
    ui.WhileShowing([&] {
        if (pressed)
            return;
        pressed = true;
        ASSERT_TRUE(PanelButton("BtnGoodScan")->isEnabled())
            << window->SimulatorPanel()->LbEtat->text().toStdString();
        PanelButton("BtnGoodScan")->click();
        // A real box runs the event loop meanwhile: the scan arrives before it closes.
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
    });
    Run(QStringLiteral("AttendreLecture"));
    ASSERT_EQ(ui.Messages().size(), 2u);
    EXPECT_TRUE(QString::fromStdU16String(ui.Messages()[1].text).contains(QStringLiteral("4006381333931")))
        << QString::fromStdU16String(ui.Messages()[1].text).toStdString();
    EXPECT_TRUE(Reports().empty());
}

// With the program's own boxes: a click on the panel, through the window
// system as a tester's click comes, reaches it while the box is up.
TEST_F(WaitingExamples, TheProgramsBoxesLeaveTheSimulatorUsable) {
    Prepare(QStringLiteral("CashDrawer"));
    zorv::ui::QtUserInterface boxes;
    zorv::ui::SetUserInterface(&boxes);
    QStringList shown;
    bool clicked = false;
    bool executerEnabled = false;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr)
            return;
        if (!clicked) {
            clicked = true;
            executerEnabled = window->BtnExecuter->isEnabled();
            QPushButton* close = PanelButton("BtnDrawerClose");
            QWidget* panel = close->window();
            QTest::mouseClick(panel->windowHandle(), Qt::LeftButton, {},
                              close->mapTo(panel, close->rect().center()));
        }
        shown << box->text();
        box->accept();
    });
    answer.start(20);
    Run(QStringLiteral("OuvrirTiroir"));
    answer.stop();
    zorv::ui::SetUserInterface(&ui);
    ASSERT_EQ(shown.size(), 2) << shown.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(shown[1], QStringLiteral("Tiroir refermé.")) << "the click on the panel was lost";
    EXPECT_FALSE(executerEnabled) << "the script could be run again from inside its own box";
    EXPECT_TRUE(window->BtnExecuter->isEnabled());
}
