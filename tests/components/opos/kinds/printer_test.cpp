// The printer's stations and sensors: what refuses output and with which
// extended code, asynchronous output and its completion or error, and what
// was printed read back.
#include <gtest/gtest.h>

#include "opos_test_support.h"
#include "platform/com/apartment.h"

using namespace opos_test;
using zorv::com::DrainPostedCalls;

namespace {

constexpr LONG kJournal = 1, kReceipt = 2, kSlip = 4;

class Printing : public ::testing::Test {
protected:
    void SetUp() override {
        printer = Create(u"OPOS.POSPrinter");
        sink = AdviseSink(printer.Get());
        OpenReady(printer.Get(), u"SimPrinter");
    }
    void TearDown() override { DrainPostedCalls(); }

    LONG Print(LONG station, const char16_t* text) {
        return Call(printer.Get(), u"PrintNormal", {station, text});
    }
    std::u16string Printed(LONG station) { return DirectIO(printer.Get(), kReadBack, station).text; }
    LONG Sense(LONG what, const char16_t* state) {
        return DirectIO(printer.Get(), kSensor, what, state).code;
    }
    std::vector<LONG> StatusUpdates() {
        std::vector<LONG> statuses;
        for (const ReceivedEvent& e : sink->received)
            if (e.id == 4)
                statuses.push_back(e.numbers.at(0));
        return statuses;
    }

    ComPtr<IDispatch> printer;
    ComPtr<Sink> sink;
};

} // namespace

TEST_F(Printing, EachStationKeepsWhatItPrinted) {
    EXPECT_EQ(Print(kReceipt, u"receipt line\n"), 0);
    EXPECT_EQ(Print(kJournal, u"journal line\n"), 0);
    EXPECT_EQ(Call(printer.Get(), u"PrintImmediate", {kSlip, u"slip line\n"}), 0);
    EXPECT_EQ(Printed(kReceipt), u"receipt line\n");
    EXPECT_EQ(Printed(kJournal), u"journal line\n");
    EXPECT_EQ(Printed(kSlip), u"slip line\n");
    EXPECT_EQ(Print(3, u"two stations at once"), 106);
}

TEST_F(Printing, SensorsRefuseOutputWithTheStandardCodes) {
    struct Case {
        LONG sensor;
        const char16_t* state;
        LONG station;
        LONG result;
        LONG extended;
        LONG status;
    };
    const Case cases[] = {
        {0, u"open", kReceipt, 114, 201, 11},         {0, u"closed", kReceipt, 0, 0, 12},
        {kJournal, u"empty", kJournal, 114, 202, 21}, {kJournal, u"ok", kJournal, 0, 0, 23},
        {kReceipt, u"empty", kReceipt, 114, 203, 24}, {kReceipt, u"nearend", kReceipt, 0, 0, 25},
        {kSlip, u"empty", kSlip, 114, 204, 27},       {kSlip, u"ok", kSlip, 0, 0, 29},
    };
    std::vector<LONG> expectedStatuses;
    for (const Case& c : cases) {
        ASSERT_EQ(Sense(c.sensor, c.state), 0);
        EXPECT_EQ(Print(c.station, u"x"), c.result);
        EXPECT_EQ(Long(printer.Get(), u"ResultCodeExtended"), c.extended);
        expectedStatuses.push_back(c.status);
    }
    EXPECT_TRUE(Bool(printer.Get(), u"RecNearEnd"));
    EXPECT_EQ(Sense(kReceipt, u"soggy"), 106);
    DrainPostedCalls();
    EXPECT_EQ(StatusUpdates(), expectedStatuses);
}

TEST_F(Printing, StationsThatAreNotThereRefuse) {
    auto receiptOnly = Create(u"OPOS.POSPrinter");
    OpenReady(receiptOnly.Get(), u"SimReceiptPrinter");
    EXPECT_FALSE(Bool(receiptOnly.Get(), u"CapJrnPresent"));
    EXPECT_EQ(Call(receiptOnly.Get(), u"PrintNormal", {kJournal, u"x"}), 106);
    EXPECT_EQ(Call(receiptOnly.Get(), u"PrintNormal", {kSlip, u"x"}), 106);
    EXPECT_EQ(Call(receiptOnly.Get(), u"PrintNormal", {kReceipt, u"x"}), 0);
}

TEST_F(Printing, OutputNeedsClaimAndEnable) {
    auto other = Create(u"OPOS.POSPrinter");
    ASSERT_EQ(Call(other.Get(), u"Open", {u"SimReceiptPrinter"}), 0);
    EXPECT_EQ(Call(other.Get(), u"PrintNormal", {kReceipt, u"x"}), 103);
    ASSERT_EQ(Call(other.Get(), u"Claim", {LONG{0}}), 0);
    EXPECT_EQ(Call(other.Get(), u"PrintNormal", {kReceipt, u"x"}), 105);
}

TEST_F(Printing, AsyncOutputCompletesWhenTheQueueRuns) {
    ASSERT_EQ(Put(printer.Get(), u"AsyncMode", true), 0);
    EXPECT_EQ(Print(kReceipt, u"one\n"), 0);
    EXPECT_EQ(Long(printer.Get(), u"OutputID"), 1);
    EXPECT_EQ(Print(kReceipt, u"two\n"), 0);
    EXPECT_EQ(Long(printer.Get(), u"OutputID"), 2);
    EXPECT_EQ(Long(printer.Get(), u"State"), 3);
    EXPECT_EQ(Printed(kReceipt), u"");
    DrainPostedCalls();
    EXPECT_EQ(Printed(kReceipt), u"one\ntwo\n");
    EXPECT_EQ(Long(printer.Get(), u"State"), 2);
    ASSERT_EQ(sink->received.size(), 2u);
    EXPECT_EQ(sink->received[0].id, 3);
    EXPECT_EQ(sink->received[0].numbers, std::vector<LONG>{1});
    EXPECT_EQ(sink->received[1].numbers, std::vector<LONG>{2});
}

TEST_F(Printing, AsyncOutputBlockedByTheCoverAsksTheApplication) {
    ASSERT_EQ(Put(printer.Get(), u"AsyncMode", true), 0);
    ASSERT_EQ(Sense(0, u"open"), 0);
    ASSERT_EQ(Print(kReceipt, u"waiting\n"), 0);
    DrainPostedCalls();
    ASSERT_EQ(sink->received.size(), 2u);
    EXPECT_EQ(sink->received[1].id, 2);
    EXPECT_EQ(sink->received[1].numbers, (std::vector<LONG>{114, 201, 1, 11}))
        << "locus output, retry proposed";
    EXPECT_EQ(Long(printer.Get(), u"State"), 3) << "retried: still queued";

    ASSERT_EQ(Sense(0, u"closed"), 0);
    DrainPostedCalls();
    EXPECT_EQ(Printed(kReceipt), u"waiting\n");
    EXPECT_EQ(sink->received.back().id, 3);

    sink->errorResponse = 12;
    ASSERT_EQ(Sense(kReceipt, u"empty"), 0);
    ASSERT_EQ(Print(kReceipt, u"dropped\n"), 0);
    DrainPostedCalls();
    EXPECT_EQ(Long(printer.Get(), u"State"), 2) << "cleared";
    ASSERT_EQ(Sense(kReceipt, u"ok"), 0);
    DrainPostedCalls();
    EXPECT_EQ(Printed(kReceipt), u"waiting\n");
}

TEST_F(Printing, TransactionsPrintAtTheirEnd) {
    ASSERT_EQ(Call(printer.Get(), u"TransactionPrint", {kReceipt, LONG{11}}), 0);
    ASSERT_EQ(Print(kReceipt, u"a\n"), 0);
    ASSERT_EQ(Print(kReceipt, u"b\n"), 0);
    EXPECT_EQ(Printed(kReceipt), u"");
    ASSERT_EQ(Call(printer.Get(), u"TransactionPrint", {kReceipt, LONG{12}}), 0);
    EXPECT_EQ(Printed(kReceipt), u"a\nb\n");
    EXPECT_EQ(Call(printer.Get(), u"TransactionPrint", {kReceipt, LONG{12}}), 106);
}

TEST_F(Printing, CutsBarCodesAndLineWidthsFollowTheCapabilities) {
    EXPECT_EQ(Call(printer.Get(), u"CutPaper", {LONG{50}}), 0);
    EXPECT_EQ(Printed(kReceipt), u"\x1b|50P");
    EXPECT_EQ(Call(printer.Get(), u"CutPaper", {LONG{150}}), 106);
    EXPECT_EQ(Call(printer.Get(), u"PrintBarCode",
                   {kReceipt, u"012345678905", LONG{101}, LONG{50}, LONG{200}, LONG{-2}, LONG{-13}}),
              0);
    EXPECT_EQ(Call(printer.Get(), u"PrintBarCode",
                   {kSlip, u"012345678905", LONG{101}, LONG{50}, LONG{200}, LONG{-2}, LONG{-13}}),
              106);
    EXPECT_EQ(Put(printer.Get(), u"RecLineChars", LONG{56}), 0);
    EXPECT_EQ(Put(printer.Get(), u"RecLineChars", LONG{57}), 106);
    EXPECT_EQ(Long(printer.Get(), u"RecLineChars"), 56);
}

TEST_F(Printing, InjectedFaultFailsTheNextOutputOnce) {
    ASSERT_EQ(DirectIO(printer.Get(), kError).code, 0);
    EXPECT_EQ(Print(kReceipt, u"x"), 111);
    EXPECT_EQ(Print(kReceipt, u"x"), 0);
}
