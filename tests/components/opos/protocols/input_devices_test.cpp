// Input devices through descriptors: event records over a pipe (cut anywhere),
// a writer that goes away, HID reports over a socket pair, card swipes.
#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <linux/input-event-codes.h>
#include <unistd.h>

#include "fd_support.h"
#include "protocols/input/event_reader.h"
#include "protocols/input/event_records.h"
#include "protocols/input/hid_scanner.h"
#include "protocols/input/input_device.h"
#include "protocols/input/keyboard_wedge.h"
#include "protocols/input/msr_wedge.h"

namespace {

using namespace zorv::opos::input;
using device_test::OpenPipe;
using device_test::OpenSocketPair;
using device_test::WriteAll;

input_event Key(unsigned code, int value) {
    input_event event{};
    event.type = EV_KEY;
    event.code = static_cast<__u16>(code);
    event.value = value;
    return event;
}

TEST(InputDevices, EventRecordsCutAcrossWritesArriveWhole) {
    auto pipe = OpenPipe();
    EventReader reader(pipe.near.get());
    const input_event sent[] = {Key(KEY_4, 1), Key(KEY_4, 0), Key(KEY_ENTER, 1), Key(KEY_ENTER, 0)};
    const auto* bytes = reinterpret_cast<const unsigned char*>(sent);
    std::vector<input_event> received;
    // Odd slices, so every record is split at least once.
    for (std::size_t at = 0; at < sizeof sent; at += 7) {
        WriteAll(pipe.far.get(), bytes + at, std::min<std::size_t>(7, sizeof sent - at));
        const EventBatch batch = reader.WaitAndRead(1000);
        ASSERT_EQ(batch.status, EventStatus::Ok);
        received.insert(received.end(), batch.events.begin(), batch.events.end());
    }
    ASSERT_EQ(received.size(), 4u);
    KeyboardWedge wedge;
    const std::vector<WedgeEvent> labels = wedge.Feed(received);
    ASSERT_EQ(labels.size(), 1u);
    EXPECT_EQ(labels[0].text, u"4");

    pipe.far.Close();
    EXPECT_EQ(reader.WaitAndRead(1000).status, EventStatus::Closed);
}

// The same, when another thread did the reading: bytes handed over in odd slices.
TEST(InputDevices, EventRecordsAreCutOutOfBytesHandedOver) {
    const input_event sent[] = {Key(KEY_1, 1), Key(KEY_1, 0), Key(KEY_2, 1)};
    const std::string_view bytes(reinterpret_cast<const char*>(sent), sizeof sent);
    EventRecords records;
    std::vector<input_event> received;
    for (std::size_t at = 0; at < bytes.size(); at += 5)
        for (const input_event& event : records.Feed(bytes.substr(at, 5)))
            received.push_back(event);
    ASSERT_EQ(received.size(), 3u);
    EXPECT_EQ(received[2].code, KEY_2);
    EXPECT_EQ(received[1].value, 0);

    // A record cut short by the device going away is not joined to the next one.
    EXPECT_TRUE(records.Feed(bytes.substr(0, 10)).empty());
    records.Reset();
    const std::vector<input_event> after = records.Feed(bytes.substr(0, sizeof(input_event)));
    ASSERT_EQ(after.size(), 1u);
    EXPECT_EQ(after[0].code, KEY_1);
}

TEST(InputDevices, APipeIsReadPlainlyAndAMissingDeviceSaysWhy) {
    auto pipe = OpenPipe();
    InputDevice device(dup(pipe.near.get()));
    EXPECT_FALSE(device.IsEvdev());
    EXPECT_EQ(device.Name(), "");
    EXPECT_EQ(device.Grab(true), 0); // nothing to take on a pipe
    EXPECT_FALSE(device.Grabbed());

    int error = 0;
    EXPECT_EQ(InputDevice::Open("/nonexistent/input/event99", error), nullptr);
    EXPECT_EQ(error, ENOENT);
}

std::vector<std::uint8_t> Report(std::string_view identifier, std::string_view data, bool more) {
    std::vector<std::uint8_t> report(64, 0);
    report[0] = 2;
    report[1] = static_cast<std::uint8_t>(data.size());
    std::copy(identifier.begin(), identifier.end(), report.begin() + 2);
    std::copy(data.begin(), data.end(), report.begin() + 5);
    report[63] = more ? 1 : 0;
    return report;
}

TEST(InputDevices, HidScannerReportsOverASocketPair) {
    auto socket = OpenSocketPair(); // keeps report boundaries, as hidraw does
    const std::string longData(70, 'Q');
    const std::vector<std::vector<std::uint8_t>> sent = {
        Report("]E0", "4006381333931", false),
        std::vector<std::uint8_t>(63, 2), // one byte short
        Report("]Q1", std::string_view(longData).substr(0, 56), true),
        Report("", std::string_view(longData).substr(56), false),
        {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
         0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    };
    for (const auto& report : sent)
        WriteAll(socket.far.get(), report.data(), report.size());

    HidScannerReports reports;
    std::vector<HidOutcome> outcomes;
    std::vector<HidLabel> labels;
    std::uint8_t buffer[256];
    for (std::size_t i = 0; i < sent.size(); ++i) {
        const long n = ReadReport(socket.near.get(), buffer);
        ASSERT_GT(n, 0);
        outcomes.push_back(reports.Feed({buffer, static_cast<std::size_t>(n)}));
        if (outcomes.back() == HidOutcome::Label)
            labels.push_back(reports.Label());
    }
    EXPECT_EQ(outcomes,
              (std::vector<HidOutcome>{HidOutcome::Label, HidOutcome::WrongSize, HidOutcome::Incomplete,
                                       HidOutcome::Label, HidOutcome::Ignored}));
    ASSERT_EQ(labels.size(), 2u);
    EXPECT_EQ(labels[0].identifier, "]E0");
    EXPECT_EQ(labels[0].data, "4006381333931");
    EXPECT_EQ(labels[1].identifier, "]Q1");
    EXPECT_EQ(labels[1].data, longData);
    EXPECT_EQ(ReadReport(socket.near.get(), buffer), -EAGAIN);
    socket.far.Close();
    EXPECT_EQ(ReadReport(socket.near.get(), buffer), 0);
}

TEST(InputDevices, HidReportsThatLieAboutTheirLengthDropThePartialLabel) {
    HidScannerReports reports({}, 100);
    EXPECT_EQ(reports.Feed(Report("]C0", "ABC", true)), HidOutcome::Incomplete);
    auto lying = Report("", "", false);
    lying[1] = 60; // more than the 56-byte data field
    EXPECT_EQ(reports.Feed(lying), HidOutcome::BadLength);
    EXPECT_EQ(reports.Feed(Report("]C0", "XY", false)), HidOutcome::Label);
    EXPECT_EQ(reports.Label().data, "XY"); // nothing of the dropped label

    EXPECT_EQ(reports.Feed(Report("]C0", std::string(56, 'x'), true)), HidOutcome::Incomplete);
    EXPECT_EQ(reports.Feed(Report("", std::string(56, 'x'), true)), HidOutcome::TooLong); // past 100 bytes
    EXPECT_EQ(reports.Feed(Report("]C0", "OK", false)), HidOutcome::Label);
    EXPECT_EQ(reports.Label().data, "OK");
}

TEST(InputDevices, CardSwipesSplitAtTheirSentinels) {
    struct Case {
        std::string_view typed;
        std::string_view track1, track2, track3;
        bool error1, error2, error3;
    };
    const Case cases[] = {
        {"%B4111111111111111^DUPONT/JEAN^2512101?;4111111111111111=2512101?",
         "B4111111111111111^DUPONT/JEAN^2512101", "4111111111111111=2512101", "", false, false, false},
        {";123=45?;0123456789?", "", "123=45", "0123456789", false, false, false},
        {"%E?;123=45?+99?", "", "123=45", "99", true, false, false},
        {"%ABC", "ABC", "", "", true, false, false}, // no end sentinel
        {"\r%A?\r;1?\r", "A", "1", "", false, false, false},
    };
    for (const Case& c : cases) {
        const MsrSwipe swipe = ParseSwipe(c.typed);
        EXPECT_EQ(swipe.tracks[0].text, c.track1) << c.typed;
        EXPECT_EQ(swipe.tracks[1].text, c.track2) << c.typed;
        EXPECT_EQ(swipe.tracks[2].text, c.track3) << c.typed;
        EXPECT_EQ(swipe.tracks[0].error, c.error1) << c.typed;
        EXPECT_EQ(swipe.tracks[1].error, c.error2) << c.typed;
        EXPECT_EQ(swipe.tracks[2].error, c.error3) << c.typed;
    }
    EXPECT_TRUE(ParseSwipe("garbage").Empty());
}

TEST(InputDevices, SwipesTypedAsOneLineATrackAreGatheredAgain) {
    MsrLineCollector lines(150);
    EXPECT_FALSE(lines.Line("%B49^DUPONT^27?", 0));
    EXPECT_FALSE(lines.Line(";49=27?", 20));
    EXPECT_FALSE(lines.Idle(100)); // still within the quiet time
    const auto first = lines.Idle(170);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->tracks[0].text, "B49^DUPONT^27");
    EXPECT_EQ(first->tracks[1].text, "49=27");
    EXPECT_FALSE(lines.Idle(400)); // given once

    // A second swipe right after: its track 1 pushes the first one out.
    EXPECT_FALSE(lines.Line("%X?", 1000));
    const auto pushed = lines.Line("%A?", 1010);
    ASSERT_TRUE(pushed);
    EXPECT_EQ(pushed->tracks[0].text, "X");
    // All three tracks make a swipe at once; a second ';' line is track 3.
    EXPECT_FALSE(lines.Line(";33=44?", 1020));
    const auto full = lines.Line(";55?", 1030);
    ASSERT_TRUE(full);
    EXPECT_EQ(full->tracks[0].text, "A");
    EXPECT_EQ(full->tracks[1].text, "33=44");
    EXPECT_EQ(full->tracks[2].text, "55");
}

} // namespace
