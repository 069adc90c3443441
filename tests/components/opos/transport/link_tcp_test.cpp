// TCP links over 127.0.0.1: connecting, each way of failing to, moving bytes
// both ways with timeouts, a peer that never answers or leaves mid-job, and
// the background reader across a reconnection.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

#include "loopback_listener.h"
#include "transport/link.h"

using namespace zorv::opos::transport;
using Clock = std::chrono::steady_clock;
using transport_test::Listener;
using transport_test::Tcp;

namespace {

std::string ReadSome(int fd, int timeoutMs = 1000) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, timeoutMs) != 1)
        return {};
    char buffer[256];
    const ssize_t n = read(fd, buffer, sizeof buffer);
    return n > 0 ? std::string(buffer, n) : std::string();
}

// What the background reader handed over, waited for with a timeout.
struct Collected {
    std::mutex mutex;
    std::condition_variable changed;
    std::string bytes;
    std::vector<Failure> failures;

    Link::OnReceived Bytes(Link& link) {
        return [this, &link] {
            const Received received = link.TakeReceived();
            std::lock_guard lock(mutex);
            bytes += received.bytes;
            changed.notify_all();
        };
    }
    Link::OnFailure Failures() {
        return [this](const LinkStatus& s) {
            std::lock_guard lock(mutex);
            failures.push_back(s.failure);
            changed.notify_all();
        };
    }
    bool WaitFor(const std::function<bool()>& done) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(2), done);
    }
};

TEST(TcpLink, MovesBytesBothWays) {
    Listener listener;
    LinkStatus status;
    auto link = Link::Open(Tcp(listener.port()), 1000, status);
    ASSERT_TRUE(link) << status.text;
    const int peer = listener.Accept();
    ASSERT_GE(peer, 0);
    EXPECT_EQ(link->Send("\x1B@hello", 1000).count, 7u);
    EXPECT_EQ(ReadSome(peer), "\x1B@hello");
    ASSERT_EQ(write(peer, "\x12", 1), 1);
    std::string in;
    const IoResult got = link->Receive(in, 16, 1000);
    EXPECT_TRUE(got.status.ok()) << got.status.text;
    EXPECT_EQ(in, "\x12");
    close(peer);
}

TEST(TcpLink, EachWayOfNotConnectingHasItsReason) {
    uint16_t freePort = 0;
    {
        Listener gone;
        freePort = gone.port();
    }
    LinkStatus status;
    EXPECT_FALSE(Link::Open(Tcp(freePort), 1000, status));
    EXPECT_EQ(status.failure, Failure::Refused) << status.text;
    EXPECT_NE(status.text.find("127.0.0.1:" + std::to_string(freePort)), std::string::npos);

    Connection named = Tcp(9100);
    named.host = "printer.invalid";
    const Resolver nowhere = [](const std::string& host, uint16_t, int) {
        return Resolved{{},
                        {Failure::NameNotFound, "cannot resolve " + host + ": Name or service not known"}};
    };
    EXPECT_FALSE(Link::Open(named, 1000, status, nowhere));
    EXPECT_EQ(status.failure, Failure::NameNotFound);
    const Resolver empty = [](const std::string&, uint16_t, int) { return Resolved{}; };
    EXPECT_FALSE(Link::Open(named, 1000, status, empty));
    EXPECT_EQ(status.failure, Failure::NameNotFound);

    Connection drawer;
    drawer.scheme = Scheme::Printer;
    drawer.printer = "ShopPrinter";
    EXPECT_FALSE(Link::Open(drawer, 1000, status));
    EXPECT_EQ(status.failure, Failure::BadConnection);
}

TEST(TcpLink, ErrnoValuesMapToFailures) {
    const std::vector<std::pair<int, Failure>> cases{
        {ECONNREFUSED, Failure::Refused},
        {ENETUNREACH, Failure::Unreachable},
        {EHOSTUNREACH, Failure::Unreachable},
        {ETIMEDOUT, Failure::TimedOut},
        {EPIPE, Failure::Closed},
        {ECONNRESET, Failure::Closed},
        {ENOENT, Failure::NotFound},
        {EACCES, Failure::PermissionDenied},
        {ENOTTY, Failure::NotATerminal},
        {ENOMEM, Failure::Io},
    };
    for (const auto& [error, failure] : cases)
        EXPECT_STREQ(FailureName(FailureFromErrno(error)), FailureName(failure)) << error;
}

// A listener whose queue is full drops further handshakes, so the connect
// neither succeeds nor fails: only the timeout ends it.
TEST(TcpLink, ConnectGivesUpAtItsTimeout) {
    Listener full(0);
    std::vector<std::unique_ptr<Link>> queued;
    LinkStatus status;
    const auto start = Clock::now();
    for (int i = 0; i < 8 && status.failure != Failure::TimedOut; ++i) {
        auto link = Link::Open(Tcp(full.port()), 200, status);
        if (link)
            queued.push_back(std::move(link));
    }
    EXPECT_EQ(status.failure, Failure::TimedOut) << status.text;
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(3));
}

TEST(TcpLink, APeerThatNeverAnswersTimesOut) {
    Listener listener;
    LinkStatus status;
    auto link = Link::Open(Tcp(listener.port()), 1000, status);
    ASSERT_TRUE(link);
    const int peer = listener.Accept();
    std::string in;
    const auto start = Clock::now();
    const IoResult got = link->Receive(in, 1, 150);
    const auto waited = Clock::now() - start;
    EXPECT_EQ(got.status.failure, Failure::TimedOut);
    EXPECT_GE(waited, std::chrono::milliseconds(140));
    EXPECT_LT(waited, std::chrono::seconds(2));
    // Nor reads: the send buffers fill and the rest waits past the timeout.
    const std::string tenMegabytes(10 * 1024 * 1024, 'x');
    const IoResult sent = link->Send(tenMegabytes, 200);
    EXPECT_EQ(sent.status.failure, Failure::TimedOut);
    EXPECT_GT(sent.count, 0u);
    EXPECT_LT(sent.count, tenMegabytes.size());
    close(peer);
}

TEST(TcpLink, APeerThatLeavesMidJobIsReportedClosed) {
    Listener listener;
    LinkStatus status;
    auto link = Link::Open(Tcp(listener.port()), 1000, status);
    ASSERT_TRUE(link);
    const int peer = listener.Accept();
    ReadSome(peer, 10);
    close(peer);
    const IoResult sent = link->Send(std::string(10 * 1024 * 1024, 'x'), 2000);
    EXPECT_EQ(sent.status.failure, Failure::Closed) << sent.status.text;
    std::string in;
    EXPECT_EQ(link->Receive(in, 16, 500).status.failure, Failure::Closed);
}

TEST(TcpLink, TheReaderHandsOverBytesAndReconnectsWithTheLink) {
    Listener listener;
    LinkStatus status;
    auto link = Link::Open(Tcp(listener.port()), 1000, status);
    ASSERT_TRUE(link);
    int peer = listener.Accept();
    Collected collected;
    ASSERT_TRUE(link->StartReader(collected.Bytes(*link), collected.Failures()).ok());
    std::string in;
    EXPECT_EQ(link->Receive(in, 1, 10).status.failure, Failure::Busy);
    ASSERT_EQ(write(peer, "\x14\x00", 2), 2);
    EXPECT_TRUE(collected.WaitFor([&] { return collected.bytes.size() == 2; }));
    close(peer);
    EXPECT_TRUE(collected.WaitFor([&] { return !collected.failures.empty(); }));
    EXPECT_EQ(collected.failures.front(), Failure::Closed);
    EXPECT_FALSE(link->ReaderRunning());

    ASSERT_TRUE(link->Reconnect(1000).ok());
    peer = listener.Accept();
    ASSERT_GE(peer, 0);
    ASSERT_EQ(write(peer, "\x10", 1), 1);
    EXPECT_TRUE(collected.WaitFor([&] { return collected.bytes.size() == 3; }));
    EXPECT_TRUE(link->ReaderRunning());
    EXPECT_TRUE(link->Send("ok", 500).status.ok());
    EXPECT_EQ(ReadSome(peer), "ok");
    link->Close();
    EXPECT_FALSE(link->IsOpen());
    EXPECT_EQ(link->Send("x", 100).status.failure, Failure::Closed);
    close(peer);

    listener.Stop();
    EXPECT_EQ(link->Reconnect(500).failure, Failure::Refused);
}

} // namespace

// A peer that floods the link while nobody takes what arrives: the reader
// keeps a bounded buffer, counts the rest as dropped, and tells once.
TEST(TcpLink, TheReaderKeepsABoundedBufferAndCountsWhatItDrops) {
    Listener listener;
    LinkStatus status;
    auto link = Link::Open(Tcp(listener.port()), 1000, status);
    ASSERT_TRUE(link) << status.text;
    const int peer = listener.Accept();
    ASSERT_GE(peer, 0);
    std::atomic<int> told{0};
    ASSERT_TRUE(link->StartReader([&] { ++told; }, [](const LinkStatus&) {}).ok());
    std::thread flood([peer] {
        const std::string block(1 << 16, 'x');
        for (int i = 0; i < 64; ++i)
            if (send(peer, block.data(), block.size(), MSG_NOSIGNAL) <= 0)
                return;
    });
    std::this_thread::sleep_for(std::chrono::seconds(1));
    const Received received = link->TakeReceived();
    EXPECT_EQ(received.bytes.size(), Link::kMostWaiting);
    EXPECT_GT(received.dropped, 0u);
    EXPECT_EQ(told.load(), 1) << "told when bytes began to wait, not for each read";
    link->Close();
    flood.join();
    close(peer);
}
