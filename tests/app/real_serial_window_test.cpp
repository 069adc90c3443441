// The window with a scanner and a customer display on serial lines: a
// pseudo-terminal plays each device, the scanner's labels arrive while the
// window waits for nothing, the display shows what the script page sends.
#include <QApplication>
#include <QClipboard>
#include <QPushButton>
#include <filesystem>

#include "app/device_list_dialog.h"
#include "app/modal_runner.h"
#include "app/real_device_window.h"
#include "app/window_probe.h"
#include "protocols/display/display_decoder.h"

using namespace zorv::testing;
using zorv::opos::display::DisplayDecoder;
using zorv::opos::display::Protocol;
using zorv::views::CommonField;

namespace {

std::u16string SerialName(const std::string& path) {
    return u"serial:" + QString::fromStdString(path).toStdU16String();
}

const QString kGreet = "Sub Greet\r\n"
                       "    LineDisplay.DisplayText \"BONJOUR\", 0\r\n"
                       "    LineDisplay.DisplayTextAt 1, 11, \"12.50 EUR\", 0\r\n"
                       "End Sub\r\n";

using RealSerialWindow = RealDeviceWindow;

} // namespace

TEST_F(RealSerialWindow, EachLabelFromTheScannerReArmsAndRefreshesThePages) {
    PseudoSerialDevice line;
    auto& window = Start();
    OpenThroughTheDialog(QStringLiteral("Scanner"), SerialName(line.Path()));
    ASSERT_EQ(Shown(window, CommonField::State), QStringLiteral("OPOS_S_IDLE"));
    ASSERT_EQ(Shown(window, CommonField::DataEventEnabled), QStringLiteral("True"));
    EXPECT_EQ(Shown(window, CommonField::DeviceDescription),
              QString::fromStdU16String(SerialName(line.Path())));
    EXPECT_TRUE(PanelStaysOff());

    line.Send("012345678905\r");
    EXPECT_TRUE(WaitFor([&] { return Value(QStringLiteral("ScanData")) == "012345678905"; }))
        << Value(QStringLiteral("ScanData")).toStdString();
    EXPECT_EQ(Shown(window, CommonField::DataEventEnabled), QStringLiteral("True")) << "re-armed";
    // A label in two pieces, while another kind is shown: only a re-armed scanner takes it.
    Choose(window, QStringLiteral("Printer"));
    line.Send("40063813");
    line.Send("33931\r");
    Choose(window, QStringLiteral("Scanner"));
    EXPECT_TRUE(WaitFor([&] { return Value(QStringLiteral("ScanData")) == "4006381333931"; }))
        << Value(QStringLiteral("ScanData")).toStdString();
    EXPECT_EQ(Shown(window, CommonField::DataEventEnabled), QStringLiteral("True"));
    EXPECT_TRUE(Logged(QStringLiteral("Scanner"), QStringLiteral("DataEvent")));
    EXPECT_TRUE(Reports().empty()) << QString::fromStdU16String(Reports().at(0)).toStdString();
}

TEST_F(RealSerialWindow, TheScriptPagesTextReachesTheDisplay) {
    PseudoSerialDevice line;
    auto& window = Start();
    OpenThroughTheDialog(QStringLiteral("LineDisplay"), SerialName(line.Path()));
    ASSERT_EQ(Shown(window, CommonField::DeviceEnabled), QStringLiteral("True"));
    DisplayDecoder display(Protocol::EscPosDisplay);
    display.Feed(line.Received());

    RunScript(kGreet, QStringLiteral("Greet"));
    display.Feed(line.Received());
    EXPECT_EQ(display.Current().Row(0), u"BONJOUR             ");
    EXPECT_EQ(display.Current().Row(1), u"           12.50 EUR");
    EXPECT_EQ(Value(QStringLiteral("Columns")), QStringLiteral("20"));
    EXPECT_TRUE(PanelStaysOff());
    EXPECT_TRUE(Reports().empty()) << QString::fromStdU16String(Reports().at(0)).toStdString();
}

// The whole path of a first try: find the device, copy its lines into the
// profile file, open it by the name they give.
TEST_F(RealSerialWindow, TheLinesCopiedFromTheDeviceListOpenTheDisplay) {
    PseudoSerialDevice line;
    namespace fs = std::filesystem;
    const fs::path root = fs::temp_directory_path() / ("zorv-window-serial-" + std::to_string(getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "dev/serial/by-id");
    fs::create_symlink(line.Path(), root / "dev/serial/by-id/usb-Display_VFD-if00");
    auto& window = Start();
    window.SetDeviceDiscovery({{(root / "dev").string(), (root / "sys").string(), (root / "proc").string()}});
    Choose(window, QStringLiteral("LineDisplay"));
    zorv::app::SetModalRunner([](QDialog& dialog) {
        auto& list = dynamic_cast<zorv::app::TFrmListePeriph&>(dialog);
        list.BtnCopier->click();
        return static_cast<int>(QDialog::Accepted);
    });
    window.MntListePeriph->trigger();
    const QString copied = QApplication::clipboard()->text();
    ASSERT_TRUE(copied.startsWith(QStringLiteral("[LineDisplay1]\n"))) << copied.toStdString();
    WriteProfiles(copied.toStdString());

    OpenThroughTheDialog(QStringLiteral("LineDisplay"), u"LineDisplay1");
    ASSERT_EQ(Shown(window, CommonField::DeviceEnabled), QStringLiteral("True"));
    DisplayDecoder display(Protocol::EscPosDisplay);
    display.Feed(line.Received());
    RunScript(kGreet, QStringLiteral("Greet"));
    display.Feed(line.Received());
    EXPECT_EQ(display.Current().Row(0), u"BONJOUR             ");
    EXPECT_TRUE(Reports().empty()) << QString::fromStdU16String(Reports().at(0)).toStdString();
    window.BtnClose->click();
    fs::remove_all(root);
}

TEST_F(RealSerialWindow, NoiseOnTheLineIsAnInputErrorAndTheNextLabelStillArrives) {
    PseudoSerialDevice line;
    auto& window = Start();
    OpenThroughTheDialog(QStringLiteral("Scanner"), SerialName(line.Path()));
    ASSERT_EQ(Shown(window, CommonField::DataEventEnabled), QStringLiteral("True"));
    line.Send(std::string("\x01\x02\xff\xfe\r", 5));
    EXPECT_TRUE(WaitFor([&] { return Logged(QStringLiteral("Scanner"), QStringLiteral("ErrorEvent")); }));
    line.Send("96385074\r");
    EXPECT_TRUE(WaitFor([&] { return Value(QStringLiteral("ScanData")) == "96385074"; }))
        << Value(QStringLiteral("ScanData")).toStdString() << " "
        << Shown(window, CommonField::State).toStdString();
    EXPECT_EQ(Shown(window, CommonField::DataEventEnabled), QStringLiteral("True"));
    EXPECT_TRUE(Reports().empty()) << QString::fromStdU16String(Reports().at(0)).toStdString();
}

TEST_F(RealSerialWindow, ADisplayUnpluggedWhileShownGoesOfflineAndComesBackWithItsScreen) {
    PseudoSerialDevice line;
    auto& window = Start();
    OpenThroughTheDialog(QStringLiteral("LineDisplay"), SerialName(line.Path()));
    RunScript("Sub Watch\r\n    LineDisplay.DeviceEnabled = False\r\n    LineDisplay.PowerNotify = 1\r\n"
              "    LineDisplay.DeviceEnabled = True\r\nEnd Sub\r\n",
              QStringLiteral("Watch"));
    ASSERT_EQ(Shown(window, CommonField::PowerState), QStringLiteral("OPOS_PS_ONLINE"));
    RunScript(kGreet, QStringLiteral("Greet"));

    line.Unplug();
    EXPECT_TRUE(WaitFor([&] { return Shown(window, CommonField::PowerState) == "OPOS_PS_OFF_OFFLINE"; }))
        << Shown(window, CommonField::PowerState).toStdString();
    line.Plug();
    EXPECT_TRUE(WaitFor([&] { return Shown(window, CommonField::PowerState) == "OPOS_PS_ONLINE"; }))
        << Shown(window, CommonField::PowerState).toStdString();
    DisplayDecoder display(Protocol::EscPosDisplay);
    display.Feed(line.Received());
    EXPECT_EQ(display.Current().Row(0), u"BONJOUR             ") << "the screen is drawn again";
    EXPECT_TRUE(Logged(QStringLiteral("LineDisplay"), QStringLiteral("StatusUpdateEvent")));
    EXPECT_TRUE(Reports().empty()) << QString::fromStdU16String(Reports().at(0)).toStdString();
}
