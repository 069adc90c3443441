// The links of the Windows build: Winsock sockets on loopback, serial port
// names as Windows spells them, and the connections only Linux has.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "transport/path_present.h"
#include "transport/reach.h"
#include "transport/win/port_name_win.h"
#include "winsock_peer.h"

using namespace zorv::opos::transport;
using windows_test::WinsockPeer;
using Clock = std::chrono::steady_clock;

namespace {

// What the reader reported, for the test thread to wait on.
struct ReaderReports {
    std::mutex mutex;
    std::condition_variable changed;
    int received = 0;
    std::optional<LinkStatus> failure;

    Link::OnReceived OnReceived() {
        return [this] {
            std::lock_guard lock(mutex);
            ++received;
            changed.notify_all();
        };
    }
    Link::OnFailure OnFailure() {
        return [this](const LinkStatus& status) {
            std::lock_guard lock(mutex);
            failure = status;
            changed.notify_all();
        };
    }
    bool WaitFor(const std::function<bool()>& done) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(3), done);
    }
};

Connection Parsed(const char* text) {
    const ParsedConnection parsed = ParseConnection(text);
    EXPECT_TRUE(parsed.ok()) << text << ": " << parsed.error;
    return parsed.connection;
}

} // namespace

TEST(WindowsTcpLink, MovesBytesBothWaysAndTheReaderKeepsWhatComes) {
    WinsockPeer peer;
    LinkStatus status;
    auto link = Link::Open(peer.Connection(), 1000, status);
    ASSERT_TRUE(link) << status.text;
    ASSERT_TRUE(peer.Accept());
    EXPECT_EQ(link->Send("\x1B@hello", 1000).count, 7u);
    EXPECT_EQ(peer.Received(), "\x1B@hello");
    peer.Send("\x12");
    std::string in;
    const IoResult got = link->Receive(in, 16, 1000);
    EXPECT_TRUE(got.status.ok()) << got.status.text;
    EXPECT_EQ(in, "\x12");

    ReaderReports reports;
    ASSERT_TRUE(link->StartReader(reports.OnReceived(), reports.OnFailure()).ok());
    EXPECT_EQ(link->Receive(in, 16, 100).status.failure, Failure::Busy);
    peer.Send("status");
    ASSERT_TRUE(reports.WaitFor([&] { return reports.received > 0; }));
    std::string kept;
    for (const auto until = Clock::now() + std::chrono::seconds(2); kept.size() < 6 && Clock::now() < until;)
        kept += link->TakeReceived().bytes;
    EXPECT_EQ(kept, "status");
    const auto stopping = Clock::now();
    link->StopReader();
    EXPECT_LT(Clock::now() - stopping, std::chrono::milliseconds(500)) << "the reader stops promptly";
}

TEST(WindowsTcpLink, APeerThatGoesIsToldAndReconnectingBringsTheLinkBack) {
    WinsockPeer peer;
    LinkStatus status;
    auto link = Link::Open(peer.Connection(), 1000, status);
    ASSERT_TRUE(link) << status.text;
    ASSERT_TRUE(peer.Accept());
    ReaderReports reports;
    ASSERT_TRUE(link->StartReader(reports.OnReceived(), reports.OnFailure()).ok());
    peer.Drop();
    ASSERT_TRUE(reports.WaitFor([&] { return reports.failure.has_value(); }));
    EXPECT_EQ(reports.failure->failure, Failure::Closed) << reports.failure->text;
    EXPECT_FALSE(link->ReaderRunning());

    ASSERT_TRUE(link->Reconnect(1000).ok());
    ASSERT_TRUE(peer.Accept());
    EXPECT_TRUE(link->Send("again", 1000).status.ok());
    EXPECT_EQ(peer.Received(), "again");
    peer.Send("!");
    ASSERT_TRUE(reports.WaitFor([&] { return reports.received > 0; })) << "the reader runs again";
}

TEST(WindowsTcpLink, EachWayOfNotConnectingHasItsReason) {
    unsigned short freePort = 0;
    {
        WinsockPeer gone;
        freePort = gone.port();
    }
    Connection nobody;
    nobody.host = "127.0.0.1";
    nobody.port = freePort;
    LinkStatus status;
    EXPECT_FALSE(Link::Open(nobody, 2000, status));
    EXPECT_EQ(status.failure, Failure::Refused) << status.text;
    EXPECT_NE(status.text.find("127.0.0.1:" + std::to_string(freePort)), std::string::npos) << status.text;

    Connection named = nobody;
    named.host = "printer.invalid";
    const Resolver nowhere = [](const std::string& host, uint16_t, int) {
        return Resolved{{}, {Failure::NameNotFound, "cannot resolve " + host}};
    };
    EXPECT_FALSE(Link::Open(named, 1000, status, nowhere));
    EXPECT_EQ(status.failure, Failure::NameNotFound);
}

// A printer that stops reading: the send gives up after its timeout without
// progress, and a raised cancel cuts a long wait short.
TEST(WindowsTcpLink, AStuckSendTimesOutAndACancelCutsItShort) {
    WinsockPeer peer(4096);
    LinkStatus status;
    auto link = Link::Open(peer.Connection(), 1000, status);
    ASSERT_TRUE(link) << status.text;
    ASSERT_TRUE(peer.Accept());
    const std::string tenMegabytes(10 * 1024 * 1024, 'x');
    auto start = Clock::now();
    const IoResult stuck = link->Send(tenMegabytes, 300);
    EXPECT_EQ(stuck.status.failure, Failure::TimedOut) << stuck.status.text;
    EXPECT_LT(stuck.count, tenMegabytes.size());
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));

    CancelSignal cancel;
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        cancel.Raise();
    });
    start = Clock::now();
    const IoResult cancelled = link->Send(tenMegabytes, 20000, &cancel);
    stopper.join();
    EXPECT_EQ(cancelled.status.failure, Failure::Cancelled) << cancelled.status.text;
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(2));
}

TEST(WindowsSerialLink, PortsAreNamedTheWindowsWay) {
    const std::vector<std::pair<const char*, const char*>> named{
        {"COM3", "\\\\.\\COM3"},          {"com12", "\\\\.\\COM12"},        {"COM255", "\\\\.\\COM255"},
        {"\\\\.\\COM10", "\\\\.\\COM10"}, {"\\\\.\\com10", "\\\\.\\COM10"}, {"\\\\.\\CNCA0", "\\\\.\\CNCA0"},
    };
    for (const auto& [text, device] : named) {
        const auto port = ParsePortName(text);
        ASSERT_TRUE(port) << text;
        EXPECT_EQ(port->device, device) << text;
    }
    EXPECT_EQ(ParsePortName("\\\\.\\COM10")->dos, "COM10");
    for (const char* text : {"COM0", "COM256", "COM", "COM03", "COM3x", "/dev/ttyS0", "ttyUSB0", "\\\\.\\",
                             "\\\\.\\a\\b", "C:\\ports\\COM3"})
        EXPECT_FALSE(ParsePortName(text)) << text;
}

TEST(WindowsSerialLink, AMissingPortAndLinuxOnlyConnectionsAreRefusedWithTheirReason) {
    LinkStatus status;
    EXPECT_FALSE(Link::Open(Parsed("serial:COM199,9600"), 1000, status));
    EXPECT_EQ(status.failure, Failure::UnknownPort) << status.text;
    EXPECT_NE(status.text.find("COM199"), std::string::npos) << status.text;
    EXPECT_FALSE(DevicePathPresent("COM199"));
    EXPECT_FALSE(DevicePathPresent("/dev/ttyS0"));

    for (const char* text :
         {"serial:/dev/ttyUSB0", "file:/dev/usb/lp0", "input:/dev/input/event3", "hidraw:/dev/hidraw0"}) {
        const Connection linuxOnly = Parsed(text);
        EXPECT_FALSE(Link::Open(linuxOnly, 1000, status)) << text;
        EXPECT_EQ(status.failure, Failure::BadConnection) << text;
        EXPECT_NE(status.text.find("n'existe que sous Linux"), std::string::npos) << status.text;
        EXPECT_EQ(UnreachableHere(linuxOnly), status.text);
    }
    EXPECT_NE(UnreachableHere(Parsed("serial:ttyUSB0")).find("n'est pas un nom de port"), std::string::npos);
    for (const char* text : {"serial:COM3", "serial:\\\\.\\COM10", "tcp:127.0.0.1:9100", "printer:Shop"})
        EXPECT_EQ(UnreachableHere(Parsed(text)), "") << text;
}
