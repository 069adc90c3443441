#pragma once
// "Propriétés communes": eighteen bold captions and their values, in five
// groups divided by separator lines.
#include <QWidget>
#include <array>

#include "views/common_properties_view.h"

class QLabel;

namespace zorv::app {

class TCommonPropertiesPage : public QWidget, public views::CommonPropertiesView {
public:
    static constexpr std::size_t kFieldCount = 18;

    explicit TCommonPropertiesPage(QWidget* parent = nullptr);

    void SetValue(views::CommonField field, std::u16string_view text) override;
    void SetPowerStateCaptionEnabled(bool enabled) override;

    QLabel* Caption(views::CommonField field) const { return captions_[static_cast<std::size_t>(field)]; }
    QLabel* Value(views::CommonField field) const { return values_[static_cast<std::size_t>(field)]; }

private:
    std::array<QLabel*, kFieldCount> captions_{};
    std::array<QLabel*, kFieldCount> values_{};
};

} // namespace zorv::app
