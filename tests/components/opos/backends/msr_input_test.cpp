// Card readers on an input node (typing their swipes) and on a serial line:
// tracks and the card's fields are filled as a simulated swipe fills them,
// swipes sent one track a line are gathered, and a track the reader could
// not read is an ErrorEvent reported per card or per track.
#include <gtest/gtest.h>

#include <linux/input-event-codes.h>

#include "platform/com/apartment.h"
#include "real_device_support.h"

using namespace opos_test;

namespace {

constexpr DISPID kDataEvent = 1, kErrorEvent = 3;
constexpr LONG kExtended = 114, kParity = 203;

const std::u16string kTrack1 = u"B4111111111111111^DUPONT/MARIE^2512101000000000";
const std::u16string kTrack2 = u"4111111111111111=25121010000000";

class CardReader {
public:
    void Open(const std::string& connection) {
        profiles.Write("[TestCardReader]\nkind = MSR\nconnection = " + connection + "\n");
        msr = Create(u"OPOS.MSR");
        sink = AdviseSink(msr.Get());
        ASSERT_EQ(Call(msr.Get(), u"Open", {u"TestCardReader"}), 0);
        ASSERT_EQ(Call(msr.Get(), u"ClaimDevice", {LONG{1000}}), 0);
        ASSERT_EQ(Put(msr.Get(), u"DeviceEnabled", true), 0);
        ASSERT_EQ(Put(msr.Get(), u"DataEventEnabled", true), 0);
    }
    ~CardReader() {
        if (msr)
            Call(msr.Get(), u"Close");
        zorv::com::DrainPostedCalls();
    }
    void ExpectTheCard() {
        EXPECT_EQ(Text(msr.Get(), u"Track1Data"), kTrack1);
        EXPECT_EQ(Text(msr.Get(), u"Track2Data"), kTrack2);
        EXPECT_EQ(Text(msr.Get(), u"Track3Data"), u"");
        EXPECT_EQ(Text(msr.Get(), u"AccountNumber"), u"4111111111111111");
        EXPECT_EQ(Text(msr.Get(), u"Surname"), u"DUPONT");
        EXPECT_EQ(Text(msr.Get(), u"FirstName"), u"MARIE");
        EXPECT_EQ(Text(msr.Get(), u"ExpirationDate"), u"2512");
        EXPECT_EQ(Text(msr.Get(), u"ServiceCode"), u"101");
    }

    ProfileFileOwner profiles;
    ComPtr<IDispatch> msr;
    ComPtr<Sink> sink;
};

class WedgeMsr : public ::testing::Test, public CardReader {
protected:
    void SetUp() override { Open("input:" + node.Path()); }
    StandInNode node;
};

} // namespace

TEST_F(WedgeMsr, ATypedSwipeFillsTheTracksAndTheCardsFields) {
    node.Type(u"%" + kTrack1 + u"?;" + kTrack2 + u"?");
    ASSERT_TRUE(WaitForEvents(*sink, kDataEvent, 1));
    ExpectTheCard();
    EXPECT_EQ(sink->received.back().numbers.at(0), LONG(kTrack1.size() | kTrack2.size() << 8));
    ASSERT_EQ(Put(msr.Get(), u"DataEventEnabled", true), 0);

    // One track a line: the reader's silence ends the swipe.
    node.Type(u"%" + kTrack1 + u"?");
    node.Type(u";" + kTrack2 + u"?");
    ASSERT_TRUE(WaitForEvents(*sink, kDataEvent, 2));
    ExpectTheCard();
    EXPECT_EQ(CountEvents(*sink, kErrorEvent), 0u);
}

TEST_F(WedgeMsr, AnUnreadableTrackFollowsErrorReportingType) {
    node.Type(u"%E?;" + kTrack2 + u"?");
    ASSERT_TRUE(WaitForEvents(*sink, kErrorEvent, 1));
    EXPECT_EQ(sink->received.back().numbers.at(0), kExtended);
    EXPECT_EQ(sink->received.back().numbers.at(1), kParity) << "per card: the first track's error";
    EXPECT_EQ(CountEvents(*sink, kDataEvent), 0u);
    ASSERT_EQ(Put(msr.Get(), u"DataEventEnabled", true), 0);

    ASSERT_EQ(Put(msr.Get(), u"ErrorReportingType", LONG{1}), 0);
    node.Type(u"%" + kTrack1 + u"?;E?");
    ASSERT_TRUE(WaitForEvents(*sink, kErrorEvent, 2));
    EXPECT_EQ(sink->received.back().numbers.at(1), kParity << 8) << "per track: one byte each";
    EXPECT_EQ(Text(msr.Get(), u"Track1Data"), kTrack1) << "the good track's data comes with the error";
    EXPECT_EQ(Text(msr.Get(), u"Track2Data"), u"");
    ASSERT_EQ(Put(msr.Get(), u"DataEventEnabled", true), 0);

    // A function key inside a swipe: the line is lost, told once as a plain failure.
    node.Type(u"%B41111", false);
    node.Key(KEY_F3, 1);
    node.Key(KEY_F4, 1);
    node.Type(u"11?");
    ASSERT_TRUE(WaitForEvents(*sink, kErrorEvent, 3));
    EXPECT_EQ(sink->received.back().numbers.at(0), 111);
    PumpFor(250);
    EXPECT_EQ(CountEvents(*sink, kErrorEvent), 3u);
    EXPECT_EQ(CountEvents(*sink, kDataEvent), 0u);
}

TEST(SerialMsr, SwipesOnASerialLineFillTheTracksAndAFaultIsAnError) {
    StandInLine line;
    CardReader reader;
    reader.Open("serial:" + line.Path());
    line.Send("%" + std::string(kTrack1.begin(), kTrack1.end()) + "?;" +
              std::string(kTrack2.begin(), kTrack2.end()) + "?\r\n");
    ASSERT_TRUE(WaitForEvents(*reader.sink, kDataEvent, 1));
    reader.ExpectTheCard();
    ASSERT_EQ(Put(reader.msr.Get(), u"DataEventEnabled", true), 0);

    // A character no track 2 holds reads as a parity error, as a simulated swipe does.
    line.Send(";41111111111\x01"
              "11111=2512?\r");
    ASSERT_TRUE(WaitForEvents(*reader.sink, kErrorEvent, 1));
    EXPECT_EQ(reader.sink->received.back().numbers.at(1), kParity);
    ASSERT_EQ(Put(reader.msr.Get(), u"DataEventEnabled", true), 0);

    // A line that never ends is one plain failure; the next swipe still reads.
    line.Send(std::string(5000, '7') + "\r");
    ASSERT_TRUE(WaitForEvents(*reader.sink, kErrorEvent, 2));
    EXPECT_EQ(reader.sink->received.back().numbers.at(0), 111);
    ASSERT_EQ(Put(reader.msr.Get(), u"DataEventEnabled", true), 0);
    line.Send(";" + std::string(kTrack2.begin(), kTrack2.end()) + "?\n");
    ASSERT_TRUE(WaitForEvents(*reader.sink, kDataEvent, 2));
    EXPECT_EQ(Text(reader.msr.Get(), u"Track2Data"), kTrack2);
    EXPECT_EQ(CountEvents(*reader.sink, kErrorEvent), 2u);
}
