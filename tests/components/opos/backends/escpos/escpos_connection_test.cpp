// Profiles that name connections, and every way a link can fail: refused,
// silent, dropped mid-job, not a terminal, not a character device. Each
// answers a code and a reason within its timeout; a dropped link comes back.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

#include "opos_test_support.h"
#include "platform/com/apartment.h"
#include "virtual_printer_fixture.h"

using namespace opos_test;
using namespace escpos_device_test;
using zorv::com::DrainPostedCalls;
using zorv::com::Utf8ToUtf16;

namespace {

constexpr DISPID kStatusUpdate = 4;

// A loopback listener that accepts and never says a word.
class SilentPeer {
public:
    SilentPeer() {
        fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        bind(fd_, reinterpret_cast<sockaddr*>(&address), length);
        listen(fd_, 4);
        getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
    }
    ~SilentPeer() { close(fd_); }
    std::u16string Connection() const { return u"tcp:127.0.0.1:" + Utf8ToUtf16(std::to_string(port_)); }

private:
    int fd_ = -1;
    int port_ = 0;
};

class Connections : public ::testing::Test {
protected:
    void SetUp() override { printer = Create(u"OPOS.POSPrinter"); }
    void TearDown() override {
        Call(printer.Get(), u"Close");
        std::filesystem::remove(profiles_);
        DrainPostedCalls();
    }
    void WriteProfiles(const std::string& text) { std::ofstream(profiles_, std::ios::binary) << text; }
    LONG Open(const std::u16string& name) { return Call(printer.Get(), u"Open", {name.c_str()}); }
    LONG Claim() { return Call(printer.Get(), u"ClaimDevice", {LONG{1000}}); }
    std::u16string HealthText() { return Text(printer.Get(), u"CheckHealthText"); }

    ComPtr<IDispatch> printer;
    std::filesystem::path profiles_ = std::filesystem::path(ZORV_COMPONENTS_DIR) / "zorv_opos.profiles";
};

} // namespace

TEST_F(Connections, ProfileKeysShapeTheDeviceAndItsDrawer) {
    VirtualPrinter virtualPrinter;
    ASSERT_TRUE(virtualPrinter.Running());
    const std::string port = std::to_string(virtualPrinter.PrintPort());
    WriteProfiles("[TestShopPrinter]\nkind = POSPrinter\nconnection = tcp:127.0.0.1:" + port +
                  "\ncode_page = PC850\npaper_width = 58\ncutter = no\n"
                  "[TestShopDrawer]\nkind = CashDrawer\nconnection = printer:TestShopPrinter\n"
                  "drawer_pin = 5\ndrawer_pulse = 50\n");
    OpenReady(printer.Get(), u"TestShopPrinter");
    EXPECT_EQ(Long(printer.Get(), u"CharacterSet"), 850);
    EXPECT_EQ(Long(printer.Get(), u"RecLineChars"), 32);
    EXPECT_EQ(Long(printer.Get(), u"RecLineWidth"), 384);
    EXPECT_FALSE(Bool(printer.Get(), u"CapRecPaperCut"));
    EXPECT_EQ(Call(printer.Get(), u"CutPaper", {LONG{100}}), 106);
    auto drawer = Create(u"OPOS.CashDrawer");
    OpenReady(drawer.Get(), u"TestShopDrawer");
    EXPECT_EQ(Call(drawer.Get(), u"OpenDrawer"), 0);
    EXPECT_NE(virtualPrinter.Transcript("drawer kick").find("drawer kick pin 5 on 50 ms off 100 ms"),
              std::string::npos);
    EXPECT_NE(virtualPrinter.Transcript("code page 2").find("code page 2"), std::string::npos);
    Call(drawer.Get(), u"Close");
}

TEST_F(Connections, AnUnusableLineIsReportedAndNeverSimulated) {
    WriteProfiles("[TestBadPort]\nkind = POSPrinter\nconnection = tcp:127.0.0.1:99999\n"
                  "[TestBadPage]\nkind = POSPrinter\nconnection = tcp:127.0.0.1\ncode_page = PC999\n"
                  "[TestBadDrawer]\nkind = CashDrawer\nconnection = tcp:127.0.0.1\n");
    EXPECT_EQ(Open(u"TestBadPort"), 107);
    EXPECT_EQ(Long(printer.Get(), u"ResultCodeExtended"), 3) << "the line that is wrong";
    EXPECT_NE(HealthText().find(u"port"), std::u16string::npos);
    EXPECT_EQ(Open(u"TestBadPage"), 107);
    EXPECT_EQ(Long(printer.Get(), u"ResultCodeExtended"), 7);
    EXPECT_NE(HealthText().find(u"code page"), std::u16string::npos);
    auto drawer = Create(u"OPOS.CashDrawer");
    EXPECT_EQ(Call(drawer.Get(), u"Open", {u"TestBadDrawer"}), 107);
    EXPECT_EQ(Open(u"tcp:127.0.0.1:notaport"), 107);
    EXPECT_EQ(Open(u"SimPrinter"), 0);
    const DirectIOResult notes = DirectIO(printer.Get(), kProfileNotes);
    EXPECT_EQ(notes.data, 3);
    EXPECT_NE(notes.text.find(u"line 3"), std::u16string::npos);
}

TEST_F(Connections, RefusedAndSilentPeersAnswerWithinTheTimeout) {
    int closedPort = 0;
    {
        VirtualPrinter gone;
        closedPort = gone.PrintPort();
    }
    ASSERT_EQ(Open(u"tcp:127.0.0.1:" + Utf8ToUtf16(std::to_string(closedPort))), 0);
    EXPECT_EQ(Claim(), 107);
    EXPECT_FALSE(HealthText().empty());
    Call(printer.Get(), u"Close");

    SilentPeer silent;
    ASSERT_EQ(Open(silent.Connection()), 0);
    ASSERT_EQ(Claim(), 0) << "the peer accepts";
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Put(printer.Get(), u"DeviceEnabled", true), 112);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
    EXPECT_NE(HealthText().find(u"does not answer"), std::u16string::npos);
}

TEST_F(Connections, ADroppedLinkIsToldAndComesBack) {
    VirtualPrinter virtualPrinter;
    ASSERT_TRUE(virtualPrinter.Running());
    auto sink = AdviseSink(printer.Get());
    ASSERT_EQ(Open(virtualPrinter.Connection()), 0);
    ASSERT_EQ(Claim(), 0);
    ASSERT_EQ(Put(printer.Get(), u"PowerNotify", LONG{1}), 0);
    ASSERT_EQ(Put(printer.Get(), u"DeviceEnabled", true), 0);
    EXPECT_EQ(Long(printer.Get(), u"PowerState"), 2001);
    virtualPrinter.Control("disconnect");
    ASSERT_TRUE(PumpUntil([&] { return Long(printer.Get(), u"PowerState") == 2004; }));
    const LONG whileDown = Call(printer.Get(), u"PrintNormal", {LONG{2}, u"lost\n"});
    EXPECT_TRUE(whileDown == 107 || whileDown == 0) << whileDown;
    ASSERT_TRUE(PumpUntil([&] { return Long(printer.Get(), u"PowerState") == 2001; }, 5000));
    EXPECT_EQ(Call(printer.Get(), u"PrintNormal", {LONG{2}, u"back again\n"}), 0);
    EXPECT_NE(virtualPrinter.Transcript("back again").find("back again"), std::string::npos);
    DrainPostedCalls();
    std::vector<LONG> power;
    for (const ReceivedEvent& e : sink->received)
        if (e.id == kStatusUpdate && e.numbers.at(0) >= 2001)
            power.push_back(e.numbers.at(0));
    EXPECT_EQ(power, (std::vector<LONG>{2004, 2001}));
}

TEST_F(Connections, HugePrintDataIsRefusedAndTheLinkKeepsWorking) {
    VirtualPrinter virtualPrinter;
    ASSERT_TRUE(virtualPrinter.Running());
    OpenReady(printer.Get(), virtualPrinter.Connection().c_str());
    const std::u16string tenMegabytes(10 << 20, u'x');
    EXPECT_EQ(Call(printer.Get(), u"PrintNormal", {LONG{2}, tenMegabytes.c_str()}), 106);
    std::u16string big;
    for (int i = 0; i < 1000; ++i)
        big += u"a receipt line of some length, number " + Utf8ToUtf16(std::to_string(i)) + u"\n";
    EXPECT_EQ(Call(printer.Get(), u"PrintNormal", {LONG{2}, big.c_str()}), 0);
    EXPECT_NE(virtualPrinter.Transcript("number 999").find("number 999"), std::string::npos);
}

TEST_F(Connections, DevicePathsThatAreNotDevicesAreRefused) {
    const std::filesystem::path file = std::filesystem::temp_directory_path() / "zorv_not_a_printer.txt";
    std::ofstream(file) << "receipts must never land here\n";
    const std::string dir = std::filesystem::temp_directory_path().string();
    for (const std::string& connection :
         std::vector<std::string>{"file:" + file.string(), "file:" + dir, "serial:/dev/null"}) {
        ASSERT_EQ(Open(Utf8ToUtf16(connection)), 0) << connection;
        EXPECT_EQ(Claim(), 107) << connection;
        EXPECT_FALSE(HealthText().empty());
        Call(printer.Get(), u"Close");
    }
    std::ifstream in(file);
    std::string content((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(content, "receipts must never land here\n");
    std::filesystem::remove(file);
}

// A printer on a serial line: the test plays it on a pseudo-terminal's
// master side, answering status queries as an idle printer does.
TEST_F(Connections, SerialPrinterOnAPseudoTerminal) {
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    const std::string slave = ptsname(master);
    std::atomic<bool> stop{false};
    std::string received;
    std::mutex receivedMutex;
    std::thread peer([&] {
        char buffer[256];
        while (!stop) {
            pollfd p{master, POLLIN, 0};
            if (poll(&p, 1, 50) <= 0)
                continue;
            const ssize_t n = read(master, buffer, sizeof buffer);
            if (n <= 0)
                continue;
            std::lock_guard lock(receivedMutex);
            received.append(buffer, static_cast<size_t>(n));
            for (ssize_t i = 0; i + 2 < n; ++i)
                if (buffer[i] == 0x10 && buffer[i + 1] == 0x04) {
                    const char idle = 0x12;
                    (void)!write(master, &idle, 1);
                }
        }
    });
    const std::u16string name = Utf8ToUtf16("serial:" + slave + ",115200");
    OpenReady(printer.Get(), name.c_str());
    EXPECT_EQ(Call(printer.Get(), u"PrintNormal", {LONG{2}, u"over the line\n"}), 0);
    EXPECT_TRUE(PumpUntil([&] {
        std::lock_guard lock(receivedMutex);
        return received.find("over the line\n") != std::string::npos;
    }));
    Call(printer.Get(), u"Close");
    stop = true;
    peer.join();
    close(master);
}
