// "Rechercher les périphériques": the window's list of the devices found on
// the machine, over a made-up /dev, /sys and /proc, answered through the
// modal seam: rows per kind, the section to copy, refused access, nothing found.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>
#include <grp.h>
#include <unistd.h>

#include "app/app_fixture.h"
#include "app/device_list_dialog.h"
#include "app/modal_runner.h"
#include "app/window_probe.h"

using namespace zorv::testing;
using zorv::app::TFrmListePeriph;

namespace {

namespace fs = std::filesystem;

std::vector<QStringList> Rows(const TFrmListePeriph& list) {
    std::vector<QStringList> rows;
    for (int i = 0; i < list.LvDevices->topLevelItemCount(); ++i) {
        QStringList cells;
        for (int column = 0; column < list.LvDevices->columnCount(); ++column)
            cells << list.LvDevices->topLevelItem(i)->text(column);
        rows.push_back(cells);
    }
    return rows;
}

QStringList Paths(const TFrmListePeriph& list) {
    QStringList paths;
    for (const QStringList& row : Rows(list))
        paths << row[TFrmListePeriph::ColChemin];
    return paths;
}

void ChooseKind(TFrmListePeriph& list, const QString& caption) {
    const int index = list.CbKind->findText(caption);
    ASSERT_GE(index, 0) << caption.toStdString();
    list.CbKind->setCurrentIndex(index);
}

} // namespace

class DeviceList : public AppFixture {
protected:
    DeviceList() {
        root_ = fs::temp_directory_path() / ("zorv-device-list-" + std::to_string(getpid()));
        fs::remove_all(root_);
        fs::create_directories(root_);
        Install(kAllProgIds);
    }
    ~DeviceList() override { fs::remove_all(root_); }

    fs::path File(const std::string& relative, const std::string& content = {}) {
        const fs::path path = root_ / relative;
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }
    void Link(const std::string& relative, const std::string& target) {
        fs::create_directories((root_ / relative).parent_path());
        fs::create_directory_symlink(target, root_ / relative);
    }
    QString Path(const std::string& relative) const {
        return QString::fromStdString((root_ / relative).string());
    }

    // A scanner, a card reader's neighbour the keyboard, a serial adapter, a
    // USB receipt printer and two hidraw nodes, one of them a mouse.
    void ShopMachine() {
        File("dev/ttyUSB0");
        Link("dev/serial/by-id/usb-FTDI_FT232R-if00-port0", "../../ttyUSB0");
        File("dev/usb/lp0");
        File("sys/devices/usb1/1-2/manufacturer", "EPSON\n");
        File("sys/devices/usb1/1-2/product", "TM-T20II\n");
        File("sys/devices/usb1/1-2/idVendor", "04B8\n");
        File("sys/devices/usb1/1-2/idProduct", "0e15\n");
        fs::create_directories(root_ / "sys/devices/usb1/1-2/1-2:1.0");
        Link("sys/class/usbmisc/lp0/device", "../../../devices/usb1/1-2/1-2:1.0");
        File("proc/bus/input/devices", "I: Bus=0003 Vendor=0c2e Product=0b61 Version=0111\n"
                                       "N: Name=\"Honeywell Imaging & Mobility 1900\"\n"
                                       "H: Handlers=sysrq kbd leds event5\n\n"
                                       "I: Bus=0011 Vendor=0001 Product=0001 Version=ab41\n"
                                       "N: Name=\"AT Translated Set 2 keyboard\"\n"
                                       "H: Handlers=sysrq kbd leds event2\n");
        File("dev/input/event5");
        File("dev/input/event2");
        Link("dev/input/by-id/usb-Honeywell_1900-event-kbd", "../event5");
        File("dev/hidraw3");
        File("sys/class/hidraw/hidraw3/device/uevent",
             "HID_ID=0003:00000C2E:00000B61\nHID_NAME=Honeywell HID POS\n");
        File("sys/class/hidraw/hidraw3/device/report_descriptor", std::string("\x05\x8c\x09\x02", 4));
        File("dev/hidraw4");
        File("sys/class/hidraw/hidraw4/device/uevent", "HID_ID=0003:0000046D:0000C077\nHID_NAME=Mouse\n");
    }

    void Discover(zorv::opos::discovery::AccessCheck check = [](const std::string&, int) { return 0; }) {
        window->SetDeviceDiscovery(
            {{(root_ / "dev").string(), (root_ / "sys").string(), (root_ / "proc").string()},
             std::move(check)});
    }

    // Opens the list from the menu; `look` runs while it is shown.
    void OpenList(const std::function<void(TFrmListePeriph&)>& look) {
        bool shown = false;
        zorv::app::SetModalRunner([&](QDialog& dialog) {
            auto* list = dynamic_cast<TFrmListePeriph*>(&dialog);
            EXPECT_NE(list, nullptr);
            if (list != nullptr) {
                shown = true;
                look(*list);
            }
            return static_cast<int>(QDialog::Accepted);
        });
        window->MntListePeriph->trigger();
        EXPECT_TRUE(shown);
    }

    fs::path root_;
};

TEST_F(DeviceList, ListsTheCurrentKindsCandidatesThenAnyOtherKind) {
    ShopMachine();
    Start();
    Discover();
    Choose(*window, QStringLiteral("Scanner"));
    OpenList([&](TFrmListePeriph& list) {
        EXPECT_EQ(list.CbKind->currentText(), QStringLiteral("Scanner")) << "the current kind first";
        EXPECT_EQ(Paths(list), (QStringList{Path("dev/serial/by-id/usb-FTDI_FT232R-if00-port0"),
                                            Path("dev/input/by-id/usb-Honeywell_1900-event-kbd"),
                                            Path("dev/input/event2"), Path("dev/hidraw3")}));
        const auto rows = Rows(list);
        EXPECT_EQ(rows[1], (QStringList{Path("dev/input/by-id/usb-Honeywell_1900-event-kbd"),
                                        "Honeywell Imaging & Mobility 1900 [0c2e:0b61]",
                                        "ressemble à un scanner", "oui"}));
        EXPECT_EQ(rows[2][TFrmListePeriph::ColAspect], QStringLiteral("clavier"));
        EXPECT_EQ(rows[3][TFrmListePeriph::ColNom], QStringLiteral("Honeywell HID POS [0c2e:0b61]"));
        EXPECT_EQ(list.LbEtat->text(), QStringLiteral("4 périphérique(s) trouvé(s)."));
        // The first row is selected, its section ready to copy.
        EXPECT_EQ(list.MmProfil->toPlainText().split('\n').mid(0, 4),
                  (QStringList{"[Scanner1]", "kind = Scanner",
                               "connection = serial:" + Path("dev/serial/by-id/usb-FTDI_FT232R-if00-port0") +
                                   ",9600",
                               "suffix = CR"}));
        list.LvDevices->setCurrentItem(list.LvDevices->topLevelItem(3));
        EXPECT_EQ(list.MmProfil->toPlainText(),
                  "[Scanner4]\nkind = Scanner\nconnection = hidraw:" + Path("dev/hidraw3"));

        ChooseKind(list, QStringLiteral("Printer"));
        EXPECT_EQ(Paths(list),
                  (QStringList{Path("dev/serial/by-id/usb-FTDI_FT232R-if00-port0"), Path("dev/usb/lp0")}));
        EXPECT_EQ(Rows(list)[1],
                  (QStringList{Path("dev/usb/lp0"), "EPSON TM-T20II [04b8:0e15]", "imprimante USB", "oui"}));
        EXPECT_TRUE(list.LbEtat->text().contains(QStringLiteral("tcp:ADRESSE")))
            << "network printers are typed";
        list.LvDevices->setCurrentItem(list.LvDevices->topLevelItem(1));
        EXPECT_TRUE(list.MmProfil->toPlainText().startsWith(
            "[POSPrinter2]\nkind = POSPrinter\nconnection = file:" + Path("dev/usb/lp0") +
            "\npaper_width = 80\n"));

        ChooseKind(list, QStringLiteral("CashDrawer"));
        list.LvDevices->setCurrentItem(list.LvDevices->topLevelItem(1));
        const QStringList drawer = list.MmProfil->toPlainText().split('\n');
        EXPECT_EQ(drawer.first(), QStringLiteral("[CashDrawer2_Printer]"));
        EXPECT_TRUE(drawer.contains(QStringLiteral("[CashDrawer2]")));
        EXPECT_TRUE(drawer.contains(QStringLiteral("connection = printer:CashDrawer2_Printer")));

        // Every kind at once: the mouse too, with nothing to copy.
        ChooseKind(list, QStringLiteral("Tous les types"));
        EXPECT_EQ(Paths(list).size(), 6);
        list.LvDevices->setCurrentItem(list.LvDevices->topLevelItem(5));
        EXPECT_EQ(Rows(list)[5][TFrmListePeriph::ColChemin], Path("dev/hidraw4"));
        EXPECT_EQ(list.MmProfil->toPlainText(), QString());
        EXPECT_FALSE(list.BtnCopier->isEnabled());

        // A device plugged in meanwhile shows after "Actualiser".
        File("dev/ttyACM0");
        list.BtnActualiser->click();
        EXPECT_TRUE(Paths(list).contains(Path("dev/ttyACM0")));
    });
    EXPECT_TRUE(Reports().empty());
}

TEST_F(DeviceList, CopyPutsTheSelectedSectionOnTheClipboard) {
    ShopMachine();
    Start();
    Discover();
    Choose(*window, QStringLiteral("LineDisplay"));
    QApplication::clipboard()->setText(QStringLiteral("before"));
    OpenList([&](TFrmListePeriph& list) {
        ASSERT_EQ(Paths(list), QStringList{Path("dev/serial/by-id/usb-FTDI_FT232R-if00-port0")});
        ASSERT_TRUE(list.BtnCopier->isEnabled());
        list.BtnCopier->click();
    });
    const QString connection =
        "connection = serial:" + Path("dev/serial/by-id/usb-FTDI_FT232R-if00-port0") + ",9600";
    EXPECT_EQ(QApplication::clipboard()->text(), "[LineDisplay1]\nkind = LineDisplay\n" + connection +
                                                     "\nprotocol = escpos-display\n# protocol = cd5220 pour "
                                                     "un afficheur CD5220\nColumns = 20\nRows = 2\n");
}

TEST_F(DeviceList, ADeviceThatCannotBeOpenedNamesTheGroupOrTheMissingRule) {
    const gid_t gid = getgid() != 0 ? getgid() : 20;
    const fs::path port = File("dev/ttyUSB0");
    ASSERT_EQ(chown(port.c_str(), static_cast<uid_t>(-1), gid), 0);
    fs::permissions(port, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                              fs::perms::group_write);
    const fs::path hid = File("dev/hidraw0");
    fs::permissions(hid, fs::perms::owner_read | fs::perms::owner_write);
    File("sys/class/hidraw/hidraw0/device/uevent", "HID_ID=0003:00000C2E:00000B61\n");
    File("sys/class/hidraw/hidraw0/device/report_descriptor", std::string("\x05\x8c", 2));
    Start();
    Discover([](const std::string&, int) { return EACCES; });
    const struct group* entry = getgrgid(gid);
    const QString group = QString::fromStdString(entry ? entry->gr_name : std::to_string(gid));

    OpenList([&](TFrmListePeriph& list) {
        ASSERT_EQ(Paths(list), (QStringList{Path("dev/ttyUSB0"), Path("dev/hidraw0")}));
        EXPECT_EQ(Rows(list)[0][TFrmListePeriph::ColAcces], QStringLiteral("non"));
        EXPECT_TRUE(list.LbEtat->text().contains(QStringLiteral("dont 2 que ZORV n'a pas le droit d'ouvrir")))
            << list.LbEtat->text().toStdString();
        EXPECT_TRUE(list.LbAcces->text().contains("groupe « " + group + " »"))
            << list.LbAcces->text().toStdString();
        EXPECT_TRUE(list.LbAcces->text().contains(QStringLiteral("usermod -aG ") + group));
        list.LvDevices->setCurrentItem(list.LvDevices->topLevelItem(1));
        EXPECT_TRUE(list.LbAcces->text().contains(QStringLiteral("règle udev")));
        EXPECT_TRUE(list.LbAcces->text().contains(QStringLiteral("KERNEL==\"hidraw0\"")));
        EXPECT_EQ(list.LvDevices->topLevelItem(1)->toolTip(TFrmListePeriph::ColAcces), list.LbAcces->text());
        EXPECT_TRUE(list.BtnCopier->isEnabled()) << "the lines are right even before the rule is added";
    });
}

TEST_F(DeviceList, NothingFoundSaysSoAndOffersNothingToCopy) {
    Start();
    // The entry fits the menu bar rather than hiding behind its overflow arrow.
    window->show();
    QCoreApplication::processEvents();
    const QRect entry = window->menuBar()->actionGeometry(window->MntListePeriph);
    EXPECT_TRUE(entry.isValid() && entry.right() < window->menuBar()->width())
        << entry.right() << " " << window->menuBar()->width();
    Discover();
    for (const auto& [kind, state] :
         {std::pair{QStringLiteral("LineDisplay"),
                    QStringLiteral("Aucun périphérique trouvé pour LineDisplay.")},
          std::pair{QStringLiteral("Tous les types"), QStringLiteral("Aucun périphérique trouvé. ")}}) {
        OpenList([&](TFrmListePeriph& list) {
            ChooseKind(list, kind);
            EXPECT_EQ(list.LvDevices->topLevelItemCount(), 0);
            EXPECT_TRUE(list.LbEtat->text().startsWith(state)) << list.LbEtat->text().toStdString();
            EXPECT_TRUE(list.MmProfil->toPlainText().isEmpty());
            EXPECT_FALSE(list.BtnCopier->isEnabled());
        });
    }
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_TRUE(Reports().empty());
}
