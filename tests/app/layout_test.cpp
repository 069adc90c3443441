// Where the window puts things: its client size, the dialog's size and
// place, the common page's eighteen rows in five groups with their captions,
// the separators, the specific page's two lists and the script page.
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>

#include "app/app_fixture.h"
#include "app/common_properties_page.h"
#include "app/kind_properties_page.h"

using namespace zorv::testing;
using zorv::views::CommonField;

namespace {

// The page's groups: the y of each group's first row; rows of a group are 20 pixels apart.
struct Group {
    int firstY;
    std::vector<CommonField> fields;
};

std::vector<Group> Groups() {
    using enum CommonField;
    return {
        {12, {State}},
        {48, {ResultCode, ResultCodeExtended}},
        {108,
         {ControlObjectDescription, ControlObjectVersion, ServiceObjectDescription, ServiceObjectVersion,
          DeviceName, DeviceDescription}},
        {248,
         {Claimed, DeviceEnabled, DataEventEnabled, FreezeEvents, AutoDisable, DataCount, BinaryConversion}},
        {408, {CapPowerReporting, PowerState}}};
}

} // namespace

using Layout = AppFixture;

TEST_F(Layout, TheWindowAndTheDialogHaveTheirDesignedSizes) {
    Install(kAllProgIds);
    auto& window = Start();
    EXPECT_EQ(window.size(), QSize(665 - 8, 569 - 27)) << "the designed outer size less the frame";
    EXPECT_EQ(dialog->size(), QSize(269 - 8, 143 - 27));
    EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize()) << "fixed";
    EXPECT_EQ(dialog->pos(), QPoint(282, 200));
    EXPECT_EQ(window.MmScript->geometry(), QRect(16, 20, 325, 345));
    EXPECT_EQ(window.BtnEnregistrer->geometry(), QRect(360, 24, 75, 25));
}

TEST_F(Layout, TheCommonPageHasEighteenRowsInFiveGroupsBetweenFourSeparators) {
    Install(kAllProgIds);
    auto& window = Start();
    const zorv::app::TCommonPropertiesPage& page = *window.TabSheet1;
    std::size_t rows = 0;
    std::vector<int> separatorsBetween;
    int previousEnd = 0;
    for (const Group& group : Groups()) {
        if (previousEnd > 0)
            separatorsBetween.push_back((previousEnd + group.firstY) / 2);
        int y = group.firstY;
        for (CommonField field : group.fields) {
            QLabel* caption = page.Caption(field);
            QLabel* value = page.Value(field);
            const QString name = caption->objectName().mid(4);
            SCOPED_TRACE(name.toStdString());
            EXPECT_TRUE(caption->objectName().startsWith(QStringLiteral("Lbld")));
            EXPECT_EQ(value->objectName(), QStringLiteral("Ld") + name);
            // The one caption spelt otherwise than its property.
            const QString expected =
                name == QStringLiteral("DeviceDescription") ? QStringLiteral("DeviceDecription") : name;
            EXPECT_EQ(caption->text(), expected + QStringLiteral(" :"));
            EXPECT_EQ(caption->pos(), QPoint(12, y));
            EXPECT_EQ(value->pos(), QPoint(172, y));
            y += 20;
            ++rows;
        }
        previousEnd = y - 20;
    }
    EXPECT_EQ(rows, zorv::app::TCommonPropertiesPage::kFieldCount);

    std::vector<QRect> separators;
    for (const QFrame* frame : page.findChildren<QFrame*>())
        if (frame->frameShape() == QFrame::HLine)
            separators.push_back(frame->geometry());
    std::sort(separators.begin(), separators.end(),
              [](const QRect& a, const QRect& b) { return a.y() < b.y(); });
    ASSERT_EQ(separators.size(), 4u);
    const int ys[] = {36, 92, 232, 392};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(separators[i].topLeft(), QPoint(12, ys[i]));
        EXPECT_EQ(separators[i].width(), 365);
        // Each separator lies between the groups it divides.
        EXPECT_GT(ys[i], Groups()[i].firstY + 20 * static_cast<int>(Groups()[i].fields.size() - 1));
        EXPECT_LT(ys[i], Groups()[i + 1].firstY);
    }
}

TEST_F(Layout, TheSpecificPagesListsStandWhereTheyShould) {
    Install(kAllProgIds);
    auto& window = Start();
    const QListWidget* checks = window.TabSheet2->ClProp;
    EXPECT_EQ(checks->pos(), QPoint(12, 14));
    EXPECT_EQ(checks->width(), 621);
    const int frame = 2 * checks->frameWidth();
    EXPECT_LE(checks->height(), 238);
    EXPECT_EQ((checks->height() - frame) % 13, 0) << "trimmed to whole items of 13 pixels";
    EXPECT_GT(checks->height() + 13, 238);
    EXPECT_EQ(checks->gridSize().height(), 13);
    EXPECT_EQ(checks->gridSize().width(), (621 - frame) / 3) << "three columns";

    const QTreeWidget* values = window.TabSheet2->LvProp;
    EXPECT_EQ(values->geometry(), QRect(12, 268, 289, 165));
    EXPECT_EQ(values->columnCount(), 2);
    EXPECT_EQ(values->columnWidth(0), 137);
    EXPECT_EQ(values->columnWidth(1), 136);
    EXPECT_TRUE(values->isHeaderHidden());
}
