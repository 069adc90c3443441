// Both ways to list devices from a shell, over a tree of files standing for
// the machine: the report's shape, the kind filter, refused access (the
// program runs as a user who may not open the nodes), nothing found, usage.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <grp.h>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
    long peakKb = 0; // the child's largest resident size
};

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The command and its arguments before the listing's own.
using Command = std::vector<std::string>;

const Command kListDevices = {ZORV_LIST_DEVICES};
const Command kVbs = {ZORV_VBS, "--list-devices"};

class Listing : public ::testing::TestWithParam<Command> {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("zorv-list-devices-" + std::to_string(getpid()));
        fs::remove_all(root_);
        fs::create_directories(root_);
        fs::permissions(root_, fs::perms::all & ~fs::perms::others_write & ~fs::perms::group_write);
    }
    void TearDown() override { fs::remove_all(root_); }

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
    std::string Path(const std::string& relative) const { return (root_ / relative).string(); }

    // Runs the listing over the tree; `asStranger` runs it as a user who owns
    // none of the nodes (root gives way to "nobody" for that).
    Outcome Run(std::vector<std::string> extra, bool asStranger = false) {
        Command command = GetParam();
        command.insert(command.end(), extra.begin(), extra.end());
        const fs::path out = root_ / "out.txt", err = root_ / "err.txt";
        const int outFd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        const int errFd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        const pid_t child = fork();
        if (child == 0) {
            alarm(60); // a listing that blocks is killed, and fails the test
            dup2(outFd, 1);
            dup2(errFd, 2);
            if (asStranger && getuid() == 0 &&
                (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0))
                _exit(126);
            std::vector<char*> argv;
            for (std::string& word : command)
                argv.push_back(word.data());
            argv.push_back(nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
        close(outFd);
        close(errFd);
        int raw = 0;
        struct rusage usage {};
        wait4(child, &raw, 0, &usage);
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadFile(out), ReadFile(err), usage.ru_maxrss};
    }

    fs::path root_;
};

TEST_P(Listing, GroupsTheDevicesWithTheSectionToCopy) {
    File("dev/ttyUSB0");
    Link("dev/serial/by-id/usb-FTDI_FT232R-if00-port0", "../../ttyUSB0");
    File("dev/usb/lp0");
    File("dev/input/event7");
    File("dev/hidraw3");
    File("proc/bus/input/devices", "I: Bus=0003 Vendor=0801 Product=0001 Version=0110\n"
                                   "N: Name=\"Mag-Tek USB Swipe Reader\"\n"
                                   "H: Handlers=kbd event7\n");
    File("sys/class/hidraw/hidraw3/device/uevent",
         "HID_ID=0003:00000C2E:00000B61\nHID_NAME=Honeywell HID POS\n");
    File("sys/class/hidraw/hidraw3/device/report_descriptor", std::string("\x05\x8c\x09\x02", 4));

    const Outcome all = Run({"--root", root_.string()});
    EXPECT_EQ(all.status, 0) << all.err;
    const std::string serial = Path("dev/serial/by-id/usb-FTDI_FT232R-if00-port0");
    EXPECT_EQ(all.out,
              "Ports série :\n"
              "  " +
                  serial + " -> " + Path("dev/ttyUSB0") +
                  "\n"
                  "      [LineDisplay1]\n"
                  "      kind = LineDisplay\n"
                  "      connection = serial:" +
                  serial +
                  ",9600\n"
                  "      protocol = escpos-display\n"
                  "      # protocol = cd5220 pour un afficheur CD5220\n"
                  "      Columns = 20\n"
                  "      Rows = 2\n"
                  "      # autres types possibles : Scanner, POSPrinter, CashDrawer, MSR\n"
                  "Imprimantes USB :\n"
                  "  " +
                  Path("dev/usb/lp0") +
                  "\n"
                  "      [POSPrinter1]\n"
                  "      kind = POSPrinter\n"
                  "      connection = file:" +
                  Path("dev/usb/lp0") +
                  "\n"
                  "      paper_width = 80\n"
                  "      # paper_width = 58 pour une imprimante 58 mm\n"
                  "      # autres types possibles : CashDrawer\n"
                  "Périphériques d'entrée :\n"
                  "  " +
                  Path("dev/input/event7") +
                  " « Mag-Tek USB Swipe Reader » [0801:0001] : "
                  "ressemble à un lecteur de cartes\n"
                  "      [MSR1]\n"
                  "      kind = MSR\n"
                  "      connection = input:" +
                  Path("dev/input/event7") +
                  "\n"
                  "      layout = us\n"
                  "      # layout = fr pour un lecteur réglé en AZERTY\n"
                  "HID (hidraw) :\n"
                  "  " +
                  Path("dev/hidraw3") +
                  " « Honeywell HID POS » [0c2e:0b61] : ressemble à un scanner\n"
                  "      [Scanner1]\n"
                  "      kind = Scanner\n"
                  "      connection = hidraw:" +
                  Path("dev/hidraw3") +
                  "\n"
                  "Une imprimante réseau ne se détecte pas : tapez tcp:ADRESSE[:PORT] comme nom logique "
                  "(et printer:tcp:ADRESSE[:PORT] pour son tiroir).\n");

    // Only what could be a scanner, numbered for that kind, in any letter case.
    const Outcome scanners = Run({"--kind", "scanner", "--root", root_.string()});
    EXPECT_EQ(scanners.status, 0) << scanners.err;
    EXPECT_NE(
        scanners.out.find("      [Scanner1]\n      kind = Scanner\n      connection = serial:" + serial),
        std::string::npos)
        << scanners.out;
    EXPECT_NE(scanners.out.find("[Scanner2]\n      kind = Scanner\n      connection = hidraw:"),
              std::string::npos);
    EXPECT_NE(scanners.out.find("Imprimantes USB :\n  (aucun)\nPériphériques d'entrée :\n  (aucun)"),
              std::string::npos)
        << scanners.out;
    EXPECT_EQ(scanners.out.find("autres types"), std::string::npos);
    EXPECT_EQ(scanners.out.find("tcp:"), std::string::npos) << "a scanner is never on the network";
}

TEST_P(Listing, ANodeTheUserMayNotOpenNamesTheGroupOrTheMissingRule) {
    const bool root = getuid() == 0;
    // Root runs the listing as nobody; anyone else loses the owner's rights to their own nodes.
    const gid_t gid = root ? 20 : getgid();
    const fs::path port = File("dev/ttyUSB0");
    ASSERT_EQ(chown(port.c_str(), static_cast<uid_t>(-1), gid), 0);
    fs::permissions(port, root ? fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                                     fs::perms::group_write
                               : fs::perms::group_read | fs::perms::group_write);
    const fs::path hid = File("dev/hidraw0");
    fs::permissions(hid, root ? fs::perms::owner_read | fs::perms::owner_write : fs::perms::none);
    File("sys/class/hidraw/hidraw0/device/uevent", "HID_ID=0003:00000C2E:00000B61\n");
    const struct group* entry = getgrgid(gid);
    const std::string group = entry ? entry->gr_name : std::to_string(gid);

    const Outcome listed = Run({"--root", root_.string()}, true);
    EXPECT_EQ(listed.status, 0) << listed.err;
    EXPECT_NE(listed.out.find("  " + Path("dev/ttyUSB0") + "\n"), std::string::npos) << listed.out;
    EXPECT_NE(listed.out.find("    ! accès refusé : ajoutez l'utilisateur au groupe « " + group +
                              " » (sudo usermod -aG " + group + " $USER) puis ouvrez une nouvelle session\n"),
              std::string::npos)
        << listed.out;
    EXPECT_NE(
        listed.out.find("    ! accès refusé et aucun groupe n'y donne droit : il manque une règle udev"),
        std::string::npos)
        << listed.out;
    EXPECT_NE(listed.out.find("KERNEL==\"hidraw0\", MODE=\"0660\""), std::string::npos);
}

TEST_P(Listing, AnEmptyMachineSaysNothingWasFound) {
    const Outcome all = Run({"--root", root_.string()});
    EXPECT_EQ(all.status, 0) << all.err;
    EXPECT_EQ(all.out.substr(0, all.out.find("Une imprimante")),
              "Ports série :\n  (aucun)\nImprimantes USB :\n  (aucun)\nPériphériques d'entrée :\n  (aucun)\n"
              "HID (hidraw) :\n  (aucun)\nAucun périphérique trouvé.\n");
    const Outcome displays = Run({"--root", root_.string(), "--kind", "LineDisplay"});
    EXPECT_NE(displays.out.find("\nAucun périphérique trouvé pour LineDisplay.\n"), std::string::npos)
        << displays.out;
}

TEST_P(Listing, BadArgumentsGiveTheUsage) {
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"--kind", "Toaster"}, std::vector<std::string>{"--root"},
          std::vector<std::string>{"--colour", "red"}}) {
        const Outcome refused = Run(arguments);
        EXPECT_EQ(refused.status, 2) << arguments[0];
        EXPECT_TRUE(refused.out.empty());
        EXPECT_NE(refused.err.find("usage : --list-devices [--kind TYPE] [--root DOSSIER]"),
                  std::string::npos);
        EXPECT_NE(refused.err.find("Scanner POSPrinter LineDisplay Keylock MSR POSKeyboard CashDrawer"),
                  std::string::npos);
    }
}

TEST_P(Listing, AFifoADeviceOrAHugeFileInTheTreeIsNeitherWaitedOnNorReadWhole) {
    // Nobody writes to the FIFO: opening it to read would wait for ever.
    fs::create_directories(root_ / "proc/bus/input");
    ASSERT_EQ(mkfifo(Path("proc/bus/input/devices").c_str(), 0644), 0);
    // A 2 GB attribute, sparse, whose first line is all that counts.
    const fs::path uevent = File("sys/class/hidraw/hidraw0/device/uevent",
                                 "HID_NAME=Grand lecteur\nHID_ID=0003:00000C2E:00000B61\n");
    fs::resize_file(uevent, std::uintmax_t{2} << 30);
    fs::create_symlink("/dev/zero", root_ / "sys/class/hidraw/hidraw0/device/report_descriptor");
    fs::create_directories(root_ / "dev/usb");
    File("dev/usb/lp0");
    fs::create_directories(root_ / "sys/class/usbmisc/lp0/device");
    fs::create_symlink("/dev/zero", root_ / "sys/class/usbmisc/lp0/manufacturer");
    File("sys/class/usbmisc/lp0/product", "TM-T20\n");
    const Outcome listed = Run({"--root", root_.string()});
    ASSERT_EQ(listed.status, 0) << "killed or failed: " << listed.err;
    EXPECT_NE(listed.out.find("Grand lecteur"), std::string::npos) << listed.out;
    EXPECT_NE(listed.out.find("TM-T20"), std::string::npos) << listed.out;
    EXPECT_LT(listed.peakKb, 200 * 1024) << "read whole";
}

INSTANTIATE_TEST_SUITE_P(Tools, Listing, ::testing::Values(kListDevices, kVbs),
                         [](const ::testing::TestParamInfo<Command>& info) {
                             return info.param.size() == 1 ? std::string("ZorvListDevices")
                                                           : std::string("ZorvVbs");
                         });

} // namespace
