// "Open", "Close" and the page change: what reaches the current kind's
// device, and when the pages are refreshed.
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include "app/app_fixture.h"
#include "app/modal_runner.h"
#include "app/window_probe.h"

using namespace zorv::testing;

namespace {

// The index of the first call of `member` in the log, or -1.
int IndexOf(const TestControlLog& log, std::u16string_view member, int from = 0) {
    for (int i = from; i < static_cast<int>(log.calls.size()); ++i)
        if (log.calls[i].member == member)
            return i;
    return -1;
}

} // namespace

using OpenClose = AppFixture;

TEST_F(OpenClose, OpenPassesTheNameAsTypedOrNothingOnCancelAndAlwaysRefreshes) {
    struct Case {
        const char* what;
        std::optional<std::u16string> answer;
        std::vector<std::u16string> opened;
    };
    const Case cases[] = {
        {"OK", u"SimScanner", {u"SimScanner"}},
        {"OK with untrimmed text", u" Sim ", {u" Sim "}},
        {"OK with an empty field", u"", {u""}},
        {"Annuler", std::nullopt, {}},
    };
    Install(kAllProgIds);
    auto& window = Start();
    auto& scanner = Device(u"OPOS.Scanner").Log();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        scanner.calls.clear();
        AnswerDialog(c.answer);
        window.BtnOpen->click();
        EXPECT_EQ(TextArgs(scanner, u"Open"), c.opened);
        const int open = IndexOf(scanner, u"Open");
        const int refresh = IndexOf(scanner, u"State", open < 0 ? 0 : open);
        EXPECT_GE(refresh, 0) << "the pages are refreshed";
        EXPECT_EQ(CountMember(scanner, u"State"), 1);
    }
    EXPECT_EQ(CountCalls(u"OPOS.POSPrinter", u"Open"), 0);
    EXPECT_TRUE(Reports().empty());
}

TEST_F(OpenClose, TheDialogOffersTheLastNameWhateverTheKind) {
    Install(kAllProgIds);
    auto& window = Start();
    std::vector<QString> offered;
    std::optional<QString> typed = QStringLiteral("SimScanner");
    zorv::app::SetModalRunner([&](QDialog&) {
        offered.push_back(dialog->EdtLDN->text());
        if (typed)
            dialog->EdtLDN->setText(*std::exchange(typed, std::nullopt));
        return static_cast<int>(QDialog::Accepted);
    });
    window.BtnOpen->click();
    Choose(window, QStringLiteral("Printer"));
    window.BtnOpen->click();
    EXPECT_EQ(offered, (std::vector<QString>{QString(), QStringLiteral("SimScanner")}));
    EXPECT_EQ(TextArgs(Device(u"OPOS.POSPrinter").Log(), u"Open"),
              std::vector<std::u16string>{u"SimScanner"});
    EXPECT_EQ(TextArgs(Device(u"OPOS.Scanner").Log(), u"Open"), std::vector<std::u16string>{u"SimScanner"});
}

TEST_F(OpenClose, CloseOnAClosedDeviceStillCallsCloseThenRefreshes) {
    Install(kAllProgIds);
    auto& window = Start();
    Choose(window, QStringLiteral("CashDrawer"));
    auto& drawer = Device(u"OPOS.CashDrawer").Log();
    drawer.calls.clear();
    window.BtnClose->click();
    const int close = IndexOf(drawer, u"Close");
    ASSERT_GE(close, 0);
    EXPECT_GT(IndexOf(drawer, u"State", close), close);
    EXPECT_EQ(CountCalls(u"OPOS.Scanner", u"Close"), 0);
    EXPECT_TRUE(Reports().empty());
}

TEST_F(OpenClose, AFailingCallGoesToTheReportAndThatClickDoesNotRefresh) {
    struct Case {
        std::u16string member;
        QPushButton* zorv::app::TFrmAppZORV::*button;
    };
    const Case cases[] = {{u"Open", &zorv::app::TFrmAppZORV::BtnOpen},
                          {u"Close", &zorv::app::TFrmAppZORV::BtnClose}};
    Install(kAllProgIds);
    auto& window = Start();
    AnswerDialog(u"SimScanner");
    auto& scanner = Device(u"OPOS.Scanner").Log();
    for (const Case& c : cases) {
        SCOPED_TRACE(QString::fromStdU16String(c.member).toStdString());
        scanner.behaviour.failingMembers = {{c.member, u"Périphérique indisponible."}};
        scanner.calls.clear();
        const auto before = Reports().size();
        (window.*c.button)->click();
        ASSERT_EQ(Reports().size(), before + 1);
        EXPECT_EQ(Reports().back(), u"Périphérique indisponible");
        EXPECT_EQ(CountMember(scanner, c.member), 1);
        EXPECT_EQ(CountMember(scanner, u"State"), 0);
    }
    scanner.behaviour.failingMembers.clear();
    window.BtnOpen->click();
    EXPECT_EQ(CountMember(scanner, u"State"), 1) << "the next click refreshes as usual";
}

TEST_F(OpenClose, OnlyThePropertyPagesRefreshOnAPageChange) {
    Install(kAllProgIds);
    auto& window = Start();
    auto& scanner = Device(u"OPOS.Scanner").Log();
    struct Step {
        int page;
        int reads; // State reads so far
    };
    const Step steps[] = {{2, 0}, {0, 1}, {1, 2}, {2, 2}, {1, 3}, {0, 4}};
    scanner.calls.clear();
    for (const Step& step : steps) {
        window.PgcOPOS->setCurrentIndex(step.page);
        EXPECT_EQ(CountMember(scanner, u"State"), step.reads) << "page " << step.page;
    }
}
