#include "app/kind_properties_page.h"

#include <QHeaderView>
#include <QListWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/column_resizer.h"
#include "app/window_font.h"

namespace zorv::app {
namespace {

constexpr int kItemHeight = 13;
constexpr int kColumns = 3;
constexpr QRect kCheckListBounds(12, 14, 621, 238);
constexpr QRect kValueListBounds(12, 268, 289, 165);

QString ToQString(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

TSpecificPropertiesPage::TSpecificPropertiesPage(QWidget* parent) : QWidget(parent) {
    Panel = new QWidget(this);
    Panel->setObjectName(QStringLiteral("Panel2"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Panel);

    // The lists' style sheets would otherwise give them the application's
    // font rather than the window's.
    setFont(WindowFont());
    ClProp = new QListWidget(Panel);
    ClProp->setObjectName(QStringLiteral("ClProp"));
    ClProp->setFlow(QListView::TopToBottom);
    ClProp->setWrapping(true);
    ClProp->setResizeMode(QListView::Adjust);
    ClProp->setUniformItemSizes(true);
    ClProp->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    ClProp->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const int frame = 2 * ClProp->frameWidth();
    const int wholeItems = (kCheckListBounds.height() - frame) / kItemHeight;
    ClProp->setGeometry(kCheckListBounds.x(), kCheckListBounds.y(), kCheckListBounds.width(),
                        wholeItems * kItemHeight + frame);
    ClProp->setGridSize(QSize((kCheckListBounds.width() - frame) / kColumns, kItemHeight));
    ClProp->setStyleSheet(QStringLiteral("QListWidget { background: palette(window); }"));
    ClProp->setFont(WindowFont());

    LvProp = new QTreeWidget(Panel);
    LvProp->setObjectName(QStringLiteral("LvProp"));
    LvProp->setGeometry(kValueListBounds);
    LvProp->setColumnCount(2);
    LvProp->setColumnWidth(0, 137);
    LvProp->setColumnWidth(1, 136);
    LvProp->setHeaderHidden(true);
    LvProp->setRootIsDecorated(false);
    LvProp->setEditTriggers(QAbstractItemView::NoEditTriggers);
    LvProp->setSelectionBehavior(QAbstractItemView::SelectRows);
    LvProp->setStyleSheet(QStringLiteral("QTreeWidget { background: palette(window); }"));
    LvProp->setFont(WindowFont());
    LvProp->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    LvProp->header()->setStretchLastSection(false);
    new TColumnResizer(LvProp);
}

void TSpecificPropertiesPage::Clear() {
    ClProp->clear();
    LvProp->clear();
}

void TSpecificPropertiesPage::AppendCheckItem(std::u16string_view text, bool checked) {
    auto* item = new QListWidgetItem(ToQString(text), ClProp);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
    item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    item->setToolTip(item->text());
}

void TSpecificPropertiesPage::AppendValueRow(std::u16string_view caption, std::u16string_view value) {
    auto* row = new QTreeWidgetItem(LvProp);
    row->setText(0, ToQString(caption));
    row->setText(1, ToQString(value));
    row->setToolTip(0, row->text(0));
    row->setToolTip(1, row->text(1));
}

} // namespace zorv::app
