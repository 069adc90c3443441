// Command bytes against the command reference, code pages, and status bytes.
#include <gtest/gtest.h>

#include "protocols/escpos/code_pages.h"
#include "protocols/escpos/commands.h"
#include "protocols/escpos/status.h"
#include "protocols/escpos/status_stream.h"
#include "escpos_test_support.h"

using namespace zorv::opos::escpos;
using escpos_test::Hex;

namespace {

TEST(EscPosCommands, BytesMatchTheReference) {
    const std::vector<std::pair<Bytes, std::string>> cases{
        {Initialize(), "1B 40"},
        {Emphasis(true), "1B 45 01"},
        {Emphasis(false), "1B 45 00"},
        {Underline(2), "1B 2D 02"},
        {Underline(7), "1B 2D 02"},
        {CharacterSize(2, 1), "1D 21 10"},
        {CharacterSize(1, 2), "1D 21 01"},
        {CharacterSize(9, 0), "1D 21 70"},
        {Justify(Justification::Center), "1B 61 01"},
        {ReverseVideo(true), "1D 42 01"},
        {SelectCodePage(19), "1B 74 13"},
        {FeedLines(3), "1B 64 03"},
        {FeedLines(300), "1B 64 FF 1B 64 2D"},
        {FeedLines(0), ""},
        {FeedDots(24), "1B 4A 18"},
        {FeedBackLines(1), "1B 65 01"},
        {Cut(CutKind::Full), "1D 56 00"},
        {Cut(CutKind::Partial), "1D 56 01"},
        {DrawerKick(DrawerPin::Pin2, 100, 200), "1B 70 00 32 64"},
        {DrawerKick(DrawerPin::Pin5, 100, 10), "1B 70 01 32 32"},
        {RealTimeStatus(StatusQuery::PaperSensor), "10 04 04"},
        {AutomaticStatusBack(kAsbAll), "1D 61 0F"},
    };
    for (const auto& [bytes, expected] : cases)
        EXPECT_EQ(Hex(bytes), expected);
}

struct PageCase {
    CodePage page;
    std::u16string text;
    std::string bytes;
    int missing;
};

TEST(EscPosCodePages, AccentsAndTheEuroLandOnTheRightBytes) {
    const std::vector<PageCase> cases{
        {CodePage::Pc437, u"caf\u00E9", "63 61 66 82", 0},
        {CodePage::Pc437, u"5 \u20AC", "35 20 3F", 1},
        {CodePage::Pc850, u"\u00C9t\u00E9", "90 74 82", 0},
        {CodePage::Pc850, u"\u20AC", "3F", 1},
        {CodePage::Pc858, u"\u20AC \u00E0", "D5 20 85", 0},
        {CodePage::Wpc1252, u"\u20AC\u0153\u00FF", "80 9C FF", 0},
        {CodePage::Pc866, u"\u0416\u0451", "86 F1", 0},
        {CodePage::Pc866, u"\u00E9", "3F", 1},
        {CodePage::Pc852, u"\u0142\u0160", "88 E6", 0},
        // A character outside the basic plane is one character, one '?'.
        {CodePage::Wpc1252, u"a\U0001F600b", "61 3F 62", 1},
        {CodePage::Pc858, std::u16string{0xD800, u'x'}, "3F 78", 1},
        {CodePage::Pc437, u"\n\x1B", "0A 1B", 0},
    };
    for (const PageCase& c : cases) {
        const EncodedText encoded = Encode(c.text, c.page);
        EXPECT_EQ(Hex(encoded.bytes), c.bytes) << Info(c.page).name;
        EXPECT_EQ(encoded.missing, c.missing) << Info(c.page).name;
    }
}

TEST(EscPosCodePages, EveryDefinedByteComesBackThroughTheTable) {
    for (const CodePageInfo& info : CodePages()) {
        for (int byte = 0x20; byte < 0x100; ++byte) {
            const std::string one(1, static_cast<char>(byte));
            const std::u16string text = Decode(one, info.page);
            if (text == u"\uFFFD")
                continue;
            EXPECT_EQ(Encode(text, info.page).bytes, one) << info.name << " byte " << byte;
        }
    }
}

TEST(EscPosCodePages, FoundByNameOrNumber) {
    EXPECT_EQ(FindCodePage("pc858"), CodePage::Pc858);
    EXPECT_EQ(FindCodePage("1252"), CodePage::Wpc1252);
    EXPECT_EQ(FindCodePage(uint16_t{866}), CodePage::Pc866);
    EXPECT_FALSE(FindCodePage("PC999"));
    EXPECT_EQ(Info(CodePage::Pc858).escT, 19);
}

struct RealTimeCase {
    StatusQuery query;
    uint8_t byte;
    PrinterStatus expected;
};

TEST(EscPosStatus, RealTimeBytesDecodeBitByBit) {
    PrinterStatus online;
    online.drawerPinHigh = false;
    online.offline = false;
    online.waitingRecovery = false;
    online.feedButton = false;
    PrinterStatus drawerOffline = online;
    drawerOffline.drawerPinHigh = true;
    drawerOffline.offline = true;
    PrinterStatus coverOpen;
    coverOpen.coverOpen = true;
    coverOpen.feedButton = false;
    coverOpen.paperEndStop = false;
    coverOpen.errorOccurred = true;
    PrinterStatus paperOut;
    paperOut.paperNearEnd = true;
    paperOut.paperEmpty = true;
    PrinterStatus cutter;
    cutter.mechanicalError = false;
    cutter.cutterError = true;
    cutter.unrecoverableError = false;
    cutter.autoRecoverableError = false;
    const std::vector<RealTimeCase> cases{
        {StatusQuery::Printer, 0x12, online},         {StatusQuery::Printer, 0x1E, drawerOffline},
        {StatusQuery::OfflineCause, 0x56, coverOpen}, {StatusQuery::PaperSensor, 0x7E, paperOut},
        {StatusQuery::ErrorCause, 0x1A, cutter},
    };
    for (const RealTimeCase& c : cases) {
        const DecodedStatus decoded = DecodeRealTimeStatus(c.query, c.byte);
        ASSERT_TRUE(decoded.ok()) << decoded.error;
        EXPECT_EQ(decoded.status, c.expected) << "byte " << int(c.byte);
    }
}

TEST(EscPosStatus, ImpossibleBytesAreRefusedWithAReason) {
    for (const uint8_t byte : {0x00, 0xFF, 0x13, 0x92, 0x02, 0x10})
        EXPECT_FALSE(DecodeRealTimeStatus(StatusQuery::Printer, byte).ok()) << int(byte);
    // Each paper sensor sets two bits together; one alone is noise.
    const DecodedStatus half = DecodeRealTimeStatus(StatusQuery::PaperSensor, 0x32);
    EXPECT_FALSE(half.ok());
    EXPECT_NE(half.error.find("half"), std::string::npos);
    EXPECT_EQ(half.status, PrinterStatus{});
}

TEST(EscPosStatus, AutomaticStatusBackDecodesAndRejectsNoise) {
    const DecodedStatus decoded = DecodeAutomaticStatus(std::string("\x34\x08\x0C\x00", 4));
    ASSERT_TRUE(decoded.ok()) << decoded.error;
    EXPECT_EQ(decoded.status.coverOpen, true);
    EXPECT_EQ(decoded.status.drawerPinHigh, true);
    EXPECT_EQ(decoded.status.offline, false);
    EXPECT_EQ(decoded.status.cutterError, true);
    EXPECT_EQ(decoded.status.paperEmpty, true);
    EXPECT_EQ(decoded.status.paperNearEnd, false);
    for (const std::string& bad : {std::string("\x34\x08\x0C", 3), std::string("\x12\x00\x00\x00", 4),
                                   std::string("\x10\x80\x00\x00", 4), std::string("\x10\x00\x01\x00", 4)})
        EXPECT_FALSE(DecodeAutomaticStatus(bad).ok()) << Hex(bad);
}

TEST(EscPosStatus, EncodingAndDecodingAgree) {
    PrinterStatus status;
    status.coverOpen = true;
    status.paperNearEnd = true;
    status.paperEmpty = false;
    status.drawerPinHigh = true;
    const DecodedStatus back = DecodeAutomaticStatus(EncodeAutomaticStatus(status));
    ASSERT_TRUE(back.ok());
    EXPECT_EQ(back.status.coverOpen, true);
    EXPECT_EQ(back.status.paperNearEnd, true);
    EXPECT_EQ(back.status.drawerPinHigh, true);
    EXPECT_TRUE(LooksLikeRealTimeStatus(EncodeRealTimeStatus(StatusQuery::OfflineCause, status)));
    EXPECT_EQ(DecodeRealTimeStatus(StatusQuery::OfflineCause,
                                   EncodeRealTimeStatus(StatusQuery::OfflineCause, status))
                  .status.coverOpen,
              true);
    EXPECT_FALSE(StartsAutomaticStatus(EncodeRealTimeStatus(StatusQuery::Printer, status)));
}

} // namespace

namespace {

using Kind = StatusReport::Kind;

struct StreamCase {
    std::string bytes;
    std::vector<Kind> kinds;
    size_t pending;
};

TEST(EscPosStatusStream, SplitsAnswersReportsAndNoise) {
    const std::vector<StreamCase> cases{
        {escpos_test::FromHex("12"), {Kind::RealTime}, 0},
        {escpos_test::FromHex("14 00 00 00"), {Kind::Automatic}, 0},
        {escpos_test::FromHex("12 34 08 0C 00 16"), {Kind::RealTime, Kind::Automatic, Kind::RealTime}, 0},
        {escpos_test::FromHex("14 00"), {}, 2},
        // A report cut short by an answer: the half report is noise, the answer still counts.
        {escpos_test::FromHex("14 00 12"), {Kind::Noise, Kind::RealTime}, 0},
        {escpos_test::FromHex("FF 00 80 12"), {Kind::Noise, Kind::Noise, Kind::Noise, Kind::RealTime}, 0},
        // Fixed bits right, a paper sensor half set: noise too.
        {escpos_test::FromHex("10 00 01 00"), {Kind::Noise}, 0},
    };
    for (const StreamCase& c : cases) {
        StatusStream stream;
        std::vector<Kind> kinds;
        for (const StatusReport& report : stream.Feed(c.bytes))
            kinds.push_back(report.kind);
        EXPECT_EQ(kinds, c.kinds) << Hex(c.bytes);
        EXPECT_EQ(stream.Pending(), c.pending) << Hex(c.bytes);
    }
}

TEST(EscPosStatusStream, AReportSplitAcrossReadsIsJoined) {
    StatusStream stream;
    EXPECT_TRUE(stream.Feed(std::string("\x30", 1)).empty());
    EXPECT_TRUE(stream.Feed(std::string("\x00\x0C", 2)).empty());
    const auto reports = stream.Feed(std::string("\x00", 1));
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].status.coverOpen, true);
    EXPECT_EQ(reports[0].status.paperEmpty, true);
}

} // namespace
