// The virtual printer's behaviour without sockets: status answers for each
// sensor, automatic status back, the drawer, offline printing, receipts and
// the control channel.
#include <gtest/gtest.h>

#include "protocols/escpos/commands.h"
#include "printer_model.h"

using namespace zorv::virtual_printer;
namespace escpos = zorv::opos::escpos;

namespace {

struct StatusCase {
    std::vector<std::string> control;
    escpos::StatusQuery query;
    uint8_t answer;
};

TEST(VirtualPrinterModel, AnswersStatusQueriesFromItsSensors) {
    using Q = escpos::StatusQuery;
    const std::vector<StatusCase> cases{
        {{}, Q::Printer, 0x12},
        {{"drawer open"}, Q::Printer, 0x16},
        {{"cover open"}, Q::Printer, 0x1A},
        {{"cover open"}, Q::OfflineCause, 0x16},
        {{"paper empty"}, Q::OfflineCause, 0x32},
        {{"paper empty"}, Q::PaperSensor, 0x7E},
        {{"paper near-end"}, Q::PaperSensor, 0x1E},
        {{"paper empty", "paper ok"}, Q::PaperSensor, 0x12},
        {{"offline"}, Q::Printer, 0x1A},
        {{"offline", "online"}, Q::Printer, 0x12},
        {{"cover open"}, Q::ErrorCause, 0x12},
    };
    for (const StatusCase& c : cases) {
        PrinterModel model;
        for (const std::string& line : c.control)
            EXPECT_EQ(model.Control(line).text.substr(0, 2), "ok") << line;
        const Output out = model.Receive(escpos::RealTimeStatus(c.query));
        ASSERT_EQ(out.reply.size(), 1u);
        EXPECT_EQ(static_cast<uint8_t>(out.reply[0]), c.answer) << c.control.size();
    }
}

TEST(VirtualPrinterModel, SendsStatusBackWhenEnabledAndOnEveryChange) {
    PrinterModel model;
    EXPECT_TRUE(model.Control("cover open").toClient.empty());
    const Output enabled = model.Receive(escpos::AutomaticStatusBack(escpos::kAsbAll));
    EXPECT_EQ(enabled.reply, std::string("\x38\x00\x00\x00", 4));
    EXPECT_EQ(model.Control("cover closed").toClient, std::string("\x10\x00\x00\x00", 4));
    EXPECT_EQ(model.Control("paper near-end").toClient, std::string("\x10\x00\x03\x00", 4));
    model.Control("mute on");
    EXPECT_TRUE(model.Control("paper ok").toClient.empty());
    EXPECT_TRUE(model.Receive(escpos::RealTimeStatus(escpos::StatusQuery::Printer)).reply.empty());
    model.Connected();
    model.Control("mute off");
    EXPECT_TRUE(model.Control("cover open").toClient.empty())
        << "a new connection starts without status back";
}

TEST(VirtualPrinterModel, TheDrawerOpensOnAKickAndClosesFromTheControlChannel) {
    PrinterModel model;
    model.Receive(escpos::AutomaticStatusBack(escpos::kAsbAll));
    const Output kicked = model.Receive(escpos::DrawerKick(escpos::DrawerPin::Pin2, 100, 200));
    EXPECT_EQ(kicked.reply, std::string("\x14\x00\x00\x00", 4));
    EXPECT_EQ(kicked.transcript.back(), "drawer kick pin 2 on 100 ms off 200 ms (drawer opens)");
    EXPECT_TRUE(model.sensors().drawerOpen);
    EXPECT_EQ(model.Control("drawer closed").toClient, std::string("\x10\x00\x00\x00", 4));
}

TEST(VirtualPrinterModel, PrintsNothingWhileOfflineButStillAnswers) {
    PrinterModel model;
    model.Control("paper empty");
    const Output out = model.Receive("lost\n" + escpos::RealTimeStatus(escpos::StatusQuery::PaperSensor) +
                                     escpos::Cut(escpos::CutKind::Full));
    EXPECT_EQ(out.reply.size(), 1u);
    EXPECT_TRUE(out.receipts.empty());
    EXPECT_EQ(out.transcript.front(), "offline, not printed: text \"lost\"");
    EXPECT_EQ(model.receiptsDone(), 0);
}

TEST(VirtualPrinterModel, EachCutFinishesAReceipt) {
    PrinterModel model;
    const Output out = model.Receive("one\n" + escpos::Cut(escpos::CutKind::Partial) + "two\n" +
                                     escpos::Cut(escpos::CutKind::Full) + "three");
    ASSERT_EQ(out.receipts.size(), 2u);
    EXPECT_EQ(out.receipts[0].size(), 3u);
    EXPECT_EQ(model.receiptsDone(), 2);
    EXPECT_EQ(model.TakeUnfinished().size(), 1u);
    EXPECT_TRUE(model.TakeUnfinished().empty());
}

TEST(VirtualPrinterModel, ControlChannelSaysWhatItDid) {
    PrinterModel model;
    EXPECT_EQ(model.Control("send 12 1E").toClient, std::string("\x12\x1E"));
    EXPECT_EQ(model.Control("send 1").text.substr(0, 5), "error");
    EXPECT_EQ(model.Control("send zz").text.substr(0, 5), "error");
    EXPECT_TRUE(model.Control("disconnect").disconnect);
    EXPECT_NE(model.Control("jam paper").text.find("unknown command"), std::string::npos);
    EXPECT_NE(model.Control("help").text.find("cover open|closed"), std::string::npos);
    EXPECT_EQ(model.Control("  COVER   Open ").text.substr(0, 13), "ok cover open");
    EXPECT_EQ(model.Control("status").text.substr(0, 10), "cover open");
}

} // namespace
