// Status from a real printer beyond the plain case: a printer without
// automatic status back is polled (sensors, drawer, a printer that stops
// answering), and bytes that are not a status (a report cut short, bits a
// status cannot have) change nothing and stop nothing.
#include <gtest/gtest.h>

#include <thread>

#include "opos_test_support.h"
#include "platform/com/apartment.h"
#include "virtual_printer_fixture.h"

using namespace opos_test;
using namespace escpos_device_test;
using zorv::com::DrainPostedCalls;
using Clock = std::chrono::steady_clock;

namespace {

constexpr DISPID kPrinterStatusUpdate = 4, kDrawerStatusUpdate = 2;

size_t Occurrences(const std::string& text, const std::string& word) {
    size_t count = 0;
    for (auto at = text.find(word); at != std::string::npos; at = text.find(word, at + 1))
        ++count;
    return count;
}

std::vector<LONG> Numbers(const Sink& sink, DISPID id) {
    std::vector<LONG> numbers;
    for (const ReceivedEvent& e : sink.received)
        if (e.id == id)
            numbers.push_back(e.numbers.at(0));
    return numbers;
}

class EscPosStatus : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(virtualPrinter.Running());
        printer = Create(u"OPOS.POSPrinter");
        drawer = Create(u"OPOS.CashDrawer");
        printerSink = AdviseSink(printer.Get());
        drawerSink = AdviseSink(drawer.Get());
    }
    void TearDown() override {
        Call(drawer.Get(), u"Close");
        Call(printer.Get(), u"Close");
        DrainPostedCalls();
    }
    // A printer and its drawer under profile names, with `keys` added to the printer.
    std::string Profiles(const std::string& keys) {
        return "[TestStatusPrinter]\nkind = POSPrinter\nconnection = tcp:127.0.0.1:" +
               std::to_string(virtualPrinter.PrintPort()) + "\n" + keys +
               "[TestStatusDrawer]\nkind = CashDrawer\nconnection = printer:TestStatusPrinter\n";
    }
    static void OpenNotified(IDispatch* device, const char16_t* name) {
        ASSERT_EQ(Call(device, u"Open", {name}), 0);
        ASSERT_EQ(Call(device, u"ClaimDevice", {LONG{3000}}), 0);
        ASSERT_EQ(Put(device, u"PowerNotify", LONG{1}), 0);
        ASSERT_EQ(Put(device, u"DeviceEnabled", true), 0);
    }
    bool Becomes(IDispatch* device, const char16_t* property, bool wanted) {
        return PumpUntil([&] { return Bool(device, property) == wanted; });
    }
    bool PowerBecomes(IDispatch* device, LONG state) {
        return PumpUntil([&] { return Long(device, u"PowerState") == state; }, 5000);
    }

    VirtualPrinter virtualPrinter;
    ComPtr<IDispatch> printer, drawer;
    ComPtr<Sink> printerSink, drawerSink;
};

} // namespace

TEST_F(EscPosStatus, WithoutStatusBackTheSensorsArePolledAtTheirInterval) {
    ProfileFile profile(Profiles("status_back = no\nstatus_poll = 200\n"));
    OpenReady(printer.Get(), u"TestStatusPrinter");
    OpenReady(drawer.Get(), u"TestStatusDrawer");
    EXPECT_NE(virtualPrinter.Transcript("automatic status back 00").find("automatic status back 00"),
              std::string::npos);

    // Nothing is asked by the test: the sensors come in through the polls.
    virtualPrinter.Control("cover open");
    ASSERT_TRUE(Becomes(printer.Get(), u"CoverOpen", true));
    virtualPrinter.Control("cover closed");
    ASSERT_TRUE(Becomes(printer.Get(), u"CoverOpen", false));
    virtualPrinter.Control("paper near-end");
    ASSERT_TRUE(Becomes(printer.Get(), u"RecNearEnd", true));
    virtualPrinter.Control("paper ok");
    ASSERT_TRUE(Becomes(printer.Get(), u"RecNearEnd", false));
    virtualPrinter.Control("drawer open");
    ASSERT_TRUE(Becomes(drawer.Get(), u"DrawerOpened", true));
    virtualPrinter.Control("drawer closed");
    ASSERT_TRUE(Becomes(drawer.Get(), u"DrawerOpened", false));
    DrainPostedCalls();
    EXPECT_EQ(Numbers(*printerSink, kPrinterStatusUpdate), (std::vector<LONG>{11, 12, 25, 26}));
    EXPECT_EQ(Numbers(*drawerSink, kDrawerStatusUpdate), (std::vector<LONG>{1, 0}));

    // A round of three queries every 200 ms: a steady pace, not a busy loop.
    const size_t before = Occurrences(virtualPrinter.Transcript(), "status query 4");
    PumpUntil([] { return false; }, 1000);
    const size_t rounds = Occurrences(virtualPrinter.Transcript(), "status query 4") - before;
    EXPECT_GE(rounds, 3u);
    EXPECT_LE(rounds, 7u);
}

TEST_F(EscPosStatus, APrinterThatStopsAnsweringThePollsIsOfflineAndTheDrawerSays108Then107) {
    ProfileFile profile(Profiles("status_back = no\nstatus_poll = 200\ntimeout = 1000\n"));
    OpenNotified(printer.Get(), u"TestStatusPrinter");
    OpenNotified(drawer.Get(), u"TestStatusDrawer");
    EXPECT_EQ(Long(printer.Get(), u"PowerState"), 2001);

    virtualPrinter.Control("mute on");
    ASSERT_TRUE(PowerBecomes(printer.Get(), 2003)) << "no call needed: the polls go unanswered";
    EXPECT_EQ(Long(drawer.Get(), u"PowerState"), 2003);
    EXPECT_EQ(Call(drawer.Get(), u"OpenDrawer"), 108);
    virtualPrinter.Control("mute off");
    ASSERT_TRUE(PowerBecomes(printer.Get(), 2001));
    EXPECT_EQ(Call(drawer.Get(), u"OpenDrawer"), 0);
    EXPECT_NE(virtualPrinter.Transcript("drawer kick").find("drawer kick"), std::string::npos);

    virtualPrinter.Stop();
    ASSERT_TRUE(PowerBecomes(drawer.Get(), 2004));
    EXPECT_EQ(Call(drawer.Get(), u"OpenDrawer"), 107);
    DrainPostedCalls();
    std::vector<LONG> power;
    for (LONG status : Numbers(*printerSink, kPrinterStatusUpdate))
        if (status >= 2001)
            power.push_back(status);
    EXPECT_EQ(power, (std::vector<LONG>{2003, 2001, 2004}));
}

TEST_F(EscPosStatus, AKickWithNoAnswerAfterItIs108) {
    ProfileFile profile(Profiles("timeout = 1000\n"));
    OpenReady(drawer.Get(), u"TestStatusDrawer");
    virtualPrinter.Control("mute on");
    EXPECT_EQ(Call(drawer.Get(), u"OpenDrawer"), 108) << "the kick went, the printer never confirmed it";
    EXPECT_EQ(Call(drawer.Get(), u"OpenDrawer"), 108) << "known offline: nothing sent";
    EXPECT_EQ(Occurrences(virtualPrinter.Transcript("drawer kick pin"), "drawer kick pin"), 1u);
}

TEST_F(EscPosStatus, ReportsCutShortOrWithImpossibleBitsChangeNothing) {
    ProfileFile profile(Profiles("timeout = 1000\n"));
    OpenReady(printer.Get(), u"TestStatusPrinter");
    // Half an automatic report, then an answer: the answer still counts.
    virtualPrinter.Control("send 10 00");
    const DirectIOResult answered = DirectIO(printer.Get(), 101, 1);
    EXPECT_EQ(answered.code, 0);
    EXPECT_EQ(answered.data & 0x93, 0x12);
    // A whole report whose paper sensor is half set.
    virtualPrinter.Control("send 10 00 01 00");
    // A real-time answer with the same fault while a query waits, the
    // printer itself silent: the query gets no answer.
    virtualPrinter.Control("mute on");
    std::thread noise([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        virtualPrinter.Control("send 16");
    });
    const auto start = Clock::now();
    EXPECT_EQ(DirectIO(printer.Get(), 101, 4).code, 112);
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(2500));
    noise.join();
    EXPECT_FALSE(Bool(printer.Get(), u"RecNearEnd"));
    EXPECT_FALSE(Bool(printer.Get(), u"RecEmpty"));
    EXPECT_FALSE(Bool(printer.Get(), u"CoverOpen"));

    virtualPrinter.Control("mute off");
    EXPECT_EQ(Call(printer.Get(), u"CheckHealth", {LONG{1}}), 0);
    virtualPrinter.Control("paper near-end");
    EXPECT_TRUE(Becomes(printer.Get(), u"RecNearEnd", true)) << "real reports still read";
}
