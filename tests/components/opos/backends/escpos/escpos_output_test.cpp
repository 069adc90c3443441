// Output to a real printer through the writer thread: a printer that stops
// reading or drops the link mid-job, ten megabytes in one job, the answer to
// an output ErrorEvent, and the statistics real prints leave behind.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

#include "opos_test_support.h"
#include "platform/com/apartment.h"
#include "platform/com/bstr_value.h"
#include "scripted_peer.h"
#include "virtual_printer_fixture.h"

using namespace opos_test;
using namespace escpos_device_test;
using zorv::com::DrainPostedCalls;
using zorv::com::Utf8ToUtf16;
using Clock = std::chrono::steady_clock;

namespace {

constexpr LONG kReceipt = 2;
constexpr LONG kTransaction = 11, kTransactionEnd = 12;
constexpr LONG kRetry = 11, kClear = 12;
constexpr DISPID kErrorEvent = 2, kOutputComplete = 3;

// A block of print data just below the longest a call takes.
const std::u16string kBlock = std::u16string(60000, u'x') + u"\n";

// Calls posted from another thread every few milliseconds, with the time
// each one ran on the apartment.
class Ticker {
public:
    Ticker() {
        thread_ = std::thread([this] {
            while (!stop_) {
                zorv::com::PostCall([this] { ran_.push_back(Clock::now()); });
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        });
    }
    ~Ticker() {
        stop_ = true;
        thread_.join();
        DrainPostedCalls();
    }
    int RanBetween(Clock::time_point from, Clock::time_point to) const {
        int count = 0;
        for (const Clock::time_point at : ran_)
            count += at >= from && at <= to ? 1 : 0;
        return count;
    }

private:
    std::vector<Clock::time_point> ran_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

class EscPosOutput : public ::testing::Test {
protected:
    void SetUp() override {
        printer = Create(u"OPOS.POSPrinter");
        sink = AdviseSink(printer.Get());
    }
    void TearDown() override {
        Call(printer.Get(), u"Close");
        DrainPostedCalls();
    }
    LONG Print(const std::u16string& text) {
        return Call(printer.Get(), u"PrintNormal", {kReceipt, text.c_str()});
    }
    // Open, claim and enable with power notification, so that PowerState follows the link.
    void OpenNotified(const std::u16string& name) {
        ASSERT_EQ(Call(printer.Get(), u"Open", {name.c_str()}), 0);
        ASSERT_EQ(Call(printer.Get(), u"ClaimDevice", {LONG{3000}}), 0);
        ASSERT_EQ(Put(printer.Get(), u"PowerNotify", LONG{1}), 0);
        ASSERT_EQ(Put(printer.Get(), u"DeviceEnabled", true), 0);
    }
    bool PowerBecomes(LONG state, int timeoutMs = 5000) {
        return PumpUntil([&] { return Long(printer.Get(), u"PowerState") == state; }, timeoutMs);
    }
    std::vector<ReceivedEvent> Events(DISPID id) {
        std::vector<ReceivedEvent> found;
        for (const ReceivedEvent& e : sink->received)
            if (e.id == id)
                found.push_back(e);
        return found;
    }
    long long Statistic(std::u16string_view name) {
        zorv::com::Bstr buffer(name);
        if (Call(printer.Get(), u"RetrieveStatistics", {Arg::Ref(buffer)}) != 0)
            return -1;
        const std::u16string xml(buffer.Str());
        const auto at = xml.find(u"<Value>", xml.find(u"<Name>" + std::u16string(name) + u"</Name>"));
        return at == std::u16string::npos ? -1 : std::stoll(zorv::com::Utf16ToUtf8(xml.substr(at + 7, 20)));
    }

    ComPtr<IDispatch> printer;
    ComPtr<Sink> sink;
};

} // namespace

// A loopback listener whose accept queue is full drops new connections'
// first packets, as a host that does not answer would.
class SilentHost {
public:
    SilentHost() {
        listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        if (bind(listener_, reinterpret_cast<sockaddr*>(&address), size) != 0 || listen(listener_, 0) != 0 ||
            getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size) != 0)
            return;
        port_ = ntohs(address.sin_port);
        for (int& filler : fillers_) {
            filler = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
            (void)connect(filler, reinterpret_cast<sockaddr*>(&address), size);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    ~SilentHost() {
        for (const int filler : fillers_)
            close(filler);
        close(listener_);
    }
    int Port() const { return port_; }

private:
    int listener_ = -1;
    int port_ = 0;
    int fillers_[3] = {-1, -1, -1};
};

TEST_F(EscPosOutput, AHostThatDoesNotAnswerTimesOutAtClaimWhileTheApartmentRuns) {
    SilentHost host;
    ASSERT_NE(host.Port(), 0);
    ProfileFile profile("[TestSilentPrinter]\nkind = POSPrinter\nconnection = tcp:127.0.0.1:" +
                        std::to_string(host.Port()) + "\ntimeout = 1000\n");
    ASSERT_EQ(Call(printer.Get(), u"Open", {u"TestSilentPrinter"}), 0);
    Ticker ticker;
    const auto start = Clock::now();
    EXPECT_EQ(Call(printer.Get(), u"ClaimDevice", {LONG{3000}}), 112);
    const auto end = Clock::now();
    EXPECT_LT(end - start, std::chrono::milliseconds(2500));
    EXPECT_GT(ticker.RanBetween(start, end), 0) << "the apartment ran while the connection was tried";
    EXPECT_FALSE(Text(printer.Get(), u"CheckHealthText").empty());
}

TEST_F(EscPosOutput, APrinterThatStopsReadingFailsTheCallInTimeWhileTheApartmentRuns) {
    ScriptedPeer deaf(ScriptedPeer::Then::StopReading, "STOP-READING");
    ProfileFile profile("[TestDeafPrinter]\nkind = POSPrinter\nconnection = " +
                        zorv::com::Utf16ToUtf8(deaf.Connection()) + "\ntimeout = 1000\n");
    OpenReady(printer.Get(), u"TestDeafPrinter");
    ASSERT_TRUE(Bool(printer.Get(), u"DeviceEnabled"));
    Ticker ticker;
    ASSERT_EQ(Print(u"STOP-READING\n"), 0);
    // Calls succeed while the link's buffers take the data, then one waits.
    LONG code = 0;
    Clock::time_point start, end;
    for (int i = 0; i < 400 && code == 0; ++i) {
        start = Clock::now();
        code = Print(kBlock);
        end = Clock::now();
    }
    EXPECT_EQ(code, 112);
    EXPECT_GE(end - start, std::chrono::milliseconds(900)) << "the printer took nothing for the timeout";
    EXPECT_LT(end - start, std::chrono::milliseconds(2500));
    EXPECT_GE(ticker.RanBetween(start, end), 10) << "posted calls ran during the wait";
    EXPECT_NE(Text(printer.Get(), u"ErrorString").find(u"took no data"), std::u16string::npos);
    const auto closing = Clock::now();
    EXPECT_EQ(Call(printer.Get(), u"Close"), 0);
    EXPECT_LT(Clock::now() - closing, std::chrono::seconds(1)) << "closing cuts the stuck send short";
}

TEST_F(EscPosOutput, APrinterThatDropsTheLinkMidJobGives107AndComesBack) {
    ScriptedPeer dropping(ScriptedPeer::Then::Close, "CLOSE-HERE");
    OpenNotified(dropping.Connection());
    ASSERT_EQ(Call(printer.Get(), u"TransactionPrint", {kReceipt, kTransaction}), 0);
    ASSERT_EQ(Print(u"CLOSE-HERE\n"), 0);
    // More than the link's buffers hold, so the drop comes mid-job.
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(Print(kBlock), 0);
    EXPECT_EQ(Call(printer.Get(), u"TransactionPrint", {kReceipt, kTransactionEnd}), 107);
    EXPECT_FALSE(Text(printer.Get(), u"ErrorString").empty());
    EXPECT_EQ(Long(printer.Get(), u"PowerState"), 2004);
    ASSERT_TRUE(PowerBecomes(2001)) << "the printer listens again";
    const size_t before = dropping.Received();
    EXPECT_EQ(Print(u"after the drop\n"), 0);
    EXPECT_TRUE(PumpUntil([&] { return dropping.Received() > before; }));
}

TEST_F(EscPosOutput, TenMegabytesInOneJobGoThrough) {
    ScriptedPeer reader;
    OpenReady(printer.Get(), reader.Connection().c_str());
    ASSERT_EQ(Call(printer.Get(), u"TransactionPrint", {kReceipt, kTransaction}), 0);
    const size_t blocks = (10u << 20) / kBlock.size() + 1;
    for (size_t i = 0; i < blocks; ++i)
        ASSERT_EQ(Print(kBlock), 0);
    Ticker ticker;
    const auto start = Clock::now();
    EXPECT_EQ(Call(printer.Get(), u"TransactionPrint", {kReceipt, kTransactionEnd}), 0);
    const auto end = Clock::now();
    EXPECT_GE(reader.Received(), size_t{10} << 20);
    EXPECT_EQ(Long(printer.Get(), u"State"), 2) << "idle again";
    if (end - start > std::chrono::milliseconds(100)) {
        EXPECT_GT(ticker.RanBetween(start, end), 0) << "the apartment ran while the job went out";
    }
}

TEST_F(EscPosOutput, RetryResendsAFailedJobAndClearDropsIt) {
    VirtualPrinter virtualPrinter;
    ASSERT_TRUE(virtualPrinter.Running());
    OpenNotified(virtualPrinter.Connection());
    ASSERT_EQ(Put(printer.Get(), u"AsyncMode", true), 0);

    // The operator answers retry once the printer is back, as after a
    // message box asking to switch it on.
    sink->errorResponse = kRetry;
    sink->reaction = [&](const ReceivedEvent& e) {
        if (e.id == kErrorEvent)
            PowerBecomes(2001);
    };
    virtualPrinter.Control("disconnect");
    ASSERT_TRUE(PowerBecomes(2004));
    ASSERT_EQ(Print(u"sent again after the error\n"), 0);
    ASSERT_TRUE(PumpUntil([&] { return Events(kOutputComplete).size() == 1; }, 8000));
    ASSERT_EQ(Events(kErrorEvent).size(), 1u);
    const ReceivedEvent error = Events(kErrorEvent).front();
    EXPECT_EQ(error.numbers.at(0), 107);
    EXPECT_EQ(error.numbers.at(2), 1) << "locus output";
    const std::string transcript = virtualPrinter.Transcript("sent again after the error");
    EXPECT_NE(transcript.find("sent again after the error"), std::string::npos);

    sink->errorResponse = kClear;
    sink->reaction = nullptr;
    virtualPrinter.Control("disconnect");
    ASSERT_TRUE(PowerBecomes(2004));
    ASSERT_EQ(Print(u"dropped after the error\n"), 0);
    ASSERT_TRUE(PumpUntil([&] { return Events(kErrorEvent).size() == 2; }));
    ASSERT_TRUE(PowerBecomes(2001));
    ASSERT_EQ(Print(u"the next job\n"), 0);
    ASSERT_TRUE(PumpUntil([&] { return Events(kOutputComplete).size() == 2; }));
    EXPECT_EQ(virtualPrinter.Transcript("the next job").find("dropped after the error"), std::string::npos);
}

TEST_F(EscPosOutput, StatisticsCountWhatReallyPrintedAndFailed) {
    VirtualPrinter virtualPrinter;
    ASSERT_TRUE(virtualPrinter.Running());
    OpenNotified(virtualPrinter.Connection());
    ASSERT_EQ(Call(printer.Get(), u"ResetStatistics", {u""}), 0);
    EXPECT_EQ(Print(u"one\ntwo\n\x1b|bCthree\x1b|N\n"), 0);
    EXPECT_EQ(Call(printer.Get(), u"CutPaper", {LONG{100}}), 0);
    EXPECT_EQ(Call(printer.Get(), u"PrintBarCode",
                   {kReceipt, u"4006381333931", LONG{104}, LONG{80}, LONG{2}, LONG{-2}, LONG{-13}}),
              0);
    virtualPrinter.Control("cover open");
    ASSERT_TRUE(PumpUntil([&] { return Bool(printer.Get(), u"CoverOpen"); }));
    EXPECT_EQ(Print(u"refused before sending\n"), 114);
    virtualPrinter.Control("cover closed");
    ASSERT_TRUE(PumpUntil([&] { return !Bool(printer.Get(), u"CoverOpen"); }));
    virtualPrinter.Control("disconnect");
    ASSERT_TRUE(PowerBecomes(2004));
    EXPECT_EQ(Print(u"lost\n"), 107);
    ASSERT_TRUE(virtualPrinter.Transcript("cut full").find("cut full") != std::string::npos);
    EXPECT_EQ(Statistic(u"ReceiptLinePrintedCount"), 3);
    EXPECT_EQ(Statistic(u"ReceiptCharacterPrintedCount"), 11);
    EXPECT_EQ(Statistic(u"PaperCutCount"), 1);
    EXPECT_EQ(Statistic(u"BarcodePrintedCount"), 1);
    EXPECT_EQ(Statistic(u"PrinterFaultCount"), 1) << "the lost line, not the refused one";
    EXPECT_EQ(Statistic(u"ReceiptCoverOpenCount"), 1);
    EXPECT_GE(Statistic(u"CommunicationErrorCount"), 1);
}

// A serial printer at about 25 KB/s, played on a pseudo-terminal: a status
// query asked while a long job goes out waits for the job, then is
// answered; its timeout counts from when it went out.
TEST_F(EscPosOutput, AStatusQueryWaitsForTheJobAheadOfItOnASlowLine) {
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    const std::string slave = ptsname(master);
    std::atomic<bool> stop{false};
    std::atomic<size_t> received{0};
    std::thread peer([&] {
        char buffer[256];
        std::string seen;
        while (!stop) {
            pollfd p{master, POLLIN, 0};
            if (poll(&p, 1, 50) <= 0)
                continue;
            const ssize_t n = read(master, buffer, sizeof buffer);
            if (n <= 0)
                continue;
            received += static_cast<size_t>(n);
            // A query may be split between two reads: look at it with the
            // last two bytes of the read before.
            seen.append(buffer, static_cast<size_t>(n));
            for (size_t i = 0; i + 2 < seen.size(); ++i)
                if (seen[i] == 0x10 && seen[i + 1] == 0x04) {
                    const char idle = 0x12;
                    (void)!write(master, &idle, 1);
                }
            seen.erase(0, seen.size() > 2 ? seen.size() - 2 : 0);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    });
    ProfileFile profile("[TestSlowPrinter]\nkind = POSPrinter\nconnection = serial:" + slave +
                        ",115200\ntimeout = 1000\n");
    OpenNotified(u"TestSlowPrinter");
    ASSERT_EQ(Put(printer.Get(), u"AsyncMode", true), 0);
    ASSERT_EQ(Print(kBlock), 0);
    ASSERT_TRUE(PumpUntil([&] { return received > 4096; }));
    const auto start = Clock::now();
    const DirectIOResult status = DirectIO(printer.Get(), 101, 1);
    EXPECT_EQ(status.code, 0) << "answered once the job ahead was out";
    EXPECT_GT(Clock::now() - start, std::chrono::milliseconds(1000)) << "it did wait behind the job";
    EXPECT_TRUE(PumpUntil([&] { return Events(kOutputComplete).size() == 1; }, 5000));
    EXPECT_EQ(Long(printer.Get(), u"PowerState"), 2001) << "never taken for offline";
    Call(printer.Get(), u"Close");
    stop = true;
    peer.join();
    close(master);
}
