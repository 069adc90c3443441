// The window's and the dialog's texts, geometry, tab order and keys, and
// captions that the fallback font must not clip.
#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>

#include "app/app_fixture.h"
#include "app/window_probe.h"

using namespace zorv::testing;
using zorv::views::CommonField;

namespace {

void Press(QWidget* target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const QString text =
        key == Qt::Key_Return ? QStringLiteral("\r") : QKeySequence(key).toString().toLower();
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(target, &press);
}

// The widgets that Tab visits, in order, starting inside `form`.
std::vector<QWidget*> TabChain(QWidget* form) {
    std::vector<QWidget*> chain;
    for (QWidget* w = form->nextInFocusChain(); w != form; w = w->nextInFocusChain())
        if ((w->focusPolicy() & Qt::TabFocus) != 0)
            chain.push_back(w);
    return chain;
}

} // namespace

using WindowTexts = AppFixture;

TEST_F(WindowTexts, MenusPagesAndBottomBar) {
    Install(kAllProgIds);
    auto& window = Start();
    std::vector<QString> menus;
    for (QAction* entry : window.menuBar()->actions())
        menus.push_back(entry->text());
    EXPECT_EQ(menus,
              (std::vector<QString>{QStringLiteral("Périphériques OPOS"), QStringLiteral("A propos"),
                                    QStringLiteral("Journal des événements"), QStringLiteral("Simulateur"),
                                    QStringLiteral("Rechercher les périphériques")}));

    ASSERT_EQ(window.PgcOPOS->count(), 3);
    EXPECT_EQ(window.PgcOPOS->tabText(0), QStringLiteral("Propriétés communes"));
    EXPECT_EQ(window.PgcOPOS->tabText(1), QStringLiteral("Propriétés spécifiques"));
    EXPECT_EQ(window.PgcOPOS->tabText(2), QStringLiteral("Script"));
    EXPECT_EQ(window.BtnEnregistrer->text(), QStringLiteral("Enregistrer"));

    struct Placed {
        QWidget* widget;
        QString text;
        QRect bounds;
    };
    const Placed bottom[] = {
        {window.BtnOpen, QStringLiteral("Open"), QRect(8, 8, 75, 25)},
        {window.BtnClose, QStringLiteral("Close"), QRect(104, 8, 75, 25)},
        {window.BtnExecuter, QStringLiteral("Exécuter"), QRect(416, 8, 75, 25)},
    };
    for (const Placed& p : bottom) {
        EXPECT_EQ(static_cast<QPushButton*>(p.widget)->text(), p.text);
        EXPECT_EQ(p.widget->geometry(), p.bounds) << p.text.toStdString();
    }
    EXPECT_EQ(window.LbScript->text(), QStringLiteral("Script :"));
    EXPECT_EQ(window.LbScript->pos(), QPoint(204, 12));
    EXPECT_EQ(window.EdtFonction->text(), QStringLiteral("Open"));
    EXPECT_EQ(window.EdtFonction->geometry().topLeft(), QPoint(244, 8));
    EXPECT_EQ(window.EdtFonction->width(), 157);
    EXPECT_TRUE(window.BtnExecuter->isDefault());
    EXPECT_FALSE(window.BtnOpen->isDefault());
}

TEST_F(WindowTexts, AboutBoxHasTheTitleAndAnInformationIcon) {
    Install(kAllProgIds);
    auto& window = Start();
    window.MntAPropos->trigger();
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].caption, u"ZORV");
    EXPECT_EQ(ui.Messages()[0].icon, zorv::ui::Icon::Information);
    EXPECT_EQ(ui.Messages()[0].buttons, zorv::ui::Buttons::Ok);
    EXPECT_TRUE(Reports().empty());
    // Then the components found and what went wrong loading them.
    const QString text = QString::fromStdU16String(ui.Messages()[0].text);
    EXPECT_TRUE(
        text.startsWith(QStringLiteral("ZORV\rBanc de test de périphériques OPOS\rVersion 1.0.0.3\r")));
    EXPECT_TRUE(
        text.contains(QStringLiteral("zorv_opos.classes (libzorv_opos.so) : OPOS.Scanner, OPOS.POSPrinter")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("\rProblèmes"))) << text.toStdString();
}

TEST_F(WindowTexts, EnterRunsTheProcedureExceptInTheScriptText) {
    Install(kAllProgIds);
    auto& window = Start();
    window.show();
    Press(window.EdtFonction, Qt::Key_Return);
    EXPECT_EQ(TextArgs(scriptEngine->Log(), u"run"), std::vector<std::u16string>{u"Open"});

    window.PgcOPOS->setCurrentIndex(2);
    window.MmScript->setPlainText(QStringLiteral("a"));
    window.MmScript->moveCursor(QTextCursor::End);
    Press(window.MmScript, Qt::Key_Return);
    Press(window.MmScript, Qt::Key_B);
    Press(window.MmScript, Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(TextArgs(scriptEngine->Log(), u"run").size(), 1u);
    EXPECT_EQ(window.ScriptText(), QStringLiteral("a\r\nb\r\n")) << "Shift+Enter starts a line too";
    window.hide();
}

TEST_F(WindowTexts, LogicalNameDialogTextsGeometryAndTabOrder) {
    Install(kAllProgIds);
    Start();
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("ZORV"));
    EXPECT_EQ(dialog->Label1->text(), QStringLiteral("Nom logique de périphérique :"));
    EXPECT_EQ(dialog->Label1->pos(), QPoint(12, 12));
    EXPECT_EQ(dialog->EdtLDN->geometry().topLeft(), QPoint(12, 37));
    EXPECT_EQ(dialog->EdtLDN->width(), 145);
    EXPECT_TRUE(dialog->EdtLDN->text().isEmpty());
    EXPECT_EQ(dialog->BtnOK->text(), QStringLiteral("OK"));
    EXPECT_EQ(dialog->BtnOK->geometry(), QRect(79, 80, 75, 25));
    EXPECT_EQ(dialog->BtnAnnuler->text(), QStringLiteral("Annuler"));
    EXPECT_EQ(dialog->BtnAnnuler->geometry(), QRect(172, 80, 75, 25));
    EXPECT_TRUE(dialog->BtnOK->isDefault());
    EXPECT_FALSE(dialog->BtnAnnuler->isDefault());
    EXPECT_EQ(TabChain(dialog.get()),
              (std::vector<QWidget*>{dialog->EdtLDN, dialog->BtnOK, dialog->BtnAnnuler}));
    EXPECT_LE(dialog->Label1->geometry().right(), dialog->width()) << "the label fits in the dialog";
}

TEST_F(WindowTexts, EscapeDoesNotCancelTheDialogButEnterAccepts) {
    Install(kAllProgIds);
    Start();
    dialog->open();
    dialog->EdtLDN->setFocus();
    Press(dialog->EdtLDN, Qt::Key_Escape);
    Press(dialog.get(), Qt::Key_Escape);
    EXPECT_TRUE(dialog->isVisible());
    Press(dialog->EdtLDN, Qt::Key_Return);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);

    dialog->open();
    dialog->close();
    EXPECT_EQ(dialog->result(), QDialog::Rejected) << "closing the window cancels";
}

TEST_F(WindowTexts, NoCaptionIsClippedWithTheFallbackFont) {
    Install(kAllProgIds);
    auto& window = Start();
    for (int f = 0; f < static_cast<int>(zorv::app::TCommonPropertiesPage::kFieldCount); ++f) {
        const QLabel* caption = window.TabSheet1->Caption(static_cast<CommonField>(f));
        const QFontMetrics metrics(caption->font());
        SCOPED_TRACE(caption->text().toStdString());
        EXPECT_TRUE(caption->font().bold());
        EXPECT_EQ(caption->font().pointSize(), 8);
        EXPECT_GE(caption->width(), metrics.horizontalAdvance(caption->text()));
        EXPECT_LE(caption->width(), metrics.horizontalAdvance(caption->text()) + 4)
            << "sized in its own font";
        EXPECT_LT(caption->geometry().right(), 172) << "ends before the value column";
    }
    const QFontMetrics metrics(window.LbScript->font());
    EXPECT_LT(window.LbScript->x() + metrics.horizontalAdvance(window.LbScript->text()), 244);
}
