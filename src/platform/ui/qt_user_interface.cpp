#include "platform/ui/qt_user_interface.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <QSpacerItem>

namespace zorv::ui {
namespace {

QString ToQString(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

// A lone carriage return is a line break to the reader.
QString DisplayText(std::u16string_view text) {
    QString shown = ToQString(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

QMessageBox::Icon ToQtIcon(Icon icon) {
    switch (icon) {
    case Icon::Information:
        return QMessageBox::Information;
    case Icon::Warning:
        return QMessageBox::Warning;
    case Icon::Error:
        return QMessageBox::Critical;
    case Icon::Question:
        return QMessageBox::Question;
    case Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// Room a title bar takes beside its caption: icon, buttons, margins.
constexpr int kTitleBarRoom = 140;

// A box grows until its caption fits its title bar, which the window
// manager would otherwise cut short; title fonts run larger and bolder.
void FitCaption(QMessageBox& box) {
    QFont title = box.font();
    title.setBold(true);
    title.setPointSizeF(title.pointSizeF() * 1.25);
    const int wanted = QFontMetrics(title).horizontalAdvance(box.windowTitle()) + kTitleBarRoom;
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(wanted, 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());
}

struct ButtonAnswer {
    QMessageBox::StandardButton button;
    Answer answer;
};

std::vector<ButtonAnswer> ButtonsOf(Buttons buttons) {
    switch (buttons) {
    case Buttons::Ok:
        return {{QMessageBox::Ok, Answer::Ok}};
    case Buttons::OkCancel:
        return {{QMessageBox::Ok, Answer::Ok}, {QMessageBox::Cancel, Answer::Cancel}};
    case Buttons::AbortRetryIgnore:
        return {{QMessageBox::Abort, Answer::Abort},
                {QMessageBox::Retry, Answer::Retry},
                {QMessageBox::Ignore, Answer::Ignore}};
    case Buttons::YesNoCancel:
        return {{QMessageBox::Yes, Answer::Yes},
                {QMessageBox::No, Answer::No},
                {QMessageBox::Cancel, Answer::Cancel}};
    case Buttons::YesNo:
        return {{QMessageBox::Yes, Answer::Yes}, {QMessageBox::No, Answer::No}};
    case Buttons::RetryCancel:
        return {{QMessageBox::Retry, Answer::Retry}, {QMessageBox::Cancel, Answer::Cancel}};
    }
    return {{QMessageBox::Ok, Answer::Ok}};
}

Answer UserInterfaceAnswer(int clicked, const std::vector<ButtonAnswer>& choices, Buttons buttons) {
    for (const ButtonAnswer& choice : choices)
        if (choice.button == clicked)
            return choice.answer;
    return DismissAnswer(buttons);
}

QPointer<QWidget>& Owner() {
    static QPointer<QWidget> owner;
    return owner;
}

QWidget* BoxParent() {
    return Owner() ? Owner().data() : QApplication::activeWindow();
}

void BelongToOwner(QDialog& box) {
    if (Owner())
        box.setWindowModality(Qt::WindowModal);
}

} // namespace

void SetBoxOwner(QWidget* owner) {
    Owner() = owner;
}

Answer QtUserInterface::ShowMessage(const Message& message) {
    QMessageBox box(ToQtIcon(message.icon), ToQString(message.caption), DisplayText(message.text),
                    QMessageBox::NoButton, BoxParent());
    BelongToOwner(box);
    box.setTextFormat(Qt::PlainText);
    const auto choices = ButtonsOf(message.buttons);
    for (const ButtonAnswer& choice : choices)
        box.addButton(choice.button);
    const int defaultIndex =
        message.defaultButton >= 0 && message.defaultButton < static_cast<int>(choices.size())
            ? message.defaultButton
            : 0;
    box.setDefaultButton(choices[defaultIndex].button);
    FitCaption(box);
    return UserInterfaceAnswer(box.exec(), choices, message.buttons);
}

std::optional<std::u16string> QtUserInterface::AskText(const TextRequest& request) {
    QInputDialog box(BoxParent());
    BelongToOwner(box);
    box.setWindowTitle(ToQString(request.caption));
    box.setLabelText(DisplayText(request.prompt));
    box.setTextValue(ToQString(request.defaultText));
    if (box.exec() != QDialog::Accepted)
        return std::nullopt;
    return box.textValue().toStdU16String();
}

} // namespace zorv::ui
