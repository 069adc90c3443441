// What a first-time user meets: Enter and focus in the name dialog, Qt's
// buttons in French, message boxes as wide as their caption, the window's
// font and tooltips on the specific page, widening its value columns, and
// the replaced script text brought back with Ctrl+Z.
#include <QApplication>
#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QTranslator>
#include <QTreeWidget>

#include "app/app_fixture.h"
#include "app/application_setup.h"
#include "app/kind_properties_page.h"
#include "app/window_font.h"
#include "app/window_probe.h"
#include "platform/ui/qt_user_interface.h"

using namespace zorv::testing;
using zorv::com::Variant;

namespace {

void PressKey(QWidget* target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
              const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(target, &release);
}

// Qt's French texts and the window's font, for one test.
struct FrenchApplication {
    FrenchApplication() : font(QApplication::font()) { loaded = zorv::app::SetUpApplication(*qApp); }
    ~FrenchApplication() {
        for (QTranslator* translator : qApp->findChildren<QTranslator*>()) {
            QApplication::removeTranslator(translator);
            delete translator;
        }
        QApplication::setFont(font);
    }
    QFont font;
    bool loaded = false;
};

// Shows a message box through the Qt seam and looks at it before answering.
template <class Look> void ShowAndLook(const zorv::ui::Message& message, Look look) {
    QTimer::singleShot(0, [look] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        look(*box);
        box->buttons().first()->click();
    });
    zorv::ui::QtUserInterface().ShowMessage(message);
}

} // namespace

using RoughEdges = AppFixture;

TEST_F(RoughEdges, EnterInTheNameDialogPressesTheFocusedButtonAndOkOtherwise) {
    Install(kAllProgIds);
    Start();
    struct Case {
        const char* what;
        QWidget* focused;
        int result;
    };
    const Case cases[] = {
        {"the name field", dialog->EdtLDN, QDialog::Accepted},
        {"Annuler", dialog->BtnAnnuler, QDialog::Rejected},
        {"OK", dialog->BtnOK, QDialog::Accepted},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        dialog->show();
        dialog->setResult(-1);
        c.focused->setFocus();
        ASSERT_EQ(dialog->focusWidget(), c.focused);
        PressKey(c.focused, Qt::Key_Return);
        EXPECT_EQ(dialog->result(), c.result);
        EXPECT_FALSE(dialog->isVisible());
        // The keypad's Enter likewise.
        dialog->show();
        dialog->setResult(-1);
        c.focused->setFocus();
        PressKey(c.focused, Qt::Key_Enter, Qt::KeypadModifier);
        EXPECT_EQ(dialog->result(), c.result);
    }
}

TEST_F(RoughEdges, EachShowingOfTheDialogStartsInTheNameWithItSelected) {
    Install(kAllProgIds);
    Start();
    dialog->EdtLDN->setText(QStringLiteral("SimScanner"));
    for (int showing = 0; showing < 2; ++showing) {
        dialog->show();
        EXPECT_EQ(dialog->focusWidget(), dialog->EdtLDN);
        EXPECT_EQ(dialog->EdtLDN->selectedText(), QStringLiteral("SimScanner"));
        dialog->BtnAnnuler->setFocus();
        dialog->EdtLDN->deselect();
        dialog->hide();
    }
    dialog->show();
    PressKey(dialog->EdtLDN, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    EXPECT_EQ(dialog->EdtLDN->text(), QStringLiteral("x")) << "typing replaces the last name";
    dialog->hide();
}

TEST_F(RoughEdges, QtsOwnButtonsReadInFrenchAndTheBoxFitsItsCaption) {
    FrenchApplication french;
    ASSERT_TRUE(french.loaded) << "Qt's French translations are installed";
    zorv::ui::Message message;
    message.caption = u"VBScript : une légende bien plus longue que le texte";
    message.text = u"Court";
    message.buttons = zorv::ui::Buttons::YesNoCancel;
    QStringList texts;
    int width = 0;
    QFont font;
    ShowAndLook(message, [&](QMessageBox& box) {
        for (QAbstractButton* button : box.buttons())
            texts << button->text().remove(QLatin1Char('&'));
        width = box.width();
        font = box.font();
    });
    texts.sort();
    EXPECT_EQ(texts, (QStringList{"Annuler", "Non", "Oui"}));
    EXPECT_GT(width, QFontMetrics(font).horizontalAdvance(QString::fromStdU16String(message.caption)));
    EXPECT_EQ(font.pointSize(), zorv::app::WindowFont().pointSize()) << "the window's font";
}

TEST_F(RoughEdges, TheSpecificPageUsesTheWindowsFontShowsTooltipsAndLetsColumnsWiden) {
    Install(kAllProgIds);
    Device(u"OPOS.MSR").Log().properties[u"Track1DiscretionaryData"] =
        Variant(u"a rather long discretionary data field that cannot fit");
    auto& window = Start();
    Choose(window, QStringLiteral("MSR"));
    QTreeWidget* values = window.TabSheet2->LvProp;
    QListWidget* checks = window.TabSheet2->ClProp;
    for (QWidget* list : {static_cast<QWidget*>(values), static_cast<QWidget*>(checks)}) {
        EXPECT_EQ(list->font().pointSize(), zorv::app::WindowFont().pointSize());
        EXPECT_EQ(list->font().family(), window.font().family());
    }
    ASSERT_GT(values->topLevelItemCount(), 0);
    for (int i = 0; i < values->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* row = values->topLevelItem(i);
        EXPECT_EQ(row->toolTip(0), row->text(0));
        EXPECT_EQ(row->toolTip(1), row->text(1));
    }
    ASSERT_GT(checks->count(), 0);
    EXPECT_EQ(checks->item(0)->toolTip(), checks->item(0)->text());

    // Dragging the first column's right edge widens it.
    window.show();
    QWidget* viewport = values->viewport();
    const int edge = values->columnWidth(0);
    const QPointF from(edge, 5), to(edge + 60, 5);
    QMouseEvent press(QEvent::MouseButtonPress, from, viewport->mapToGlobal(from), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QMouseEvent move(QEvent::MouseMove, to, viewport->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, to, viewport->mapToGlobal(to), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &press);
    QApplication::sendEvent(viewport, &move);
    QApplication::sendEvent(viewport, &release);
    EXPECT_EQ(values->columnWidth(0), edge + 60);
    EXPECT_TRUE(values->isHeaderHidden()) << "still no column headers";
}

TEST_F(RoughEdges, CtrlZBringsBackTheScriptTextThatAKindSelectionReplaced) {
    Install(kAllProgIds);
    auto& window = Start();
    window.SetScriptText(QStringLiteral("Sub Typed()\r\nEnd Sub"));
    Choose(window, QStringLiteral("Printer"));
    EXPECT_EQ(window.ScriptText(), QString()) << "replaced without a question";
    window.MmScript->setFocus();
    PressKey(window.MmScript, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(window.ScriptText(), QStringLiteral("Sub Typed()\r\nEnd Sub"));
}
