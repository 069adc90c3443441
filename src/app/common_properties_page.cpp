#include "app/common_properties_page.h"

#include <QFontMetrics>
#include <QFrame>
#include <QLabel>

#include "app/window_font.h"

namespace zorv::app {
namespace {

using views::CommonField;

struct Row {
    CommonField field;
    int y;
    const char* caption; // as shown, "DeviceDecription" spelling included
    const char* name;    // the labels are Lbld<name> and Ld<name>
};

constexpr Row kRows[] = {
    {CommonField::State, 12, "State :", "State"},
    {CommonField::ResultCode, 48, "ResultCode :", "ResultCode"},
    {CommonField::ResultCodeExtended, 68, "ResultCodeExtended :", "ResultCodeExtended"},
    {CommonField::ControlObjectDescription, 108, "ControlObjectDescription :", "ControlObjectDescription"},
    {CommonField::ControlObjectVersion, 128, "ControlObjectVersion :", "ControlObjectVersion"},
    {CommonField::ServiceObjectDescription, 148, "ServiceObjectDescription :", "ServiceObjectDescription"},
    {CommonField::ServiceObjectVersion, 168, "ServiceObjectVersion :", "ServiceObjectVersion"},
    {CommonField::DeviceName, 188, "DeviceName :", "DeviceName"},
    {CommonField::DeviceDescription, 208, "DeviceDecription :", "DeviceDescription"},
    {CommonField::Claimed, 248, "Claimed :", "Claimed"},
    {CommonField::DeviceEnabled, 268, "DeviceEnabled :", "DeviceEnabled"},
    {CommonField::DataEventEnabled, 288, "DataEventEnabled :", "DataEventEnabled"},
    {CommonField::FreezeEvents, 308, "FreezeEvents :", "FreezeEvents"},
    {CommonField::AutoDisable, 328, "AutoDisable :", "AutoDisable"},
    {CommonField::DataCount, 348, "DataCount :", "DataCount"},
    {CommonField::BinaryConversion, 368, "BinaryConversion :", "BinaryConversion"},
    {CommonField::CapPowerReporting, 408, "CapPowerReporting :", "CapPowerReporting"},
    {CommonField::PowerState, 428, "PowerState :", "PowerState"},
};

constexpr int kSeparatorYs[] = {36, 92, 232, 392};
constexpr int kCaptionX = 12;
constexpr int kValueX = 172;
constexpr int kSeparatorLength = 365;
// A caption must end before its value begins, with a little air between.
constexpr int kCaptionRoom = kValueX - kCaptionX - 4;

// The bold caption font, condensed just enough where the fallback font is
// wider than "MS Sans Serif" would have been.
QFont CaptionFont(const QFont& bold, const QString& text) {
    QFont font = bold;
    for (int stretch = 100; stretch > 70; stretch -= 5) {
        font.setStretch(stretch);
        if (QFontMetrics(font).horizontalAdvance(text) <= kCaptionRoom)
            break;
    }
    return font;
}

} // namespace

TCommonPropertiesPage::TCommonPropertiesPage(QWidget* parent) : QWidget(parent) {
    // The captions are sized now, so in the window's font, not the application's.
    setFont(WindowFont());
    QFont bold = font();
    bold.setBold(true);
    for (const Row& row : kRows) {
        const QString text = QString::fromUtf8(row.caption);
        auto* caption = new QLabel(text, this);
        caption->setObjectName(QStringLiteral("Lbld") + QString::fromUtf8(row.name));
        caption->setFont(CaptionFont(bold, text));
        caption->move(kCaptionX, row.y);
        caption->adjustSize();
        auto* value = new QLabel(this);
        value->setObjectName(QStringLiteral("Ld") + QString::fromUtf8(row.name));
        value->move(kValueX, row.y);
        value->setTextFormat(Qt::PlainText);
        captions_[static_cast<std::size_t>(row.field)] = caption;
        values_[static_cast<std::size_t>(row.field)] = value;
    }
    for (int y : kSeparatorYs) {
        auto* line = new QFrame(this);
        line->setFrameShape(QFrame::HLine);
        line->setFrameShadow(QFrame::Sunken);
        line->setGeometry(kCaptionX, y, kSeparatorLength, 2);
    }
}

void TCommonPropertiesPage::SetValue(views::CommonField field, std::u16string_view text) {
    QLabel* label = Value(field);
    label->setText(QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())));
    label->setToolTip(label->text());
    label->adjustSize();
}

void TCommonPropertiesPage::SetPowerStateCaptionEnabled(bool enabled) {
    Caption(views::CommonField::PowerState)->setEnabled(enabled);
}

} // namespace zorv::app
