// The script host in the window: what a fresh engine receives, how a failed
// preparation switches scripting off, and what "Exécuter" runs and reports.
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/app_fixture.h"
#include "app/window_probe.h"
#include "outside/error_report.h"
#include "platform/com/class_table.h"

using namespace zorv::testing;

namespace {

const std::u16string kPreambleOfAllSeven = u"Dim reg\r\n"
                                           u"Set reg = CreateObject(\"Morvel.Registry\")\r\n"
                                           u"Dim Scanner\r\n"
                                           u"Set Scanner = reg.GetObject(\"OPOS Scanner\")\r\n"
                                           u"Dim Printer\r\n"
                                           u"Set Printer = reg.GetObject(\"OPOS Printer\")\r\n"
                                           u"Dim LineDisplay\r\n"
                                           u"Set LineDisplay = reg.GetObject(\"OPOS LineDisplay\")\r\n"
                                           u"Dim Keylock\r\n"
                                           u"Set Keylock = reg.GetObject(\"OPOS Keylock\")\r\n"
                                           u"Dim MSR\r\n"
                                           u"Set MSR = reg.GetObject(\"OPOS MSR\")\r\n"
                                           u"Dim POSKeyboard\r\n"
                                           u"Set POSKeyboard = reg.GetObject(\"OPOS POSKeyboard\")\r\n"
                                           u"Dim CashDrawer\r\n"
                                           u"Set CashDrawer = reg.GetObject(\"OPOS CashDrawer\")\r\n";

const std::u16string kPreambleOfTheCashDrawer = u"Dim reg\r\n"
                                                u"Set reg = CreateObject(\"Morvel.Registry\")\r\n"
                                                u"Dim CashDrawer\r\n"
                                                u"Set CashDrawer = reg.GetObject(\"OPOS CashDrawer\")\r\n";

const std::u16string kWarningStart =
    u"Le contrôle OLE \"ScriptControl\" n'a pas été correctement initialisé !\r"
    u"Par conséquent, vous ne pouvez pas utiliser de script dans ZORV. (";

} // namespace

class ScriptHost : public AppFixture {
protected:
    TestControlLog& Engine() { return scriptEngine->Log(); }
    int Engines() { return Engine().created; }
    int Refreshes() { return CountCalls(u"OPOS.Scanner", u"State"); }
    void ExpectScriptingOff(zorv::app::TFrmAppZORV& window) {
        EXPECT_FALSE(window.ScriptEnabled());
        EXPECT_FALSE(window.LbScript->isEnabled());
        EXPECT_FALSE(window.EdtFonction->isEnabled());
        EXPECT_TRUE(window.MmScript->isEnabled());
        EXPECT_TRUE(window.BtnEnregistrer->isEnabled());
    }
};

TEST_F(ScriptHost, AFreshEngineGetsTheLanguageThePreambleOfThePresentKindsThenTheText) {
    struct Case {
        const char* what;
        std::vector<std::u16string> installed;
        std::u16string preamble;
    };
    const Case cases[] = {
        {"all seven", kAllProgIds, kPreambleOfAllSeven},
        {"the cash drawer alone", {u"OPOS.CashDrawer"}, kPreambleOfTheCashDrawer},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        window.reset();
        Engine().calls.clear();
        std::vector<std::unique_ptr<TestControlRegistration>> installed;
        for (const auto& progId : kAllProgIds) {
            if (std::find(c.installed.begin(), c.installed.end(), progId) != c.installed.end())
                installed.push_back(std::make_unique<TestControlRegistration>(progId));
            else
                Uninstall(progId);
        }
        ui.Clear();
        Start();
        ASSERT_EQ(Engine().calls.size(), 4u);
        const RecordedCall& language = Engine().calls[0];
        EXPECT_EQ(language.member, u"language");
        EXPECT_NE(language.flags & DISPATCH_PROPERTYPUT, 0);
        EXPECT_EQ(zorv::outside::ToText(language.args.at(0)), u"VBScript");
        EXPECT_EQ(Engine().calls[1].member, u"AddObject") << "WScript, before any code";
        EXPECT_EQ(zorv::outside::ToText(Engine().calls[1].args.at(0)), u"WScript");
        EXPECT_EQ(TextArgs(Engine(), u"addcode"), (std::vector<std::u16string>{c.preamble, u""}))
            << "no script file: the text is empty but still added";
        EXPECT_TRUE(window->ScriptEnabled());
        window.reset();
        for (const auto& progId : kAllProgIds)
            zorv::com::SetProgIDHidden(progId, false);
    }
}

TEST_F(ScriptHost, EachSelectionPreparesAFreshEngine) {
    Install(kAllProgIds);
    auto& window = Start();
    EXPECT_EQ(Engines(), 1);
    Choose(window, QStringLiteral("MSR"));
    Choose(window, QStringLiteral("MSR"));
    EXPECT_EQ(Engines(), 3);
    EXPECT_EQ(Engine().alive, 1) << "the previous engine is released";
    EXPECT_EQ(TextArgs(Engine(), u"addcode").size(), 6u);
}

TEST_F(ScriptHost, AFailedPreparationAtStartUpSwitchesScriptingOffForGood) {
    Install(kAllProgIds);
    Engine().behaviour.failingMembers[u"addcode"] = u"Erreur de syntaxe.";
    auto& window = Start();

    ASSERT_EQ(ui.Messages().size(), 1u);
    const zorv::ui::Message& warning = ui.Messages()[0];
    EXPECT_EQ(warning.text, kWarningStart + u"Erreur de syntaxe)");
    EXPECT_EQ(warning.caption, u"ZORV");
    EXPECT_EQ(warning.icon, zorv::ui::Icon::Warning);
    EXPECT_EQ(warning.buttons, zorv::ui::Buttons::Ok);
    ExpectScriptingOff(window);
    EXPECT_FALSE(window.BtnExecuter->isEnabled());
    EXPECT_TRUE(Reports().empty());
    EXPECT_EQ(Refreshes(), 1) << "start-up goes on to the refresh";

    // Nothing prepares again; the greyed button cannot be pressed, not even by Enter.
    Choose(window, QStringLiteral("Scanner"));
    EXPECT_EQ(Engines(), 1);
    window.BtnExecuter->click();
    EXPECT_TRUE(TextArgs(Engine(), u"run").empty());

    // Should the handler run all the same, it runs on the engine left behind.
    Engine().behaviour.failingMembers = {{u"run", u"Procédure inconnue"}};
    const int refreshes = Refreshes();
    zorv::outside::Guarded([&] { window.BtnExecuterClick(); });
    EXPECT_EQ(Engines(), 1);
    EXPECT_EQ(TextArgs(Engine(), u"run"), std::vector<std::u16string>{u"Open"});
    EXPECT_EQ(TextArgs(Engine(), u"addcode").size(), 1u) << "no new preparation";
    EXPECT_EQ(Reports(), std::vector<std::u16string>{u"Procédure inconnue"});
    EXPECT_EQ(Refreshes(), refreshes) << "no refresh after a failed run";
    EXPECT_TRUE(window.BtnExecuter->isEnabled()) << "the button comes back";
    ExpectScriptingOff(window);
    EXPECT_EQ(ui.Messages().size(), 1u) << "the warning is not repeated";

    window.BtnExecuter->click();
    EXPECT_EQ(TextArgs(Engine(), u"run").size(), 2u);
    EXPECT_EQ(Engines(), 1);
}

TEST_F(ScriptHost, AFailedPreparationFromExecuterStillRunsAndGivesTheButtonBack) {
    Install(kAllProgIds);
    auto& window = Start();
    ASSERT_TRUE(window.ScriptEnabled());
    Engine().behaviour.failWhen = [](const RecordedCall& call) -> std::optional<std::u16string> {
        if (call.member == u"language")
            return u"Langage inconnu";
        return std::nullopt;
    };
    window.BtnExecuter->click();
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].text, kWarningStart + u"Langage inconnu)");
    EXPECT_EQ(Engines(), 2);
    EXPECT_EQ(TextArgs(Engine(), u"run").size(), 1u) << "run is still attempted on the new engine";
    EXPECT_TRUE(window.BtnExecuter->isEnabled());
    ExpectScriptingOff(window);

    window.BtnExecuter->click();
    EXPECT_EQ(Engines(), 2);
    EXPECT_EQ(TextArgs(Engine(), u"run").size(), 2u);
    EXPECT_EQ(ui.Messages().size(), 1u);
}

TEST_F(ScriptHost, WhenNoEngineCanBeMadeTheRunItselfFailsToTheReport) {
    Install(kAllProgIds);
    auto& window = Start();
    Uninstall(u"ScriptControl");
    window.BtnExecuter->click();
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].text, kWarningStart + u"Chaîne de classe non valide)");
    EXPECT_EQ(window.ScriptControl(), nullptr);
    ASSERT_EQ(Reports().size(), 1u) << "run on no engine";
    EXPECT_TRUE(window.BtnExecuter->isEnabled());
}

TEST_F(ScriptHost, ExecuterRunsTheFieldAsTypedOnTheUnsavedTextThenRefreshes) {
    Install(kAllProgIds);
    auto& window = Start();
    window.MmScript->setPlainText(QStringLiteral("Sub  Ouvrir \n  Scanner.Open \"SimScanner\"\nEnd Sub\n"));
    struct Case {
        QString typed;
    };
    const Case cases[] = {{QStringLiteral("Ouvrir")}, {QStringLiteral(" Ouvrir  ")}, {QString()}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        Engine().calls.clear();
        window.EdtFonction->setText(c.typed);
        bool disabledDuringRun = false;
        Engine().behaviour.duringCall = [&](TestControl&, const RecordedCall& call) {
            if (call.member == u"run")
                disabledDuringRun = !window.BtnExecuter->isEnabled();
        };
        const int refreshes = Refreshes();
        window.BtnExecuter->click();
        Engine().behaviour.duringCall = nullptr;
        EXPECT_EQ(TextArgs(Engine(), u"run"), std::vector<std::u16string>{c.typed.toStdU16String()});
        const auto added = TextArgs(Engine(), u"addcode");
        ASSERT_EQ(added.size(), 2u) << "a fresh preparation before the run";
        EXPECT_EQ(added[0], kPreambleOfAllSeven);
        EXPECT_EQ(added[1], u"Sub  Ouvrir \r\n  Scanner.Open \"SimScanner\"\r\nEnd Sub\r\n");
        EXPECT_TRUE(disabledDuringRun);
        EXPECT_TRUE(window.BtnExecuter->isEnabled());
        EXPECT_EQ(Refreshes(), refreshes + 1);
    }
    EXPECT_EQ(window.EdtFonction->text(), QString()) << "the field keeps what was typed";
    EXPECT_TRUE(Reports().empty());
}

TEST_F(ScriptHost, ARunThatFailsGoesToTheReportWithoutARefresh) {
    Install(kAllProgIds);
    auto& window = Start();
    Engine().behaviour.failingMembers = {{u"run", u"Objet requis : 'Scanner'"}};
    const int refreshes = Refreshes();
    window.BtnExecuter->click();
    EXPECT_EQ(Reports(), std::vector<std::u16string>{u"Objet requis : 'Scanner'"});
    EXPECT_EQ(Refreshes(), refreshes);
    EXPECT_TRUE(window.BtnExecuter->isEnabled());
    EXPECT_TRUE(window.ScriptEnabled()) << "a failed run is no failed preparation";
    EXPECT_TRUE(ui.Messages().empty());
}
