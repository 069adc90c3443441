// Start-up: the registry, the seven kinds in kind order, the menu, the first selection.
#include <QAction>
#include <QMenu>
#include <QTabWidget>

#include <algorithm>

#include "app/app_fixture.h"
#include "app/program.h"
#include "app/window_probe.h"
#include "platform/com/class_table.h"
#include "platform/com/text.h"

using namespace zorv::testing;

using Startup = AppFixture;

TEST_F(Startup, WithAllSevenKindsTheScannerIsCurrentAndTheFirstPageShown) {
    Install(kAllProgIds);
    auto& window = Start();
    EXPECT_EQ(MenuCaptions(window), (std::vector<QString>{"Scanner", "Printer", "LineDisplay", "Keylock",
                                                          "MSR", "POSKeyboard", "CashDrawer"}));
    EXPECT_EQ(window.CurrentDevice(), u"Scanner");
    EXPECT_EQ(window.windowTitle(), QStringLiteral("ZORV - [Scanner]"));
    EXPECT_EQ(window.PgcOPOS->currentIndex(), 0);
    EXPECT_FALSE(window.PgcOPOS->isHidden());
    EXPECT_FALSE(window.TerminateRequested());
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_TRUE(Reports().empty());
    EXPECT_GT(CountCalls(u"OPOS.Scanner", u"State"), 0) << "the first selection refreshes";
    EXPECT_EQ(CountCalls(u"OPOS.POSPrinter", u"State"), 0);
}

TEST_F(Startup, WithOnlyTheCashDrawerSixWarningsAndOneItem) {
    Install({u"OPOS.CashDrawer"});
    for (const auto& progId : kAllProgIds)
        if (progId != u"OPOS.CashDrawer")
            Uninstall(progId);
    auto& window = Start();
    ASSERT_EQ(ui.Messages().size(), 6u);
    EXPECT_EQ(ui.Messages()[0].text, u"OPOS.Scanner : Chaîne de classe non valide");
    EXPECT_EQ(ui.Messages()[1].text, u"OPOS.POSPrinter : Chaîne de classe non valide");
    EXPECT_EQ(MenuCaptions(window), std::vector<QString>{"CashDrawer"});
    EXPECT_EQ(window.CurrentDevice(), u"CashDrawer");
}

TEST_F(Startup, WithNoKindAtAllTheProgramSaysWhereItLookedAndEndsWithAFailureStatus) {
    for (const auto& progId : kAllProgIds)
        Uninstall(progId);
    EXPECT_EQ(zorv::app::RunProgram(), 1) << "no window was shown, which is a failure";
    ASSERT_EQ(ui.Messages().size(), 8u) << "one warning per kind, then why the program ends";
    const auto& last = ui.Messages().back();
    EXPECT_EQ(last.icon, zorv::ui::Icon::Error);
    const QString text = QString::fromStdU16String(last.text);
    EXPECT_TRUE(text.startsWith(QStringLiteral("Aucun type de périphérique n'a pu être chargé")))
        << text.toStdString();
    for (const auto& progId : kAllProgIds)
        EXPECT_TRUE(text.contains(QString::fromStdU16String(progId))) << text.toStdString();
    EXPECT_TRUE(text.contains(QString::fromStdString(zorv::com::DefaultComponentFolder())))
        << text.toStdString();
    EXPECT_TRUE(Reports().empty());
}

TEST_F(Startup, WithoutTheRegistryOneReportAnEmptyMenuAndNoPages) {
    Install(kAllProgIds);
    Uninstall(u"Morvel.Registry");
    auto& window = Start();
    EXPECT_EQ(Reports(), std::vector<std::u16string>{u"Chaîne de classe non valide"});
    EXPECT_TRUE(window.MnPeriph->actions().isEmpty());
    EXPECT_TRUE(window.PgcOPOS->isHidden());
    EXPECT_FALSE(window.ScriptEnabled());
    EXPECT_FALSE(window.TerminateRequested());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("ZORV"));
}

namespace {

// A registry of the test's own, recording what the window publishes.
struct RecordingRegistry {
    RecordingRegistry() : registration(u"Morvel.Registry") {}
    std::vector<std::u16string> Names() {
        std::vector<std::u16string> names;
        for (const RecordedCall& call : registration.Log().calls)
            if (call.member == u"AddObject")
                names.push_back(zorv::outside::ToText(call.args.at(0)));
        return names;
    }
    TestControlRegistration registration;
};

} // namespace

TEST_F(Startup, RegistryThatRefusesTheKeylockShowsOneBoxAndKeepsTheKind) {
    Install(kAllProgIds);
    RecordingRegistry registry;
    registry.registration.Log().behaviour.failWhen =
        [](const RecordedCall& call) -> std::optional<std::u16string> {
        if (call.member == u"AddObject" && zorv::outside::ToText(call.args.at(0)) == u"OPOS Keylock")
            return u"Accès refusé.";
        return std::nullopt;
    };
    auto& window = Start();
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].text, u"OPOS Keylock : Accès refusé");
    EXPECT_EQ(ui.Messages()[0].caption, u"ZORV");
    EXPECT_EQ(ui.Messages()[0].icon, zorv::ui::Icon::Error);
    EXPECT_EQ(ui.Messages()[0].buttons, zorv::ui::Buttons::Ok);
    EXPECT_TRUE(Reports().empty());
    EXPECT_EQ(MenuCaptions(window).size(), 7u);
    EXPECT_EQ(MenuCaptions(window).at(3), QStringLiteral("Keylock"));
    EXPECT_NE(window.Control(zorv::devices::DeviceKindId::Keylock), nullptr);
    EXPECT_EQ(registry.Names().size(), 7u) << "the later kinds are still published";
}

TEST_F(Startup, PublishesEachPresentKindOnceInKindOrderBeforeTheFirstEngine) {
    struct Case {
        std::vector<std::u16string> installed;
        std::vector<std::u16string> names;
    };
    const Case cases[] = {
        {kAllProgIds,
         {u"OPOS Scanner", u"OPOS Printer", u"OPOS LineDisplay", u"OPOS Keylock", u"OPOS MSR",
          u"OPOS POSKeyboard", u"OPOS CashDrawer"}},
        {{u"OPOS.POSPrinter", u"OPOS.MSR", u"OPOS.CashDrawer"},
         {u"OPOS Printer", u"OPOS MSR", u"OPOS CashDrawer"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.names.size());
        window.reset();
        RecordingRegistry registry;
        std::vector<std::unique_ptr<TestControlRegistration>> installed;
        for (const auto& progId : kAllProgIds) {
            if (std::find(c.installed.begin(), c.installed.end(), progId) != c.installed.end())
                installed.push_back(std::make_unique<TestControlRegistration>(progId));
            else
                Uninstall(progId);
        }
        std::optional<std::size_t> publishedBeforeEngine;
        scriptEngine->Log().calls.clear();
        scriptEngine->Log().behaviour.duringCall = [&](TestControl&, const RecordedCall&) {
            if (!publishedBeforeEngine)
                publishedBeforeEngine = registry.Names().size();
        };
        auto& started = Start();
        EXPECT_EQ(registry.Names(), c.names);
        EXPECT_EQ(publishedBeforeEngine, c.names.size());
        std::size_t call = 0;
        for (const zorv::devices::DeviceKind& kind : zorv::devices::DeviceKinds()) {
            zorv::devices::TZORVDeviceControl* control = started.Control(kind.id);
            if (control == nullptr)
                continue;
            const RecordedCall& published = registry.registration.Log().calls.at(call++);
            EXPECT_TRUE(published.firstArgByRef);
            ASSERT_EQ(published.args.at(1).vt, VT_DISPATCH);
            EXPECT_EQ(published.args.at(1).pdispVal, control->DeviceObject().Get()) << "the matching object";
        }
        window.reset();
        scriptEngine->Log().behaviour.duringCall = nullptr;
        for (const auto& progId : kAllProgIds)
            zorv::com::SetProgIDHidden(progId, false);
    }
}
