#include "app/column_resizer.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QTreeView>

namespace zorv::app {
namespace {

constexpr int kReach = 3;
constexpr int kNarrowest = 16;

} // namespace

TColumnResizer::TColumnResizer(QTreeView* view) : QObject(view), FView(view) {
    view->viewport()->setMouseTracking(true);
    view->viewport()->installEventFilter(this);
}

int TColumnResizer::EdgeAt(int x) const {
    const QHeaderView* header = FView->header();
    for (int column = 0; column < header->count(); ++column) {
        const int edge = header->sectionViewportPosition(column) + header->sectionSize(column);
        if (x >= edge - kReach && x <= edge + kReach)
            return column;
    }
    return -1;
}

bool TColumnResizer::eventFilter(QObject* watched, QEvent* event) {
    auto* mouse = dynamic_cast<QMouseEvent*>(event);
    if (mouse == nullptr || watched != FView->viewport())
        return false;
    const int x = static_cast<int>(mouse->position().x());
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (mouse->button() != Qt::LeftButton || (FDragged = EdgeAt(x)) < 0)
            return false;
        FDragStartX = x;
        FDragStartWidth = FView->columnWidth(FDragged);
        return true;
    case QEvent::MouseMove:
        if (FDragged >= 0) {
            FView->setColumnWidth(FDragged, std::max(kNarrowest, FDragStartWidth + x - FDragStartX));
            return true;
        }
        FView->viewport()->setCursor(EdgeAt(x) >= 0 ? Qt::SplitHCursor : Qt::ArrowCursor);
        return false;
    case QEvent::MouseButtonRelease:
        if (FDragged < 0)
            return false;
        FDragged = -1;
        return true;
    case QEvent::MouseButtonDblClick:
        if (const int column = EdgeAt(x); column >= 0) {
            FView->resizeColumnToContents(column);
            return true;
        }
        return false;
    default:
        return false;
    }
}

} // namespace zorv::app
