// The cash drawer on the printer's kick port: one link shared with the
// printer, the pulse on the configured pin, the sensor through status.
#include <gtest/gtest.h>

#include <thread>

#include "opos_test_support.h"
#include "platform/com/apartment.h"
#include "virtual_printer_fixture.h"

using namespace opos_test;
using namespace escpos_device_test;
using zorv::com::DrainPostedCalls;

namespace {

constexpr DISPID kDrawerStatusUpdate = 2;

class EscPosDrawer : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(virtualPrinter.Running());
        drawer = Create(u"OPOS.CashDrawer");
        sink = AdviseSink(drawer.Get());
        name = u"printer:" + virtualPrinter.Connection();
    }
    void TearDown() override {
        Call(drawer.Get(), u"Close");
        DrainPostedCalls();
    }
    std::vector<LONG> Statuses() {
        std::vector<LONG> numbers;
        for (const ReceivedEvent& e : sink->received)
            if (e.id == kDrawerStatusUpdate)
                numbers.push_back(e.numbers.at(0));
        return numbers;
    }

    VirtualPrinter virtualPrinter;
    ComPtr<IDispatch> drawer;
    ComPtr<Sink> sink;
    std::u16string name;
};

} // namespace

TEST_F(EscPosDrawer, KickOpensAndTheSensorTellsOpenAndClosed) {
    OpenReady(drawer.Get(), name.c_str());
    EXPECT_FALSE(Bool(drawer.Get(), u"DrawerOpened"));
    EXPECT_EQ(Call(drawer.Get(), u"OpenDrawer"), 0);
    EXPECT_TRUE(PumpUntil([&] { return Bool(drawer.Get(), u"DrawerOpened"); }));
    EXPECT_NE(virtualPrinter.Transcript("drawer kick").find("drawer kick pin 2 on 100 ms off 200 ms"),
              std::string::npos);
    virtualPrinter.Control("drawer closed");
    EXPECT_TRUE(PumpUntil([&] { return !Bool(drawer.Get(), u"DrawerOpened"); }));
    DrainPostedCalls();
    EXPECT_EQ(Statuses(), (std::vector<LONG>{1, 0}));
}

TEST_F(EscPosDrawer, WaitForDrawerCloseWaitsOnTheRealSensor) {
    OpenReady(drawer.Get(), name.c_str());
    ASSERT_EQ(Call(drawer.Get(), u"OpenDrawer"), 0);
    ASSERT_TRUE(PumpUntil([&] { return Bool(drawer.Get(), u"DrawerOpened"); }));
    std::thread closer([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        virtualPrinter.Control("drawer closed");
    });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Call(drawer.Get(), u"WaitForDrawerClose", {LONG{5000}, LONG{500}, LONG{100}, LONG{100}}), 0);
    closer.join();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_FALSE(Bool(drawer.Get(), u"DrawerOpened"));
}

TEST_F(EscPosDrawer, SharesThePrintersLinkAndFailsWhenThePrinterIsGone) {
    auto printer = Create(u"OPOS.POSPrinter");
    const std::u16string connection = virtualPrinter.Connection();
    OpenReady(printer.Get(), connection.c_str());
    OpenReady(drawer.Get(), name.c_str());
    EXPECT_EQ(Call(printer.Get(), u"PrintNormal", {LONG{2}, u"with a drawer\n"}), 0);
    EXPECT_EQ(Call(drawer.Get(), u"OpenDrawer"), 0);
    const std::string transcript = virtualPrinter.Transcript("drawer kick");
    EXPECT_NE(transcript.find("with a drawer"), std::string::npos);
    EXPECT_EQ(virtualPrinter.Control("status").find("error"), std::string::npos);
    Call(printer.Get(), u"Close");
    EXPECT_EQ(Call(drawer.Get(), u"OpenDrawer"), 0) << "the drawer still holds the link";

    virtualPrinter.Stop();
    PumpUntil([&] { return Long(drawer.Get(), u"PowerState") != 2001; }, 1000);
    const LONG code = Call(drawer.Get(), u"OpenDrawer");
    EXPECT_TRUE(code == 107 || code == 108) << code;
}

TEST_F(EscPosDrawer, APrinterThatIsNotThereIsRefusedAtClaim) {
    ASSERT_EQ(Call(drawer.Get(), u"Open", {u"printer:NoSuchPrinterAnywhere"}), 0);
    EXPECT_EQ(Call(drawer.Get(), u"ClaimDevice", {LONG{1000}}), 107);
    EXPECT_NE(Text(drawer.Get(), u"CheckHealthText").find(u"NoSuchPrinterAnywhere"), std::u16string::npos)
        << zorv::com::Utf16ToUtf8(Text(drawer.Get(), u"CheckHealthText"));
}
