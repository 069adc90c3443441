// What a printer sends is kept within bounds: a peer that floods the link
// and paths that never end (/dev/zero, /dev/urandom, /dev/full) cost a
// bounded buffer, never the process's memory, and no wait stalls on them.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <string>
#include <thread>

#include "opos_test_support.h"
#include "platform/com/apartment.h"
#include "scripted_peer.h"
#include "virtual_printer_fixture.h"

using namespace opos_test;
using namespace escpos_device_test;
using Clock = std::chrono::steady_clock;

namespace {

// The resident set of this process, in KB.
long ResidentKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return 0;
}

// AddressSanitizer keeps freed memory in quarantine: the resident set says
// nothing about what the program holds there.
// Unoptimised and checked, everything runs several times slower there too.
#if defined(__SANITIZE_ADDRESS__)
constexpr long kMostGrowthKb = 1024 * 1024;
constexpr int kSlowdown = 3;
#else
constexpr long kMostGrowthKb = 16 * 1024;
constexpr int kSlowdown = 1;
#endif

class EscPosInputBounds : public ::testing::Test {
protected:
    void SetUp() override { printer = Create(u"OPOS.POSPrinter"); }
    void TearDown() override {
        Call(printer.Get(), u"Close");
        zorv::com::DrainPostedCalls();
    }
    // Pumps for `ms`, noting the largest resident set seen.
    bool PumpWatching(const std::function<bool()>& done, int ms) {
        return PumpUntil(
            [&] {
                peakKb = std::max(peakKb, ResidentKb());
                return done();
            },
            ms);
    }

    ComPtr<IDispatch> printer;
    long peakKb = 0;
};

} // namespace

TEST_F(EscPosInputBounds, APeerThatFloodsTheLinkIsNeitherHeldNorStallsAWait) {
    constexpr size_t kFlood = size_t{48} << 20;
    ScriptedPeer flooding;
    flooding.Flood(kFlood);
    ProfileFile profile("[TestFloodingPrinter]\nkind = POSPrinter\nconnection = " +
                        zorv::com::Utf16ToUtf8(flooding.Connection()) + "\ntimeout = 5000\n");
    ASSERT_EQ(Call(printer.Get(), u"Open", {u"TestFloodingPrinter"}), 0);
    const long before = ResidentKb();
    peakKb = before;
    ASSERT_EQ(Call(printer.Get(), u"ClaimDevice", {LONG{3000}}), 0);
    // The apartment looks away for a moment: the link keeps what fits.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const auto start = Clock::now();
    EXPECT_FALSE(PumpWatching([] { return false; }, 500));
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(1500 * kSlowdown)) << "the wait ended on time";
    EXPECT_TRUE(PumpWatching([&] { return flooding.Flooded() == kFlood; }, 60000));
    EXPECT_LT(peakKb - before, kMostGrowthKb) << "resident set grew by " << peakKb - before << " KB";
    // The flood over, the printer answers once the megabytes still on their
    // way through the sockets are read (hence the printer's longer timeout);
    // what was dropped is told.
    ASSERT_EQ(Put(printer.Get(), u"DeviceEnabled", true), 0);
    EXPECT_EQ(Call(printer.Get(), u"CheckHealth", {LONG{1}}), 0);
    EXPECT_NE(Text(printer.Get(), u"CheckHealthText").find(u"dropped"), std::u16string::npos)
        << zorv::com::Utf16ToUtf8(Text(printer.Get(), u"CheckHealthText"));
}

TEST_F(EscPosInputBounds, PathsThatNeverEndAreReadWithinBoundsAndEnablingAnswersInTime) {
    for (const std::string path : {"/dev/zero", "/dev/urandom", "/dev/full"}) {
        SCOPED_TRACE(path);
        ProfileFile profile("[TestEndlessPrinter]\nkind = POSPrinter\nconnection = file:" + path +
                            "\ntimeout = 500\n");
        ASSERT_EQ(Call(printer.Get(), u"Open", {u"TestEndlessPrinter"}), 0);
        const long before = ResidentKb();
        peakKb = before;
        const auto start = Clock::now();
        if (Call(printer.Get(), u"ClaimDevice", {LONG{1000}}) == 0)
            Put(printer.Get(), u"DeviceEnabled", true);
        EXPECT_LT(Clock::now() - start, std::chrono::seconds(5 * kSlowdown));
        PumpWatching([] { return false; }, 500);
        EXPECT_LT(peakKb - before, kMostGrowthKb) << "resident set grew by " << peakKb - before << " KB";
        const auto closing = Clock::now();
        EXPECT_EQ(Call(printer.Get(), u"Close"), 0);
        EXPECT_LT(Clock::now() - closing, std::chrono::seconds(2));
    }
}
