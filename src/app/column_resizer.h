#pragma once
// Lets the operator widen the columns of a list shown without column headers:
// dragging a column's right edge in the list resizes the column, and a
// double click there fits it to its contents.
#include <QObject>

class QTreeView;

namespace zorv::app {

class TColumnResizer : public QObject {
public:
    explicit TColumnResizer(QTreeView* view);

    // The column whose right edge is within reach of `x` (viewport coordinates), or -1.
    int EdgeAt(int x) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTreeView* FView;
    int FDragged = -1;
    int FDragStartX = 0;
    int FDragStartWidth = 0;
};

} // namespace zorv::app
