// The window with a real ESC/POS printer and its cash drawer: the virtual
// printer on a free loopback port, opened by the connection typed in the
// Open dialog or by a profile, driven from the script page, its sensors
// flipped through its control channel while the window watches.
#include <QPushButton>
#include <QTimer>

#include "app/real_device_window.h"
#include "app/window_probe.h"
#include "virtual_printer_fixture.h"

using namespace zorv::testing;
using escpos_device_test::VirtualPrinter;
using zorv::views::CommonField;

namespace {

constexpr std::size_t kPrinterCheckRows = 56;
constexpr std::size_t kPrinterValueRows = 26;

const QString kPrint = "Sub PrintIt\r\n"
                       "    Printer.PrintNormal 2, \"Bonjour ZORV\" & vbLf\r\n"
                       "End Sub\r\n";
const QString kWatchPower = "Sub WatchPower\r\n"
                            "    Printer.DeviceEnabled = False\r\n"
                            "    Printer.PowerNotify = 1\r\n"
                            "    Printer.DeviceEnabled = True\r\n"
                            "End Sub\r\n";

class RealPrinterWindow : public RealDeviceWindow {
protected:
    VirtualPrinter printer;
};

} // namespace

TEST_F(RealPrinterWindow, OpenedByItsConnectionItShowsBothPagesPrintsAndFollowsItsSensors) {
    ASSERT_TRUE(printer.Running());
    auto& window = Start();
    OpenThroughTheDialog(QStringLiteral("Printer"), printer.Connection());
    ASSERT_EQ(Shown(window, CommonField::State), QStringLiteral("OPOS_S_IDLE"));
    EXPECT_EQ(Shown(window, CommonField::Claimed), QStringLiteral("True"));
    EXPECT_EQ(Shown(window, CommonField::DeviceEnabled), QStringLiteral("True"));
    // The same catalogue as a simulated printer, with the real printer's answers.
    EXPECT_EQ(CheckRows(window).size(), kPrinterCheckRows);
    EXPECT_EQ(ValueRows(window).size(), kPrinterValueRows);
    EXPECT_TRUE(Checked(QStringLiteral("CapCoverSensor")));
    EXPECT_TRUE(Checked(QStringLiteral("CapRecPaperCut")));
    EXPECT_FALSE(Checked(QStringLiteral("CoverOpen")));
    EXPECT_EQ(Value(QStringLiteral("RecLineChars")), QStringLiteral("48"));
    EXPECT_TRUE(PanelStaysOff());

    RunScript(kPrint, QStringLiteral("PrintIt"));
    EXPECT_NE(printer.Transcript("Bonjour ZORV").find("text \"Bonjour ZORV\""), std::string::npos);
    EXPECT_EQ(Shown(window, CommonField::ResultCode), QStringLiteral("0"));

    // The cover opens: status back, StatusUpdateEvent, the pages follow by themselves.
    ASSERT_EQ(printer.Control("cover open").substr(0, 2), "ok");
    EXPECT_TRUE(WaitFor([&] { return Checked(QStringLiteral("CoverOpen")); }));
    EXPECT_TRUE(Logged(QStringLiteral("Printer"), QStringLiteral("PTR_SUE_COVER_OPEN")));
    RunScript(kPrint, QStringLiteral("PrintIt"));
    // Refused before a byte is sent: 114, cover open.
    EXPECT_EQ(Shown(window, CommonField::ResultCode), QStringLiteral("OPOS_E_EXTENDED"));
    EXPECT_EQ(Shown(window, CommonField::ResultCodeExtended), QStringLiteral("201"));
    ASSERT_EQ(printer.Control("cover closed").substr(0, 2), "ok");
    EXPECT_TRUE(WaitFor([&] { return !Checked(QStringLiteral("CoverOpen")); }));
    EXPECT_TRUE(Logged(QStringLiteral("Printer"), QStringLiteral("PTR_SUE_COVER_OK")));
    EXPECT_EQ(printer.Transcript().find("offline, not printed"), std::string::npos)
        << "nothing was sent while the cover was open";

    RunScript(kWatchPower, QStringLiteral("WatchPower"));
    EXPECT_EQ(Shown(window, CommonField::PowerState), QStringLiteral("OPOS_PS_ONLINE"));
    printer.Stop();
    EXPECT_TRUE(
        WaitFor([&] { return Shown(window, CommonField::PowerState) == "OPOS_PS_OFF_OFFLINE"; }, 5000))
        << Shown(window, CommonField::PowerState).toStdString();

    window.BtnClose->click();
    EXPECT_EQ(Shown(window, CommonField::State), QStringLiteral("OPOS_S_CLOSED"));
    EXPECT_TRUE(Reports().empty()) << QString::fromStdU16String(Reports().at(0)).toStdString();
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(RealPrinterWindow, TheDrawerOnThePrintersKickPortOpensAndReportsItsSensor) {
    ASSERT_TRUE(printer.Running());
    WriteProfiles("[WindowShopPrinter]\nkind = POSPrinter\nconnection = tcp:127.0.0.1:" +
                  std::to_string(printer.PrintPort()) + "\n");
    auto& window = Start();
    // Both devices share the printer's one link.
    OpenThroughTheDialog(QStringLiteral("Printer"), u"WindowShopPrinter");
    ASSERT_EQ(Shown(window, CommonField::DeviceEnabled), QStringLiteral("True"));
    OpenThroughTheDialog(QStringLiteral("CashDrawer"), u"printer:WindowShopPrinter");
    ASSERT_EQ(Shown(window, CommonField::State), QStringLiteral("OPOS_S_IDLE"));
    EXPECT_EQ(Shown(window, CommonField::DeviceEnabled), QStringLiteral("True"));
    EXPECT_FALSE(Checked(QStringLiteral("DrawerOpened")));
    EXPECT_TRUE(PanelStaysOff());

    RunScript("Sub Kick\r\n    CashDrawer.OpenDrawer\r\nEnd Sub\r\n", QStringLiteral("Kick"));
    EXPECT_NE(printer.Transcript("drawer kick").find("drawer kick pin 2"), std::string::npos);
    EXPECT_TRUE(WaitFor([&] { return Checked(QStringLiteral("DrawerOpened")); }));
    EXPECT_TRUE(Logged(QStringLiteral("CashDrawer"), QStringLiteral("StatusUpdateEvent")));

    // Pushed shut at the till: only the sensor says so.
    ASSERT_EQ(printer.Control("drawer closed").substr(0, 2), "ok");
    EXPECT_TRUE(WaitFor([&] { return !Checked(QStringLiteral("DrawerOpened")); }));
    EXPECT_EQ(window.CurrentDevice(), u"CashDrawer");

    // The script page waits on the real sensor; the window's loop runs meanwhile and the drawer shuts.
    RunScript("Sub Kick\r\n    CashDrawer.OpenDrawer\r\nEnd Sub\r\n", QStringLiteral("Kick"));
    ASSERT_TRUE(WaitFor([&] { return Checked(QStringLiteral("DrawerOpened")); }));
    QTimer::singleShot(200, [&] { printer.Control("drawer closed"); });
    RunScript("Sub WaitShut\r\n    CashDrawer.WaitForDrawerClose 5000, 1000, 100, 100\r\nEnd Sub\r\n",
              QStringLiteral("WaitShut"));
    EXPECT_EQ(Shown(window, CommonField::ResultCode), QStringLiteral("0"));
    EXPECT_FALSE(Checked(QStringLiteral("DrawerOpened")));
    EXPECT_TRUE(Reports().empty()) << QString::fromStdU16String(Reports().at(0)).toStdString();
}

TEST_F(RealPrinterWindow, APrinterThatDoesNotAnswerNeverFreezesTheWindow) {
    ASSERT_TRUE(printer.Running());
    ASSERT_EQ(printer.Control("mute on").substr(0, 2), "ok");
    auto& window = Start();
    // A timer of the window's loop keeps firing while the open waits for the printer's status.
    int ticks = 0;
    QTimer heartbeat;
    QObject::connect(&heartbeat, &QTimer::timeout, [&] { ++ticks; });
    heartbeat.start(50);
    OpenThroughTheDialog(QStringLiteral("Printer"), printer.Connection());
    EXPECT_GE(ticks, 5) << "the loop ran during the wait";
    EXPECT_EQ(Shown(window, CommonField::Claimed), QStringLiteral("True"));
    EXPECT_EQ(Shown(window, CommonField::DeviceEnabled), QStringLiteral("False"));
    EXPECT_EQ(Shown(window, CommonField::ResultCode), QStringLiteral("OPOS_E_TIMEOUT"));
    EXPECT_TRUE(Reports().empty()) << QString::fromStdU16String(Reports().at(0)).toStdString();
}
