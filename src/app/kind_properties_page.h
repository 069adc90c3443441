#pragma once
// "Propriétés spécifiques": the check list ClProp, flowing down three columns
// of 13-pixel items and scrolling sideways, and the two-column value list LvProp.
#include <QWidget>

#include "views/kind_properties_view.h"

class QListWidget;
class QTreeWidget;

namespace zorv::app {

class TSpecificPropertiesPage : public QWidget, public views::SpecificPropertiesView {
public:
    explicit TSpecificPropertiesPage(QWidget* parent = nullptr);

    void Clear() override;
    void AppendCheckItem(std::u16string_view text, bool checked) override;
    void AppendValueRow(std::u16string_view caption, std::u16string_view value) override;

    QWidget* Panel;
    QListWidget* ClProp;
    QTreeWidget* LvProp;
};

} // namespace zorv::app
