// Labels read through real descriptors: a pseudo-terminal standing in for the
// serial line, a pipe; partial writes, garbage and a far end that goes away.
#include <gtest/gtest.h>

#include <chrono>

#include "fd_support.h"
#include "protocols/scan/fd_label_reader.h"

namespace {

using namespace zorv::opos::scan;
using device_test::OpenPipe;
using device_test::OpenPseudoTerminal;
using device_test::WriteAll;

// Collects frames until `count` arrived, the line failed or two seconds
// passed: a read may bring only part of a frame, so an empty read goes on.
std::vector<Frame> ReadFrames(FdLabelReader& reader, std::size_t count) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    std::vector<Frame> frames;
    while (frames.size() < count && std::chrono::steady_clock::now() < deadline) {
        ReadOutcome outcome = reader.WaitAndRead(100);
        if (outcome.status != ReadStatus::Ok)
            break;
        frames.insert(frames.end(), outcome.frames.begin(), outcome.frames.end());
    }
    return frames;
}

TEST(ScanReader, LabelsWrittenInPiecesOnASerialLineArriveWhole) {
    auto tty = OpenPseudoTerminal();
    FdLabelReader reader(tty.near.get(), {Suffix::CRLF, 4096});
    WriteAll(tty.far.get(), "]E0400638");
    EXPECT_TRUE(reader.WaitAndRead(1000).frames.empty()); // no suffix yet
    WriteAll(tty.far.get(), "1333931\r");
    WriteAll(tty.far.get(), "\n]C0AB\r\n");
    const std::vector<Frame> frames = ReadFrames(reader, 2);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].label, "]E04006381333931");
    EXPECT_EQ(frames[1].label, "]C0AB");
}

TEST(ScanReader, WrongBaudRateGarbageIsAFaultNotALabel) {
    auto tty = OpenPseudoTerminal();
    FdLabelReader reader(tty.near.get(), {Suffix::CR, 4096});
    std::string garbage;
    for (int i = 0; i < 300; ++i)
        garbage += static_cast<char>((i * 37) & 0xFF);
    WriteAll(tty.far.get(), garbage + "\rOK\r");
    std::vector<Frame> frames = ReadFrames(reader, 100);
    ASSERT_FALSE(frames.empty());
    EXPECT_EQ(frames.back().label, "OK");
    for (std::size_t i = 0; i + 1 < frames.size(); ++i)
        EXPECT_NE(frames[i].fault, FrameFault::None) << i;
}

TEST(ScanReader, SixtyFourKilobytesWithoutSuffixStayBounded) {
    auto tty = OpenPseudoTerminal();
    FdLabelReader reader(tty.near.get(), {Suffix::CR, 4096});
    const std::string run(64 * 1024, '7');
    std::size_t written = 0, faults = 0;
    // The terminal buffers only so much: write and read in turns.
    while (written < run.size()) {
        const std::size_t piece = std::min<std::size_t>(2048, run.size() - written);
        WriteAll(tty.far.get(), run.data() + written, piece);
        written += piece;
        for (const Frame& frame : reader.WaitAndRead(1000).frames)
            faults += frame.fault == FrameFault::TooLong;
    }
    EXPECT_EQ(faults, 1u);
    EXPECT_LE(reader.Framer().Pending(), 4096u);
}

TEST(ScanReader, FarEndClosingIsReportedAsClosed) {
    auto tty = OpenPseudoTerminal();
    FdLabelReader reader(tty.near.get(), {Suffix::CR, 4096});
    WriteAll(tty.far.get(), "LAST\r");
    EXPECT_EQ(ReadFrames(reader, 1).at(0).label, "LAST");
    tty.far.Close();
    EXPECT_EQ(reader.WaitAndRead(1000).status, ReadStatus::Closed);

    auto pipe = OpenPipe();
    FdLabelReader pipeReader(pipe.near.get(), {Suffix::LF, 4096});
    WriteAll(pipe.far.get(), "half");
    pipe.far.Close();
    const ReadOutcome outcome = pipeReader.WaitAndRead(1000);
    EXPECT_TRUE(outcome.frames.empty()); // an unended label is not delivered
    EXPECT_EQ(pipeReader.WaitAndRead(1000).status, ReadStatus::Closed);
}

} // namespace
