// Devices of the Windows build through the control objects: connections
// only Linux has, and serial ports Windows does not know, are refused at
// Open (a printer, which connects at Claim, there) with 107 and the reason,
// never simulated instead.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "opos_test_support.h"
#include "platform/com/apartment.h"

using namespace opos_test;
using zorv::com::Utf16ToUtf8;
using zorv::com::Utf8ToUtf16;

namespace {

// The profile file beside the components, holding one test's devices.
class ProfileFile {
public:
    explicit ProfileFile(const std::string& text) { std::ofstream(Path(), std::ios::binary) << text; }
    ~ProfileFile() { std::filesystem::remove(Path()); }
    ProfileFile(const ProfileFile&) = delete;
    ProfileFile& operator=(const ProfileFile&) = delete;

private:
    static std::filesystem::path Path() {
        return std::filesystem::path(ZORV_COMPONENTS_DIR) / "zorv_opos.profiles";
    }
};

struct Device {
    const char16_t* progId;
    const char* kind;
    std::string connection;
};

std::string Section(const Device& device) {
    return std::string("[WindowsDevice]\nkind = ") + device.kind + "\nconnection = " + device.connection +
           "\n";
}

} // namespace

TEST(WindowsDevices, LinuxOnlyConnectionsAnswerOpenWith107AndTheReason) {
    const std::vector<Device> devices{
        {u"OPOS.Scanner", "Scanner", "input:/dev/input/by-id/usb-Scanner-event-kbd"},
        {u"OPOS.Scanner", "Scanner", "hidraw:/dev/hidraw0"},
        {u"OPOS.Scanner", "Scanner", "serial:/dev/ttyUSB0"},
        {u"OPOS.MSR", "MSR", "input:/dev/input/event5"},
        {u"OPOS.POSKeyboard", "POSKeyboard", "input:/dev/input/event6"},
        {u"OPOS.LineDisplay", "LineDisplay", "serial:/dev/ttyS1,9600"},
        {u"OPOS.POSPrinter", "POSPrinter", "file:/dev/usb/lp0"},
        {u"OPOS.POSPrinter", "POSPrinter", "serial:/dev/ttyS0,19200"},
    };
    for (const Device& device : devices) {
        ProfileFile profile(Section(device));
        auto control = Create(device.progId);
        EXPECT_EQ(Call(control.Get(), u"Open", {u"WindowsDevice"}), 107) << device.connection;
        const std::string reason = Utf16ToUtf8(Text(control.Get(), u"CheckHealthText"));
        EXPECT_NE(reason.find("n'existe que sous Linux"), std::string::npos)
            << device.connection << ": " << reason;
        EXPECT_EQ(Call(control.Get(), u"Close"), 101) << "nothing was opened";
        zorv::com::DrainPostedCalls();
    }
    // A connection typed in place of the name is refused the same way.
    auto printer = Create(u"OPOS.POSPrinter");
    EXPECT_EQ(Call(printer.Get(), u"Open", {u"file:/dev/usb/lp0"}), 107);
    EXPECT_NE(Utf16ToUtf8(Text(printer.Get(), u"CheckHealthText")).find("Linux"), std::string::npos);
    // Keys only input devices take say so too.
    ProfileFile keylock("[WindowsDevice]\nkind = Keylock\nconnection = input:/dev/input/event7\n"
                        "positions = 2:1, 3:2\n");
    auto lock = Create(u"OPOS.Keylock");
    EXPECT_EQ(Call(lock.Get(), u"Open", {u"WindowsDevice"}), 107);
    EXPECT_NE(Utf16ToUtf8(Text(lock.Get(), u"CheckHealthText")).find("Linux"), std::string::npos);
}

// Wine keeps COM ports as links to serial devices; COM199 is none of them,
// and no real port is touched.
TEST(WindowsDevices, AComPortWindowsDoesNotKnowIsRefusedWithItsName) {
    for (const Device& device :
         std::vector<Device>{{u"OPOS.Scanner", "Scanner", "serial:COM199,9600"},
                             {u"OPOS.LineDisplay", "LineDisplay", "serial:\\\\.\\COM199"},
                             {u"OPOS.MSR", "MSR", "serial:com199"}}) {
        ProfileFile profile(Section(device));
        auto control = Create(device.progId);
        EXPECT_EQ(Call(control.Get(), u"Open", {u"WindowsDevice"}), 107) << device.connection;
        const std::string reason = Utf16ToUtf8(Text(control.Get(), u"CheckHealthText"));
        EXPECT_NE(reason.find("COM199"), std::string::npos) << device.connection << ": " << reason;
        Call(control.Get(), u"Close");
        zorv::com::DrainPostedCalls();
    }
    ProfileFile profile(Section({u"OPOS.POSPrinter", "POSPrinter", "serial:COM199,19200"}));
    auto printer = Create(u"OPOS.POSPrinter");
    ASSERT_EQ(Call(printer.Get(), u"Open", {u"WindowsDevice"}), 0);
    EXPECT_EQ(Call(printer.Get(), u"ClaimDevice", {LONG{1000}}), 107);
    const std::string reason = Utf16ToUtf8(Text(printer.Get(), u"CheckHealthText"));
    EXPECT_NE(reason.find("COM199"), std::string::npos) << reason;
    Call(printer.Get(), u"Close");
    zorv::com::DrainPostedCalls();
}

// A port name that is no port at all is a mistake in the profile.
TEST(WindowsDevices, APortNameWindowsCannotHaveIsAMistakeInTheProfile) {
    ProfileFile profile(Section({u"OPOS.Scanner", "Scanner", "serial:ttyUSB0"}));
    auto scanner = Create(u"OPOS.Scanner");
    EXPECT_EQ(Call(scanner.Get(), u"Open", {u"WindowsDevice"}), 107);
    EXPECT_NE(Utf16ToUtf8(Text(scanner.Get(), u"CheckHealthText")).find("COM1, COM2"), std::string::npos);
}
