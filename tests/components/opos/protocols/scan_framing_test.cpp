// Framing a scanner's byte stream: suffixes, bounds, noise, reads split anywhere.
#include <gtest/gtest.h>

#include "protocols/scan/label_framer.h"

namespace {

using namespace std::string_view_literals;
using zorv::opos::scan::Frame;
using zorv::opos::scan::FrameFault;
using zorv::opos::scan::FramerConfig;
using zorv::opos::scan::LabelFramer;
using zorv::opos::scan::Suffix;
using zorv::opos::scan::SuffixFromName;

// Labels as text, faults as "!junk" / "!long", for compact expectations.
std::string Describe(const std::vector<Frame>& frames) {
    std::string text;
    for (const Frame& frame : frames) {
        if (!text.empty())
            text += '|';
        text += frame.fault == FrameFault::None   ? frame.label
                : frame.fault == FrameFault::Junk ? "!junk"
                                                  : "!long";
    }
    return text;
}

std::string Frames(Suffix suffix, std::string_view bytes) {
    LabelFramer framer({suffix, 64});
    return Describe(framer.Feed(bytes));
}

TEST(ScanFraming, EachSuffixEndsALabel) {
    struct Case {
        Suffix suffix;
        std::string_view bytes;
        std::string expected;
    };
    const Case cases[] = {
        {Suffix::CR, "123\r456\r", "123|456"},
        {Suffix::LF, "123\n456\n", "123|456"},
        {Suffix::CRLF, "123\r\n456\r\n", "123|456"},
        {Suffix::TAB, "123\t456\t", "123|456"},
        {Suffix::ETX,
         "\x02"
         "123\x03\x02"
         "456\x03",
         "123|456"},
        {Suffix::CR, "123\r45", "123"}, // the rest waits for its suffix
        {Suffix::CR,
         "]C1\x1d"
         "0101\r",
         "]C1\x1d"
         "0101"}, // GS1 separator kept
    };
    for (const Case& c : cases)
        EXPECT_EQ(Frames(c.suffix, c.bytes), c.expected) << c.bytes;
}

TEST(ScanFraming, NoiseBetweenAndInsideLabelsIsReportedOnce) {
    EXPECT_EQ(Frames(Suffix::CR, "\0\0\x7f"
                                 "123\r"sv),
              "!junk|123");
    EXPECT_EQ(Frames(Suffix::CR, "12\0"
                                 "3\r456\r"sv),
              "!junk|456");
    EXPECT_EQ(Frames(Suffix::CR, "\r\r"), "!junk|!junk");           // empty labels
    EXPECT_EQ(Frames(Suffix::CR, "123\r\n456\r"), "123|!junk|456"); // a CRLF scanner set up as CR
    EXPECT_EQ(Frames(Suffix::CRLF, "12\r3\r\n"), "!junk");          // a lone CR inside
    EXPECT_EQ(Frames(Suffix::CRLF, "\r\r\n"), "!junk");
}

TEST(ScanFraming, TooLongIsOneFaultThenTheStreamResynchronises) {
    LabelFramer framer({Suffix::CR, 4096});
    const std::string run(64 * 1024, 'A');
    std::vector<Frame> frames = framer.Feed(run);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].fault, FrameFault::TooLong);
    EXPECT_LE(framer.Pending(), 4096u);
    frames = framer.Feed("tail\rOK\r");
    EXPECT_EQ(Describe(frames), "OK");
    // Exactly the maximum still fits.
    EXPECT_EQ(Describe(framer.Feed(std::string(4096, 'B') + "\r")), std::string(4096, 'B'));
}

TEST(ScanFraming, ReadsSplitAnywhereGiveTheSameFrames) {
    const std::string stream("\x01"
                             "111\r\n222\r\n\0\r\n333\r\n"sv);
    LabelFramer whole({Suffix::CRLF, 64});
    const std::string expected = Describe(whole.Feed(stream));
    EXPECT_EQ(expected, "!junk|111|222|!junk|333");
    for (std::size_t cut = 1; cut < stream.size(); ++cut) {
        LabelFramer split({Suffix::CRLF, 64});
        std::vector<Frame> frames = split.Feed(std::string_view(stream).substr(0, cut));
        split.Feed(std::string_view(stream).substr(cut), frames);
        EXPECT_EQ(Describe(frames), expected) << "cut at " << cut;
    }
}

TEST(ScanFraming, SuffixNamesFromConfiguration) {
    EXPECT_EQ(SuffixFromName("crlf"), Suffix::CRLF);
    EXPECT_EQ(SuffixFromName("ETX"), Suffix::ETX);
    EXPECT_FALSE(SuffixFromName("CRL"));
    EXPECT_FALSE(SuffixFromName(""));
}

} // namespace
