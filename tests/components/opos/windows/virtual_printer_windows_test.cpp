// The Windows build prints on zorv-virtual-printer over loopback TCP: the
// printer runs on this machine, started by with_virtual_printer.sh, which
// hands its ports and folder over in the environment.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "opos_test_support.h"
#include "platform/com/apartment.h"
#include "transport/link.h"

using namespace opos_test;
using zorv::com::DrainPostedCalls;
namespace transport = zorv::opos::transport;

namespace {

constexpr LONG kReceipt = 2;
constexpr DISPID kStatusUpdate = 4;

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 3000) {
    return zorv::com::WaitPumping(done, std::chrono::milliseconds(timeoutMs));
}

class HostPrinter {
public:
    HostPrinter()
        : printPort_(Environment("ZORV_TEST_PRINT_PORT")),
          controlPort_(Environment("ZORV_TEST_CONTROL_PORT")), folder_(Environment("ZORV_TEST_PRINTER_OUT")) {
    }

    bool Known() const { return !printPort_.empty() && !controlPort_.empty() && !folder_.empty(); }
    std::u16string Connection() const { return u"tcp:127.0.0.1:" + zorv::com::Utf8ToUtf16(printPort_); }

    // One control command; the printer's reply line.
    std::string Control(const std::string& command) const {
        transport::Connection connection;
        connection.host = "127.0.0.1";
        connection.port = static_cast<uint16_t>(std::stoi(controlPort_));
        transport::LinkStatus status;
        auto link = transport::Link::Open(connection, 2000, status);
        if (!link)
            return "error " + status.text;
        link->Send(command + "\n", 2000);
        std::string reply;
        while (reply.find('\n') == std::string::npos && link->Receive(reply, 256, 2000).status.ok()) {
        }
        return reply.substr(0, reply.find('\n'));
    }

    // The receipts printed so far, as the printer counts them.
    int Receipts() const {
        const std::string status = Control("status");
        const auto at = status.find("receipts ");
        return at == std::string::npos ? -1 : std::atoi(status.c_str() + at + 9);
    }

    // The transcript, once it holds `wanted` (or after a timeout).
    std::string Transcript(const std::string& wanted) const {
        std::string text;
        PumpUntil([&] {
            std::ifstream file(std::filesystem::path(folder_) / "transcript.txt", std::ios::binary);
            std::ostringstream read;
            read << file.rdbuf();
            text = read.str();
            return text.find(wanted) != std::string::npos;
        });
        return text;
    }

private:
    std::string printPort_, controlPort_, folder_;
};

class WindowsPrinting : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.Known()) << "run through with_virtual_printer.sh";
        printer = Create(u"OPOS.POSPrinter");
        sink = AdviseSink(printer.Get());
    }
    void TearDown() override {
        Call(printer.Get(), u"Close");
        DrainPostedCalls();
    }

    HostPrinter host;
    ComPtr<IDispatch> printer;
    ComPtr<Sink> sink;
};

} // namespace

TEST_F(WindowsPrinting, PrintsOverLoopbackAndTheReceiptComesBack) {
    const int before = host.Receipts();
    ASSERT_GE(before, 0);
    const std::u16string name = host.Connection();
    OpenReady(printer.Get(), name.c_str());
    EXPECT_EQ(Call(printer.Get(), u"PrintNormal", {kReceipt, u"Bonjour depuis Windows\n"}), 0);
    EXPECT_EQ(Call(printer.Get(), u"CutPaper", {LONG{100}}), 0);
    EXPECT_NE(host.Transcript("Bonjour depuis Windows").find("Bonjour depuis Windows"), std::string::npos);
    EXPECT_TRUE(PumpUntil([&] { return host.Receipts() == before + 1; }));
    EXPECT_EQ(Bool(printer.Get(), u"RecEmpty"), false) << "the status the printer answered";
}

TEST_F(WindowsPrinting, ADroppedLinkIsToldAndComesBack) {
    const std::u16string name = host.Connection();
    ASSERT_EQ(Call(printer.Get(), u"Open", {name.c_str()}), 0);
    ASSERT_EQ(Call(printer.Get(), u"ClaimDevice", {LONG{1000}}), 0);
    ASSERT_EQ(Put(printer.Get(), u"PowerNotify", LONG{1}), 0);
    ASSERT_EQ(Put(printer.Get(), u"DeviceEnabled", true), 0);
    EXPECT_EQ(Long(printer.Get(), u"PowerState"), 2001);
    host.Control("disconnect");
    ASSERT_TRUE(PumpUntil([&] { return Long(printer.Get(), u"PowerState") == 2004; }));
    const LONG whileDown = Call(printer.Get(), u"PrintNormal", {kReceipt, u"lost\n"});
    EXPECT_TRUE(whileDown == 107 || whileDown == 0) << whileDown;
    ASSERT_TRUE(PumpUntil([&] { return Long(printer.Get(), u"PowerState") == 2001; }, 5000));
    EXPECT_EQ(Call(printer.Get(), u"PrintNormal", {kReceipt, u"back again\n"}), 0);
    EXPECT_NE(host.Transcript("back again").find("back again"), std::string::npos);
    DrainPostedCalls();
    std::vector<LONG> power;
    for (const ReceivedEvent& e : sink->received)
        if (e.id == kStatusUpdate && e.numbers.at(0) >= 2001)
            power.push_back(e.numbers.at(0));
    EXPECT_EQ(power, (std::vector<LONG>{2004, 2001}));
}

// The drawer on the printer's kick port shares its link.
TEST_F(WindowsPrinting, TheDrawerOnThePrinterKicksAndItsSensorIsRead) {
    auto drawer = Create(u"OPOS.CashDrawer");
    const std::u16string name = u"printer:" + host.Connection();
    OpenReady(drawer.Get(), name.c_str());
    EXPECT_FALSE(Bool(drawer.Get(), u"DrawerOpened"));
    EXPECT_EQ(Call(drawer.Get(), u"OpenDrawer"), 0);
    EXPECT_TRUE(PumpUntil([&] { return Bool(drawer.Get(), u"DrawerOpened"); }));
    EXPECT_NE(host.Transcript("drawer kick").find("drawer kick pin 2"), std::string::npos);
    host.Control("drawer closed");
    EXPECT_TRUE(PumpUntil([&] { return !Bool(drawer.Get(), u"DrawerOpened"); }));
    Call(drawer.Get(), u"Close");
    DrainPostedCalls();
}

// A job larger than the link's buffers goes out whole and counts as printed
// once the printer took it.
TEST_F(WindowsPrinting, ALongJobGoesOutWhole) {
    const std::u16string name = host.Connection();
    OpenReady(printer.Get(), name.c_str());
    std::u16string job;
    for (int i = 0; i < 1000; ++i)
        job += u"a receipt line of some length, number " + zorv::com::Utf8ToUtf16(std::to_string(i)) + u"\n";
    EXPECT_EQ(Call(printer.Get(), u"PrintNormal", {kReceipt, job.c_str()}), 0);
    EXPECT_NE(host.Transcript("number 999").find("number 999"), std::string::npos);
}
