// The printer's two-station printing, slip forms and ruled lines on the
// simulated printer, through the late-bound caller.
#include <gtest/gtest.h>

#include "opos_test_support.h"
#include "platform/com/apartment.h"

using namespace opos_test;
using zorv::com::DrainPostedCalls;

namespace {

constexpr LONG kJournal = 1, kReceipt = 2, kSlip = 4;
constexpr LONG kSlipForm = 11;
constexpr DISPID kOutputComplete = 3, kStatusUpdate = 4;

class PrinterMembers : public ::testing::Test {
protected:
    void SetUp() override {
        printer = Create(u"OPOS.POSPrinter");
        sink = AdviseSink(printer.Get());
        OpenReady(printer.Get(), u"SimPrinter");
    }
    void TearDown() override { DrainPostedCalls(); }

    LONG Two(LONG stations, const char16_t* one, const char16_t* two) {
        return Call(printer.Get(), u"PrintTwoNormal", {stations, one, two});
    }
    LONG Rule(LONG station, const char16_t* positions, LONG direction, LONG width = 2, LONG style = 1,
              LONG colour = 1) {
        return Call(printer.Get(), u"DrawRuledLine", {station, positions, direction, width, style, colour});
    }
    std::u16string Printed(LONG station) { return DirectIO(printer.Get(), kReadBack, station).text; }
    LONG Extended() { return Long(printer.Get(), u"ResultCodeExtended"); }
    std::vector<LONG> Events(DISPID id) {
        std::vector<LONG> numbers;
        for (const ReceivedEvent& e : sink->received)
            if (e.id == id)
                numbers.push_back(e.numbers.at(0));
        return numbers;
    }

    ComPtr<IDispatch> printer;
    ComPtr<Sink> sink;
};

} // namespace

TEST_F(PrinterMembers, PrintTwoNormalPutsEachDataOnItsStation) {
    EXPECT_EQ(Two(3, u"to journal\n", u"to receipt\n"), 0);
    EXPECT_EQ(Two(0x8003, u"receipt first\n", u"journal second\n"), 0);
    EXPECT_EQ(Two(3, u"both\n", u""), 0) << "empty Data2 prints Data1 twice";
    EXPECT_EQ(Printed(kJournal), u"to journal\njournal second\nboth\n");
    EXPECT_EQ(Printed(kReceipt), u"to receipt\nreceipt first\nboth\n");
}

TEST_F(PrinterMembers, PrintTwoNormalNeedsAPairThatPrintsTogether) {
    for (LONG stations : {LONG{5}, LONG{6}, LONG{0x8005}, LONG{0x8006}})
        EXPECT_EQ(Two(stations, u"a", u"b"), 106) << stations << ": no concurrent slip printing";
    for (LONG stations : {LONG{1}, LONG{2}, LONG{7}, LONG{0x8007}})
        EXPECT_EQ(Two(stations, u"a", u"b"), 106) << stations;
    auto receiptOnly = Create(u"OPOS.POSPrinter");
    OpenReady(receiptOnly.Get(), u"SimReceiptPrinter");
    EXPECT_FALSE(Bool(receiptOnly.Get(), u"CapConcurrentJrnRec"));
    EXPECT_EQ(Call(receiptOnly.Get(), u"PrintTwoNormal", {LONG{3}, u"a", u"b"}), 106);
    EXPECT_EQ(Printed(kJournal), u"");
}

TEST_F(PrinterMembers, PrintTwoNormalPrintsBothOrNeither) {
    ASSERT_EQ(DirectIO(printer.Get(), kSensor, kJournal, u"empty").code, 0);
    EXPECT_EQ(Two(3, u"j", u"r"), 114);
    EXPECT_EQ(Extended(), 202);
    EXPECT_EQ(Printed(kReceipt), u"") << "the receipt waited for the journal";
    ASSERT_EQ(DirectIO(printer.Get(), kSensor, kJournal, u"ok").code, 0);

    ASSERT_EQ(Call(printer.Get(), u"TransactionPrint", {kReceipt, LONG{11}}), 0);
    ASSERT_EQ(Call(printer.Get(), u"TransactionPrint", {kJournal, LONG{11}}), 0);
    EXPECT_EQ(Two(3, u"held j\n", u"held r\n"), 0);
    EXPECT_EQ(Printed(kJournal), u"");
    ASSERT_EQ(Call(printer.Get(), u"TransactionPrint", {kJournal, LONG{12}}), 0);
    ASSERT_EQ(Call(printer.Get(), u"TransactionPrint", {kReceipt, LONG{12}}), 0);
    EXPECT_EQ(Printed(kJournal), u"held j\n");
    EXPECT_EQ(Printed(kReceipt), u"held r\n");
}

TEST_F(PrinterMembers, AsyncPrintTwoNormalIsOneOutputWithOneCompletion) {
    ASSERT_EQ(Put(printer.Get(), u"AsyncMode", true), 0);
    EXPECT_EQ(Two(3, u"j\n", u"r\n"), 0);
    EXPECT_EQ(Long(printer.Get(), u"OutputID"), 1);
    EXPECT_EQ(Call(printer.Get(), u"PrintNormal", {kReceipt, u"next\n"}), 0);
    EXPECT_EQ(Long(printer.Get(), u"OutputID"), 2);
    DrainPostedCalls();
    EXPECT_EQ(Printed(kJournal), u"j\n");
    EXPECT_EQ(Printed(kReceipt), u"r\nnext\n");
    EXPECT_EQ(Events(kOutputComplete), (std::vector<LONG>{1, 2}));
}

TEST_F(PrinterMembers, SlipInsertionWaitsForAFormAndEndsOnIt) {
    ASSERT_EQ(DirectIO(printer.Get(), kSlipForm, 0).code, 0);
    EXPECT_TRUE(Bool(printer.Get(), u"SlpEmpty"));
    EXPECT_EQ(Call(printer.Get(), u"EndInsertion"), 106) << "not inserting";
    EXPECT_EQ(Call(printer.Get(), u"BeginInsertion", {LONG{0}}), 112);
    EXPECT_EQ(Call(printer.Get(), u"EndInsertion"), 114);
    EXPECT_EQ(Extended(), 204) << "no form";

    ASSERT_EQ(DirectIO(printer.Get(), kSlipForm, 1, u"wait").code, 0);
    EXPECT_EQ(Call(printer.Get(), u"BeginInsertion", {LONG{2000}}), 0);
    EXPECT_FALSE(Bool(printer.Get(), u"SlpEmpty"));
    EXPECT_EQ(Call(printer.Get(), u"EndInsertion"), 0);
    EXPECT_EQ(Call(printer.Get(), u"EndInsertion"), 106) << "the insertion is over";
    EXPECT_EQ(Call(printer.Get(), u"PrintNormal", {kSlip, u"on the form\n"}), 0);
    DrainPostedCalls();
    EXPECT_EQ(Events(kStatusUpdate), (std::vector<LONG>{27, 29}));
}

TEST_F(PrinterMembers, SlipRemovalWaitsForTheFormToGo) {
    EXPECT_EQ(Call(printer.Get(), u"EndRemoval"), 106) << "not removing";
    EXPECT_EQ(Call(printer.Get(), u"BeginRemoval", {LONG{0}}), 112);
    EXPECT_EQ(Call(printer.Get(), u"EndRemoval"), 114);
    EXPECT_EQ(Extended(), 205) << "the form is still there";
    ASSERT_EQ(DirectIO(printer.Get(), kSlipForm, 0, u"wait").code, 0);
    EXPECT_EQ(Call(printer.Get(), u"BeginRemoval", {LONG{-1}}), 0);
    EXPECT_EQ(Call(printer.Get(), u"EndRemoval"), 0);
    EXPECT_EQ(Call(printer.Get(), u"PrintNormal", {kSlip, u"x"}), 114);
    EXPECT_EQ(Extended(), 204);
}

TEST_F(PrinterMembers, SlipCallsNeedASlipAndSaneArguments) {
    EXPECT_EQ(Call(printer.Get(), u"BeginInsertion", {LONG{-2}}), 106);
    EXPECT_EQ(DirectIO(printer.Get(), kSlipForm, 2).code, 106);
    EXPECT_EQ(DirectIO(printer.Get(), kSlipForm, 1, u"later").code, 106);
    ASSERT_EQ(DirectIO(printer.Get(), kSensor, 0, u"open").code, 0);
    EXPECT_EQ(Call(printer.Get(), u"BeginInsertion", {LONG{0}}), 114);
    EXPECT_EQ(Extended(), 201);
    auto receiptOnly = Create(u"OPOS.POSPrinter");
    OpenReady(receiptOnly.Get(), u"SimReceiptPrinter");
    for (const char16_t* method : {u"BeginInsertion", u"BeginRemoval"})
        EXPECT_EQ(Call(receiptOnly.Get(), method, {LONG{0}}), 106) << zorv::com::Utf16ToUtf8(method);
    for (const char16_t* method : {u"EndInsertion", u"EndRemoval"})
        EXPECT_EQ(Call(receiptOnly.Get(), method), 106) << zorv::com::Utf16ToUtf8(method);
    EXPECT_EQ(DirectIO(receiptOnly.Get(), kSlipForm, 1).code, 106);
}

TEST_F(PrinterMembers, RuledLinesAreReadBack) {
    EXPECT_EQ(Long(printer.Get(), u"CapRecRuledLine"), 3);
    EXPECT_EQ(Rule(kReceipt, u"0,200;300,100", 1), 0);
    EXPECT_EQ(Rule(kSlip, u"10,400", 2, 1, 3), 0);
    EXPECT_EQ(Rule(kSlip, u"", 2), 0);
    EXPECT_EQ(Printed(kReceipt), u"[rule horizontal 0,200;300,100 width 2 style 1 colour 1]\n");
    EXPECT_EQ(Printed(kSlip), u"[rule vertical 10,400 width 1 style 3 colour 1]\n[rule vertical end]\n");
    const std::u16string shown = DirectIO(printer.Get(), 10, kReceipt).text;
    EXPECT_NE(shown.find(u"rule horizontal"), std::u16string::npos);
}

TEST_F(PrinterMembers, RuledLinesTheStationCannotDrawAreRefused) {
    struct Case {
        LONG station;
        const char16_t* positions;
        LONG direction, width, style, colour;
    };
    const Case refused[] = {
        {kJournal, u"0,100", 1, 2, 1, 1},   // the journal draws no rules
        {kReceipt, u"0,100", 3, 2, 1, 1},   // no such direction
        {kReceipt, u"0,100", 1, 0, 1, 1},   // no thickness
        {kReceipt, u"0,100", 1, 2, 5, 1},   // no such style
        {kReceipt, u"0,100", 1, 2, 1, 2},   // a colour the receipt lacks
        {kReceipt, u"400,200", 1, 2, 1, 1}, // past the line's 512 dots
        {kReceipt, u"0,", 1, 2, 1, 1},      {kReceipt, u"", 1, 2, 1, 1},      {kReceipt, u"0,0", 1, 2, 1, 1},
        {kReceipt, u"-5,10", 1, 2, 1, 1},   {kReceipt, u"0;100", 2, 2, 1, 1}, {kReceipt, u"600", 2, 2, 1, 1},
    };
    for (const Case& c : refused)
        EXPECT_EQ(Rule(c.station, c.positions, c.direction, c.width, c.style, c.colour), 106)
            << c.station << " \"" << zorv::com::Utf16ToUtf8(c.positions) << "\" " << c.direction;
    EXPECT_EQ(Printed(kReceipt), u"");
}
