#pragma once
// A one-line label that never widens its window: a text longer than the room
// it has is cut with "…", and the whole text is its tooltip.
#include <QLabel>

namespace zorv::app {

class TElidedLabel : public QLabel {
public:
    explicit TElidedLabel(QWidget* parent = nullptr);

    void SetFullText(const QString& text);
    const QString& FullText() const { return FFullText; }

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Elide();

    QString FFullText;
};

} // namespace zorv::app
