// The example procedures of every kind, run in the window by the real engine
// on the simulated devices: each opens its device, plays its input and shows
// what the device reports.
#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>

#include "app/app_fixture.h"
#include "app/posted_call_pump.h"
#include "app/window_probe.h"
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
