// The window on real devices read from Linux input nodes, each node played
// by a pipe that a profile names: the operator opens the device by its
// logical name, the device types, and the window re-arms the data event
// and shows what came on its pages.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPushButton>

#include <filesystem>
#include <fstream>
#include <linux/input-event-codes.h>

#include "app/app_fixture.h"
#include "app/posted_call_pump.h"
#include "app/window_probe.h"
#include "stand_in_node.h"

using namespace zorv::testing;
using zorv::views::CommonField;

namespace {

class InputDevicesWindow : public AppFixture {
protected:
    InputDevicesWindow() { zorv::app::DrivePostedCallsFromQt(); }
    ~InputDevicesWindow() override {
        window.reset();
        zorv::app::StopDrivingPostedCalls();
        std::filesystem::remove(profilePath_);
    }

    // Opens the device of that kind under `name`, described by `section`.
    void OpenByName(const QString& kind, const std::string& name, const std::string& section) {
        std::ofstream(profilePath_, std::ios::binary) << "[" << name << "]\n" << section;
        Start();
        Choose(*window, kind);
        AnswerDialog(QString::fromStdString(name).toStdU16String());
        window->BtnOpen->click();
        ASSERT_EQ(Shown(*window, CommonField::State), QStringLiteral("OPOS_S_IDLE"));
    }
    // Runs the window's loop until `row` shows `value` on the kind's page, for at most two seconds.
    bool Shows(const QString& row, const QString& value) {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 2000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            for (const auto& [caption, shown] : ValueRows(*window))
                if (caption == row + QStringLiteral(" :") && shown == value)
                    return true;
        }
        return false;
    }
    QString Armed() { return Shown(*window, CommonField::DataEventEnabled); }

    device_test::StandInNode node;

private:
    std::filesystem::path profilePath_ = std::filesystem::path(ZORV_COMPONENTS_DIR) / "zorv_opos.profiles";
};

} // namespace

TEST_F(InputDevicesWindow, AWedgeScannersLabelsReachThePagesAndTheDataEventIsRearmed) {
    OpenByName(QStringLiteral("Scanner"), "ShopWedgeScanner",
               "kind = Scanner\nconnection = input:" + node.Path() + "\nlayout = fr\n");
    node.Type(u"AZERTY-1", true, true);
    EXPECT_TRUE(Shows(QStringLiteral("ScanData"), QStringLiteral("AZERTY-1")));
    EXPECT_EQ(Armed(), QStringLiteral("True"));
    node.Type(u"SECOND", true, true);
    EXPECT_TRUE(Shows(QStringLiteral("ScanData"), QStringLiteral("SECOND")))
        << "re-armed, so the next one came";
    EXPECT_TRUE(Reports().empty());
}

TEST_F(InputDevicesWindow, ACardSwipeFillsTheMsrPage) {
    OpenByName(QStringLiteral("MSR"), "ShopCardReader",
               "kind = MSR\nconnection = input:" + node.Path() + "\n");
    node.Type(u"%B4111111111111111^DUPONT/MARIE^2512101000?;4111111111111111=2512101000?");
    EXPECT_TRUE(Shows(QStringLiteral("Surname"), QStringLiteral("DUPONT")));
    EXPECT_TRUE(Shows(QStringLiteral("Track2Data"), QStringLiteral("4111111111111111=2512101000")));
    EXPECT_EQ(Armed(), QStringLiteral("True"));
    EXPECT_TRUE(Reports().empty());
}

TEST_F(InputDevicesWindow, APosKeyboardsKeysReachThePage) {
    OpenByName(QStringLiteral("POSKeyboard"), "ShopKeyboard",
               "kind = POSKeyboard\nconnection = input:" + node.Path() + "\n");
    node.Key(KEY_F1, 1);
    node.Key(KEY_F1, 0);
    EXPECT_TRUE(Shows(QStringLiteral("POSKeyData"), QString::number(KEY_F1)));
    EXPECT_EQ(Armed(), QStringLiteral("True"));
    node.Key(KEY_F2, 1);
    EXPECT_TRUE(Shows(QStringLiteral("POSKeyData"), QString::number(KEY_F2)));
    EXPECT_TRUE(Reports().empty());
}

TEST_F(InputDevicesWindow, AKeylockTurnedShowsItsPosition) {
    OpenByName(QStringLiteral("Keylock"), "ShopKeylock",
               "kind = Keylock\nconnection = input:" + node.Path() + "\npositions = 183:1, 184:2, 185:3\n");
    node.Key(KEY_F15, 1);
    EXPECT_TRUE(Shows(QStringLiteral("KeyPosition"), QStringLiteral("LOCK_KP_SUPR")));
    node.Key(KEY_F13, 1);
    EXPECT_TRUE(Shows(QStringLiteral("KeyPosition"), QStringLiteral("LOCK_KP_LOCK")));
    EXPECT_TRUE(Reports().empty());
}
