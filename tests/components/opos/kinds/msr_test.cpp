// Card swipes with real-looking ISO tracks: decoding, parsing into the
// card's fields, the tracks to read, and bad tracks reported per card or
// per track.
#include <gtest/gtest.h>

#include "opos_test_support.h"
#include "platform/com/apartment.h"

using namespace opos_test;
using zorv::com::DrainPostedCalls;

namespace {

constexpr const char16_t* kTrack1 = u"%B4111111111111111^DOE/JOHN A.MR^2512101123456789?";
constexpr const char16_t* kTrack2 = u";4111111111111111=25121011234567890?";

class Swipe : public ::testing::Test {
protected:
    void SetUp() override {
        msr = Create(u"OPOS.MSR");
        sink = AdviseSink(msr.Get());
        OpenReady(msr.Get(), u"SimMSR");
    }
    void TearDown() override { DrainPostedCalls(); }

    LONG SwipeCard(std::u16string_view tracks) {
        const LONG code = DirectIO(msr.Get(), kInput, 0, tracks).code;
        Put(msr.Get(), u"DataEventEnabled", true);
        DrainPostedCalls();
        return code;
    }

    ComPtr<IDispatch> msr;
    ComPtr<Sink> sink;
};

} // namespace

TEST_F(Swipe, ParsesTheFinancialTracks) {
    ASSERT_EQ(SwipeCard(std::u16string(kTrack1) + u"|" + kTrack2), 0);
    const std::pair<const char16_t*, const char16_t*> expected[] = {
        {u"Track1Data", u"B4111111111111111^DOE/JOHN A.MR^2512101123456789"},
        {u"Track2Data", u"4111111111111111=25121011234567890"},
        {u"Track3Data", u""},
        {u"AccountNumber", u"4111111111111111"},
        {u"ExpirationDate", u"2512"},
        {u"ServiceCode", u"101"},
        {u"Surname", u"DOE"},
        {u"FirstName", u"JOHN"},
        {u"MiddleInitial", u"A"},
        {u"Title", u"MR"},
        {u"Suffix", u""},
        {u"Track1DiscretionaryData", u"123456789"},
        {u"Track2DiscretionaryData", u"1234567890"},
    };
    for (const auto& [property, value] : expected)
        EXPECT_EQ(Text(msr.Get(), property), value) << zorv::com::Utf16ToUtf8(property);
    ASSERT_EQ(sink->received.size(), 1u);
    EXPECT_EQ(sink->received[0].numbers, std::vector<LONG>{48 | (34 << 8)})
        << "Status holds the track lengths";
}

TEST_F(Swipe, ParsesNamesWithSuffixAndNoMiddleName) {
    struct Case {
        const char16_t* name;
        const char16_t* surname;
        const char16_t* suffix;
        const char16_t* first;
        const char16_t* middle;
        const char16_t* title;
    };
    const Case cases[] = {
        {u"SMITH JR/JANE.DR", u"SMITH", u"JR", u"JANE", u"", u"DR"},
        {u"VAN DER BERG/ANNA MARIA", u"VAN DER BERG", u"", u"ANNA", u"MARIA", u""},
        {u"CARDHOLDER", u"CARDHOLDER", u"", u"", u"", u""},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(SwipeCard(u"B5500000000000004^" + std::u16string(c.name) + u"^2701201"), 0);
        EXPECT_EQ(Text(msr.Get(), u"Surname"), c.surname);
        EXPECT_EQ(Text(msr.Get(), u"Suffix"), c.suffix);
        EXPECT_EQ(Text(msr.Get(), u"FirstName"), c.first);
        EXPECT_EQ(Text(msr.Get(), u"MiddleInitial"), c.middle);
        EXPECT_EQ(Text(msr.Get(), u"Title"), c.title);
        EXPECT_EQ(Text(msr.Get(), u"ExpirationDate"), u"2701");
    }
}

TEST_F(Swipe, TrackTwoAloneStillGivesTheAccount) {
    ASSERT_EQ(SwipeCard(std::u16string(u"|") + kTrack2), 0);
    EXPECT_EQ(Text(msr.Get(), u"AccountNumber"), u"4111111111111111");
    EXPECT_EQ(Text(msr.Get(), u"Surname"), u"");
}

TEST_F(Swipe, DecodingAndParsingAreHonoured) {
    ASSERT_EQ(Put(msr.Get(), u"ParseDecodeData", false), 0);
    ASSERT_EQ(SwipeCard(std::u16string(kTrack1) + u"|" + kTrack2), 0);
    EXPECT_EQ(Text(msr.Get(), u"AccountNumber"), u"");
    EXPECT_EQ(Text(msr.Get(), u"Track2Data"), u"4111111111111111=25121011234567890");

    ASSERT_EQ(Put(msr.Get(), u"DecodeData", false), 0);
    ASSERT_EQ(SwipeCard(std::u16string(u"|") + kTrack2), 0);
    const std::u16string raw = Text(msr.Get(), u"Track2Data");
    ASSERT_EQ(raw.size(), 34u);
    EXPECT_EQ(raw[0], 4) << "undecoded track 2 holds 4-bit codes";
    EXPECT_EQ(raw[16], 0x0D) << "'=' is code 13";

    ASSERT_EQ(Put(msr.Get(), u"ParseDecodeData", true), 0);
    EXPECT_TRUE(Bool(msr.Get(), u"DecodeData"));
}

TEST_F(Swipe, OnlyTheTracksToReadAreRead) {
    ASSERT_EQ(Put(msr.Get(), u"TracksToRead", LONG{2}), 0);
    ASSERT_EQ(SwipeCard(std::u16string(kTrack1) + u"|" + kTrack2 + u"|;011234?"), 0);
    EXPECT_EQ(Text(msr.Get(), u"Track1Data"), u"");
    EXPECT_EQ(Text(msr.Get(), u"Track3Data"), u"");
    EXPECT_EQ(Text(msr.Get(), u"Surname"), u"");
    EXPECT_EQ(Text(msr.Get(), u"AccountNumber"), u"4111111111111111");
    EXPECT_EQ(Put(msr.Get(), u"TracksToRead", LONG{0}), 106);
    EXPECT_EQ(Put(msr.Get(), u"TracksToRead", LONG{8}), 106);
}

TEST_F(Swipe, BadTrackIsReportedPerCardOrPerTrack) {
    const std::u16string badTrack2 = std::u16string(kTrack1) + u"|;4111A11111111111=2512101?";
    ASSERT_EQ(SwipeCard(badTrack2), 0);
    ASSERT_EQ(sink->received.size(), 1u);
    EXPECT_EQ(sink->received[0].id, 3);
    EXPECT_EQ(sink->received[0].numbers, (std::vector<LONG>{114, 203, 2, 12}));
    EXPECT_EQ(Text(msr.Get(), u"Track1Data"), u"") << "a card-level error gives no data";

    ASSERT_EQ(Put(msr.Get(), u"ErrorReportingType", LONG{1}), 0);
    ASSERT_EQ(SwipeCard(badTrack2), 0);
    ASSERT_EQ(sink->received.size(), 2u);
    EXPECT_EQ(sink->received[1].numbers[1], 203 << 8) << "one status byte per track";
    EXPECT_EQ(Text(msr.Get(), u"Track1Data"), u"B4111111111111111^DOE/JOHN A.MR^2512101123456789");
    EXPECT_EQ(Text(msr.Get(), u"Track2Data"), u"");
}

TEST_F(Swipe, SwipesThatCarryNothingAreRefused) {
    EXPECT_EQ(DirectIO(msr.Get(), kInput, 0, u"").code, 106);
    EXPECT_EQ(DirectIO(msr.Get(), kInput, 0, u"||").code, 106);
    EXPECT_EQ(DirectIO(msr.Get(), kInput, 0, u"a|b|c|d").code, 106);
}
