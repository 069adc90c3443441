// Serial ports of the Windows build, on two COM ports joined to each other
// by with_port_pair.sh: the program's side through the control objects or a
// link, the device's side through a link of its own, both through the
// Win32 serial API.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>

#include "opos_test_support.h"
#include "platform/com/apartment.h"
#include "transport/link.h"
#include "transport/path_present.h"

using namespace opos_test;
using namespace zorv::opos::transport;
using Clock = std::chrono::steady_clock;

namespace {

constexpr DISPID kDataEvent = 1;
constexpr LONG kPowerOnline = 2001, kPowerOffOffline = 2004;

std::string Port(const char* variable) {
    const char* value = std::getenv(variable);
    return value != nullptr ? value : "";
}

Connection Serial(const std::string& port) {
    const ParsedConnection parsed = ParseConnection("serial:" + port + ",9600");
    EXPECT_TRUE(parsed.ok()) << parsed.error;
    return parsed.connection;
}

bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 3000) {
    return zorv::com::WaitPumping(done, std::chrono::milliseconds(timeoutMs));
}

// What arrives on `link` until `wanted` bytes came or a second passes.
std::string ReceiveAll(Link& link, std::size_t wanted) {
    std::string in;
    for (const auto until = Clock::now() + std::chrono::seconds(1);
         in.size() < wanted && Clock::now() < until;)
        link.Receive(in, wanted - in.size(), 200);
    return in;
}

class ProfileFile {
public:
    explicit ProfileFile(const std::string& text) { std::ofstream(Path(), std::ios::binary) << text; }
    ~ProfileFile() { std::filesystem::remove(Path()); }

private:
    static std::filesystem::path Path() {
        return std::filesystem::path(ZORV_COMPONENTS_DIR) / "zorv_opos.profiles";
    }
};

class WindowsSerial : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(programPort.empty()) << "run through with_port_pair.sh";
        LinkStatus status;
        device = Link::Open(Serial(devicePort), 1000, status);
        ASSERT_TRUE(device) << status.text;
    }

    // Asks with_port_pair.sh to "unplug" or "plug" the pair.
    void Request(const char* what) const {
        std::ofstream(std::filesystem::path(Port("ZORV_TEST_PORT_FOLDER")) / what);
    }

    std::string programPort = Port("ZORV_TEST_PROGRAM_PORT");
    std::string devicePort = Port("ZORV_TEST_DEVICE_PORT");
    std::unique_ptr<Link> device;
};

} // namespace

TEST_F(WindowsSerial, BytesCrossBothWaysAndAQuietLineTimesOut) {
    EXPECT_TRUE(DevicePathPresent(programPort)) << "a port that is there is found among the system's devices";
    LinkStatus status;
    auto program = Link::Open(Serial(programPort), 1000, status);
    ASSERT_TRUE(program) << status.text;
    const std::string command("\x1B@\x1Bt\x13", 5);
    EXPECT_EQ(program->Send(command, 1000).count, command.size());
    EXPECT_EQ(ReceiveAll(*device, command.size()), command);
    EXPECT_TRUE(device->Send("ok\r", 1000).status.ok());
    EXPECT_EQ(ReceiveAll(*program, 3), "ok\r");

    std::string in;
    auto start = Clock::now();
    EXPECT_EQ(program->Receive(in, 16, 300).status.failure, Failure::TimedOut);
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(250));
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(2));

    std::atomic<int> told{0};
    ASSERT_TRUE(program->StartReader([&] { ++told; }, [](const LinkStatus&) {}).ok());
    device->Send("read by the reader", 1000);
    std::string kept;
    for (const auto until = Clock::now() + std::chrono::seconds(2); kept.size() < 18 && Clock::now() < until;)
        kept += program->TakeReceived().bytes;
    EXPECT_EQ(kept, "read by the reader");
    EXPECT_GT(told.load(), 0);
    start = Clock::now();
    program->StopReader();
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(1)) << "the reader stops promptly";
}

TEST_F(WindowsSerial, AScannerOnAComPortGivesItsLabels) {
    ProfileFile profile("[PortScanner]\nkind = Scanner\nconnection = serial:" + programPort +
                        ",9600\nsuffix = CR\n");
    auto scanner = Create(u"OPOS.Scanner");
    auto sink = AdviseSink(scanner.Get());
    OpenReady(scanner.Get(), u"PortScanner");
    ASSERT_EQ(Put(scanner.Get(), u"DecodeData", true), 0);
    ASSERT_EQ(Put(scanner.Get(), u"DataEventEnabled", true), 0);
    device->Send("5901234123457\r", 1000);
    ASSERT_TRUE(PumpUntil([&] { return !sink->received.empty() && sink->received.back().id == kDataEvent; }));
    EXPECT_EQ(Text(scanner.Get(), u"ScanDataLabel"), u"5901234123457");
    EXPECT_EQ(Long(scanner.Get(), u"ScanDataType"), 104);
    Call(scanner.Get(), u"Close");
    zorv::com::DrainPostedCalls();
}

TEST_F(WindowsSerial, ALineDisplayOnAComPortShowsItsText) {
    ProfileFile profile("[PortDisplay]\nkind = LineDisplay\nconnection = serial:\\\\.\\" + programPort +
                        ",9600\n");
    auto display = Create(u"OPOS.LineDisplay");
    OpenReady(display.Get(), u"PortDisplay");
    ASSERT_EQ(Call(display.Get(), u"DisplayText", {u"Bonjour", LONG{0}}), 0);
    std::string shown;
    PumpUntil([&] {
        device->Receive(shown, 256, 50);
        return shown.find("Bonjour") != std::string::npos;
    });
    EXPECT_NE(shown.find("Bonjour"), std::string::npos);
    Call(display.Get(), u"Close");
    zorv::com::DrainPostedCalls();
}

// The far end going away (an adapter unplugged) is told as power, and the
// scanner comes back by itself once its port is there again.
TEST_F(WindowsSerial, AnUnpluggedPortIsToldAndTheScannerComesBack) {
    ProfileFile profile("[PortScanner]\nkind = Scanner\nconnection = serial:" + programPort +
                        ",9600\nsuffix = CR\n");
    auto scanner = Create(u"OPOS.Scanner");
    auto sink = AdviseSink(scanner.Get());
    ASSERT_EQ(Call(scanner.Get(), u"Open", {u"PortScanner"}), 0);
    ASSERT_EQ(Call(scanner.Get(), u"ClaimDevice", {LONG{1000}}), 0);
    ASSERT_EQ(Put(scanner.Get(), u"PowerNotify", LONG{1}), 0);
    ASSERT_EQ(Put(scanner.Get(), u"DeviceEnabled", true), 0);
    ASSERT_EQ(Put(scanner.Get(), u"DataEventEnabled", true), 0);
    EXPECT_EQ(Long(scanner.Get(), u"PowerState"), kPowerOnline);

    device.reset();
    Request("unplug");
    ASSERT_TRUE(PumpUntil([&] { return Long(scanner.Get(), u"PowerState") == kPowerOffOffline; }, 5000));
    Request("plug");
    ASSERT_TRUE(PumpUntil([&] { return Long(scanner.Get(), u"PowerState") == kPowerOnline; }, 5000));
    LinkStatus status;
    ASSERT_TRUE(PumpUntil([&] { return (device = Link::Open(Serial(devicePort), 1000, status)) != nullptr; }))
        << status.text;
    device->Send("12345670\r", 1000);
    ASSERT_TRUE(PumpUntil([&] { return !sink->received.empty() && sink->received.back().id == kDataEvent; }));
    EXPECT_EQ(Text(scanner.Get(), u"ScanData"), u"12345670");
    Call(scanner.Get(), u"Close");
    zorv::com::DrainPostedCalls();
}

// An ESC/POS printer on a COM port: the device's side answers the real-time
// status queries as a printer does and keeps what it is sent.
TEST_F(WindowsSerial, APrinterOnAComPortPrintsAndItsStatusIsRead) {
    std::mutex mutex;
    std::string printed;
    std::atomic<bool> stop{false};
    std::thread printerSide([&] {
        std::string seen;
        while (!stop) {
            std::string in;
            if (!device->Receive(in, 256, 50).status.ok())
                continue;
            seen += in;
            for (std::size_t at = seen.find("\x10\x04"); at != std::string::npos && at + 2 < seen.size();
                 at = seen.find("\x10\x04")) {
                device->Send("\x12", 1000); // online, cover closed, paper present
                seen.erase(0, at + 3);
            }
            std::lock_guard lock(mutex);
            printed += in;
        }
    });
    const auto Printed = [&] {
        std::lock_guard lock(mutex);
        return printed;
    };
    {
        ProfileFile profile("[PortPrinter]\nkind = POSPrinter\nconnection = serial:" + programPort +
                            ",9600\nstatus_back = no\n");
        auto printer = Create(u"OPOS.POSPrinter");
        OpenReady(printer.Get(), u"PortPrinter");
        EXPECT_FALSE(Bool(printer.Get(), u"RecEmpty"));
        EXPECT_EQ(Call(printer.Get(), u"PrintNormal", {LONG{2}, u"Bonjour COM\n"}), 0);
        EXPECT_TRUE(PumpUntil([&] { return Printed().find("Bonjour COM\n") != std::string::npos; }));
        Call(printer.Get(), u"Close");
        zorv::com::DrainPostedCalls();
    }
    stop = true;
    printerSide.join();
    EXPECT_EQ(Printed().rfind("\x1B@", 0), 0u) << "enabling resets the printer first";
}
