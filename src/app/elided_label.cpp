#include "app/elided_label.h"

#include <QFontMetrics>
#include <algorithm>

namespace zorv::app {

TElidedLabel::TElidedLabel(QWidget* parent) : QLabel(parent) {
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    setWordWrap(false);
}

void TElidedLabel::SetFullText(const QString& text) {
    FFullText = text;
    Elide();
}

// The label asks for no width of its own: the window's other widgets set it.
QSize TElidedLabel::minimumSizeHint() const {
    return {0, QLabel::minimumSizeHint().height()};
}

QSize TElidedLabel::sizeHint() const {
    return {0, QLabel::sizeHint().height()};
}

void TElidedLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    Elide();
}

void TElidedLabel::Elide() {
    QString oneLine = FFullText;
    oneLine.replace(QLatin1Char('\r'), QLatin1Char(' '));
    oneLine.replace(QLatin1Char('\n'), QLatin1Char(' '));
    const QString shown =
        fontMetrics().elidedText(oneLine, Qt::ElideRight, std::max(contentsRect().width(), 0));
    setText(shown);
    setToolTip(shown == oneLine ? QString() : FFullText);
}

} // namespace zorv::app
