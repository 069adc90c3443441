// Device discovery over a made-up /dev, /sys and /proc in a temporary folder.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <grp.h>
#include <unistd.h>

#include "hardware/discovery/device_discovery.h"
#include "hardware/discovery/device_profiles.h"
#include "hardware/discovery/device_report.h"

namespace {

namespace fs = std::filesystem;
using namespace zorv::opos::discovery;

class FakeTree : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("zorv-discovery-" + std::to_string(getpid()));
        fs::remove_all(root_);
        roots_ = {(root_ / "dev").string(), (root_ / "sys").string(), (root_ / "proc").string()};
    }
    void TearDown() override { fs::remove_all(root_); }

    fs::path File(const std::string& relative, const std::string& content = {}) {
        const fs::path path = root_ / relative;
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }
    void Link(const std::string& relative, const std::string& target) {
        const fs::path path = root_ / relative;
        fs::create_directories(path.parent_path());
        fs::create_directory_symlink(target, path);
    }
    std::string Path(const std::string& relative) const { return (root_ / relative).string(); }

    fs::path root_;
    Roots roots_;
};

const Candidate* Find(const std::vector<Candidate>& devices, const std::string& node) {
    for (const Candidate& device : devices)
        if (device.node == node)
            return &device;
    return nullptr;
}

TEST_F(FakeTree, SerialPortsByTheirStableNamesAndOnlyRealBuiltInPorts) {
    File("dev/ttyUSB0");
    Link("dev/serial/by-id/usb-Prolific_USB-Serial_Controller-if00-port0", "../../ttyUSB0");
    File("dev/ttyACM0");
    File("dev/ttyS0");
    Link("sys/class/tty/ttyS0/device", "../../../devices/platform/serial8250");
    File("dev/ttyS1");
    Link("sys/class/tty/ttyS1/device", "../../../devices/pnp0/00:05");
    File("dev/tty0");

    const std::vector<Candidate> devices = ListDevices(roots_, [](const std::string&, int) { return 0; });
    ASSERT_EQ(devices.size(), 3u);
    const Candidate* usb = Find(devices, Path("dev/ttyUSB0"));
    ASSERT_TRUE(usb);
    EXPECT_EQ(usb->path, Path("dev/serial/by-id/usb-Prolific_USB-Serial_Controller-if00-port0"));
    EXPECT_EQ(ProfileSection(*usb, "LineDisplay", "D").at(2), "connection = serial:" + usb->path + ",9600");
    EXPECT_TRUE(Find(devices, Path("dev/ttyACM0")));
    EXPECT_TRUE(Find(devices, Path("dev/ttyS1")));
    EXPECT_FALSE(Find(devices, Path("dev/ttyS0")));
}

TEST_F(FakeTree, InputDevicesAreNamedAndGuessed) {
    File("proc/bus/input/devices", "I: Bus=0003 Vendor=0c2e Product=0b61 Version=0111\n"
                                   "N: Name=\"Honeywell Imaging & Mobility 1900\"\n"
                                   "H: Handlers=sysrq kbd leds event5\n\n"
                                   "I: Bus=0003 Vendor=046d Product=c077 Version=0111\n"
                                   "N: Name=\"Logitech USB Optical Mouse\"\n"
                                   "H: Handlers=mouse0 event6\n\n"
                                   "I: Bus=0003 Vendor=0801 Product=0001 Version=0110\n"
                                   "N: Name=\"Mag-Tek USB Swipe Reader\"\n"
                                   "H: Handlers=kbd event7\n\n"
                                   "I: Bus=0011 Vendor=0001 Product=0001 Version=ab41\n"
                                   "N: Name=\"AT Translated Set 2 keyboard\"\n"
                                   "H: Handlers=sysrq kbd leds event2\n");
    Link("dev/input/by-id/usb-Honeywell_1900-event-kbd", "../event5");
    const std::vector<Candidate> devices = ListDevices(roots_, [](const std::string&, int) { return 0; });
    ASSERT_EQ(devices.size(), 3u); // not the mouse
    const Candidate* scanner = Find(devices, Path("dev/input/event5"));
    ASSERT_TRUE(scanner);
    EXPECT_EQ(scanner->guess, Guess::Scanner);
    EXPECT_EQ(scanner->path, Path("dev/input/by-id/usb-Honeywell_1900-event-kbd"));
    EXPECT_EQ(scanner->vendor, "0c2e");
    EXPECT_EQ(KindsFor(*scanner), std::vector<std::string>{"Scanner"});
    EXPECT_EQ(ProfileSection(*scanner, "Scanner", "S").at(2), "connection = input:" + scanner->path);
    EXPECT_EQ(Find(devices, Path("dev/input/event7"))->guess, Guess::CardReader);
    EXPECT_EQ(Find(devices, Path("dev/input/event2"))->guess, Guess::Keyboard);
}

TEST_F(FakeTree, HidrawNodesWithVendorProductAndTheScannerPage) {
    File("sys/class/hidraw/hidraw3/device/uevent",
         "DRIVER=hid-generic\nHID_ID=0003:00000C2E:00000B61\nHID_NAME=Honeywell 1900 HID POS\n");
    File("sys/class/hidraw/hidraw3/device/report_descriptor", std::string("\x05\x8c\x09\x02\xa1\x01", 6));
    File("sys/class/hidraw/hidraw4/device/uevent", "HID_ID=0003:0000046D:0000C077\nHID_NAME=Mouse\n");
    File("sys/class/hidraw/hidraw4/device/report_descriptor", std::string("\x05\x01\x09\x02", 4));
    const std::vector<Candidate> devices = ListDevices(roots_, [](const std::string&, int) { return 0; });
    ASSERT_EQ(devices.size(), 2u);
    EXPECT_EQ(devices[0].node, Path("dev/hidraw3"));
    EXPECT_EQ(devices[0].vendor, "0c2e");
    EXPECT_EQ(devices[0].product, "0b61");
    EXPECT_EQ(devices[0].name, "Honeywell 1900 HID POS");
    EXPECT_EQ(devices[0].guess, Guess::Scanner);
    EXPECT_EQ(devices[1].guess, Guess::Unknown);
    EXPECT_EQ(ProfileSection(devices[0], "Scanner", "S").at(2), "connection = hidraw:" + Path("dev/hidraw3"));
}

TEST_F(FakeTree, RefusedAccessNamesTheGroupOrTheMissingRule) {
    const gid_t gid = getgid() != 0 ? getgid() : 20;
    const fs::path port = File("dev/ttyUSB0");
    ASSERT_EQ(chown(port.c_str(), static_cast<uid_t>(-1), gid), 0);
    fs::permissions(port, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                              fs::perms::group_write);
    const fs::path hid = File("dev/hidraw0");
    fs::permissions(hid, fs::perms::owner_read | fs::perms::owner_write);
    File("sys/class/hidraw/hidraw0/device/uevent", "HID_ID=0003:00000C2E:00000B61\n");

    const auto refuse = [](const std::string&, int) { return EACCES; };
    const std::vector<Candidate> devices = ListDevices(roots_, refuse);
    ASSERT_EQ(devices.size(), 2u);
    const struct group* entry = getgrgid(gid);
    const std::string name = entry ? entry->gr_name : std::to_string(gid);
    EXPECT_NE(devices[0].access.find("groupe « " + name + " »"), std::string::npos) << devices[0].access;
    EXPECT_NE(devices[1].access.find("règle udev"), std::string::npos) << devices[1].access;
    EXPECT_NE(devices[1].access.find("KERNEL==\"hidraw0\""), std::string::npos) << devices[1].access;

    const std::string report = FormatDevices(devices);
    EXPECT_NE(report.find("Ports série :\n  " + Path("dev/ttyUSB0")), std::string::npos) << report;
    EXPECT_NE(report.find("Périphériques d'entrée :\n  (aucun)"), std::string::npos) << report;
    EXPECT_NE(report.find("    ! accès refusé"), std::string::npos) << report;
}

TEST_F(FakeTree, AnEmptyTreeListsNothing) {
    EXPECT_TRUE(ListDevices(roots_).empty());
}

} // namespace

namespace {

// The profile reader takes everything after "=" as the value: a comment
// must have a line of its own.
TEST(DeviceProfiles, EverySectionIsReadableAsAProfile) {
    const Candidate kinds[] = {
        {Family::Serial, "/dev/ttyUSB0", "/dev/ttyUSB0", "", "", "", Guess::Unknown, "", ""},
        {Family::UsbPrinter, "/dev/usb/lp0", "/dev/usb/lp0", "", "", "", Guess::Unknown, "", ""},
        {Family::Input, "/dev/input/event2", "/dev/input/event2", "", "", "", Guess::Keyboard, "", ""},
        {Family::Input, "/dev/input/event3", "/dev/input/event3", "", "", "", Guess::CardReader, "", ""},
        {Family::Hidraw, "/dev/hidraw0", "/dev/hidraw0", "", "", "", Guess::Scanner, "", ""}};
    for (const Candidate& device : kinds)
        for (const std::string& kind : KindsFor(device)) {
            SCOPED_TRACE(device.path + " " + kind);
            const std::vector<std::string> section = ProfileSection(device, kind, "Name");
            ASSERT_GE(section.size(), 3u);
            EXPECT_EQ(section[1], "kind = " + (kind == "CashDrawer" ? std::string("POSPrinter") : kind));
            for (const std::string& line : section)
                if (line.front() != '#' && line.front() != '[') {
                    EXPECT_EQ(line.find('#'), std::string::npos) << line;
                }
        }
}

TEST(DeviceProfiles, WhatEachDeviceCouldBe) {
    Candidate device{
        Family::Input, "/dev/input/event2", "/dev/input/event2", "", "", "", Guess::Keyboard, "", ""};
    EXPECT_EQ(KindsFor(device), (std::vector<std::string>{"POSKeyboard", "Keylock", "Scanner", "MSR"}));
    device.family = Family::Hidraw;
    device.guess = Guess::Unknown;
    EXPECT_TRUE(KindsFor(device).empty()) << "a hidraw node without the scanner page";
    device.family = Family::UsbPrinter;
    const std::vector<std::string> drawer = ProfileSection(device, "CashDrawer", "Till");
    EXPECT_EQ(drawer.front(), "[Till_Printer]");
    EXPECT_EQ(drawer[2], "connection = file:/dev/input/event2");
    EXPECT_NE(std::find(drawer.begin(), drawer.end(), "connection = printer:Till_Printer"), drawer.end());
}

TEST(DeviceProfiles, AnInstalledOposDeviceServesItsOwnKindWithoutASection) {
    const Candidate door{Family::InstalledOpos, "Door", "Door",   "Vendor.Scanner.SO", "", "",
                         Guess::Unknown,        "",     "Scanner"};
    const Candidate odd{Family::InstalledOpos, "Odd", "Odd",       "Vendor.Odd.SO", "", "",
                        Guess::Unknown,        "",    "Biometrics"};
    EXPECT_EQ(KindsFor(door), std::vector<std::string>{"Scanner"});
    EXPECT_TRUE(KindsFor(odd).empty()) << "a kind the bench does not drive";

    const std::vector<Candidate> devices = {door, odd};
    const std::vector<Listed> scanners = ForKind(devices, "Scanner");
    ASSERT_EQ(scanners.size(), 1u);
    EXPECT_EQ(
        scanners[0].section,
        std::vector<std::string>{
            "# aucune section : tapez « Door » comme nom logique, l'objet de service installé l'ouvre"});
    EXPECT_TRUE(ForKind(devices, "MSR").empty());
}

// Each system reports the families it looks for, none of the other's.
TEST(DeviceReport, OnlyTheFamiliesThisSystemLists) {
    const std::string report = FormatDevices({});
    EXPECT_EQ(report.find("OPOS installés"), std::string::npos) << report;
    EXPECT_NE(report.find("HID (hidraw) :\n  (aucun)"), std::string::npos) << report;
}

} // namespace
