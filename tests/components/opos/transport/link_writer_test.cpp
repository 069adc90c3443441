// The writer thread over a loopback link: jobs in order with queued-ahead
// ones first, a timeout that counts only time without progress, a stop that
// cuts a stuck send short and cancels the rest, and the periodic tick.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <mutex>
#include <thread>

#include "loopback_listener.h"
#include "transport/link_writer.h"

using namespace zorv::opos::transport;
using Clock = std::chrono::steady_clock;
using transport_test::Listener;
using transport_test::Tcp;

namespace {

constexpr int kSmallBuffer = 4096;

// Reads whatever arrives on the peer until `total` bytes came or a second
// passes without any, sleeping `pause` between reads (a slow printer).
std::string Drain(int peer, size_t total, std::chrono::milliseconds pause = {}) {
    std::string got;
    char buffer[4096];
    while (got.size() < total) {
        pollfd p{peer, POLLIN, 0};
        if (poll(&p, 1, 1000) != 1)
            break;
        const ssize_t n = read(peer, buffer, sizeof buffer);
        if (n <= 0)
            break;
        got.append(buffer, static_cast<size_t>(n));
        std::this_thread::sleep_for(pause);
    }
    return got;
}

// Outcomes in the order the jobs ended.
struct Outcomes {
    std::mutex mutex;
    std::vector<std::pair<char, IoResult>> ended;
    std::function<void(const IoResult&)> For(char name) {
        return [this, name](const IoResult& result) {
            std::lock_guard lock(mutex);
            ended.emplace_back(name, result);
        };
    }
    size_t Count() {
        std::lock_guard lock(mutex);
        return ended.size();
    }
};

bool Eventually(const std::function<bool()>& done, int ms = 3000) {
    const auto until = Clock::now() + std::chrono::milliseconds(ms);
    while (!done() && Clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return done();
}

struct Linked {
    Listener listener{4, kSmallBuffer};
    std::unique_ptr<Link> link;
    int peer = -1;
    Linked() {
        LinkStatus status;
        link = Link::Open(Tcp(listener.port()), 1000, status);
        peer = listener.Accept();
    }
    ~Linked() {
        if (peer >= 0)
            close(peer);
    }
};

} // namespace

TEST(LinkWriter, JobsGoInOrderWithThoseQueuedAheadFirst) {
    Linked linked;
    ASSERT_TRUE(linked.link);
    ASSERT_GE(linked.peer, 0);
    Outcomes outcomes;
    LinkWriter writer(*linked.link, 5000);
    // The peer reads nothing yet, so the big job is still going out while
    // the others are queued behind it.
    const std::string big(8 << 20, 'x');
    writer.Enqueue({big, {}, outcomes.For('x')});
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    writer.Enqueue({"B", {}, outcomes.For('B')});
    writer.Enqueue({"C", {}, outcomes.For('C')});
    writer.Enqueue({"A", {}, outcomes.For('A')}, true);
    writer.Enqueue({"a", {}, outcomes.For('a')}, true);
    const std::string got = Drain(linked.peer, big.size() + 4);
    ASSERT_EQ(got.size(), big.size() + 4);
    EXPECT_EQ(got.substr(big.size()), "AaBC");
    ASSERT_TRUE(Eventually([&] { return outcomes.Count() == 5; }));
    std::string order;
    for (const auto& [name, result] : outcomes.ended) {
        order += name;
        EXPECT_TRUE(result.status.ok()) << result.status.text;
    }
    EXPECT_EQ(order, "xAaBC");
}

TEST(LinkWriter, TimesOutOnlyWithoutProgressAndStopCancelsTheRest) {
    Linked slow;
    ASSERT_TRUE(slow.link);
    Outcomes outcomes;
    {
        // 8 MB read 4 KB a millisecond takes about 2 s, far beyond the
        // 300 ms timeout (and more than the socket buffers hold), yet the
        // printer never stops taking data.
        LinkWriter writer(*slow.link, 300);
        const std::string job(8 << 20, 'y');
        const auto start = Clock::now();
        std::atomic<Clock::rep> took{0};
        writer.Enqueue({job, {}, [&](const IoResult& result) {
                            took = (Clock::now() - start).count();
                            outcomes.For('y')(result);
                        }});
        EXPECT_EQ(Drain(slow.peer, job.size(), std::chrono::milliseconds(1)).size(), job.size());
        ASSERT_TRUE(Eventually([&] { return outcomes.Count() == 1; }));
        EXPECT_TRUE(outcomes.ended[0].second.status.ok()) << outcomes.ended[0].second.status.text;
        EXPECT_GT(Clock::duration(took.load()), std::chrono::milliseconds(600)) << "longer than the timeout";

        // Now nobody reads: the job fails after the timeout with what got through.
        const std::string stuck(16 << 20, 'z');
        writer.Enqueue({stuck, {}, outcomes.For('z')});
        ASSERT_TRUE(Eventually([&] { return outcomes.Count() == 2; }));
        EXPECT_EQ(outcomes.ended[1].second.status.failure, Failure::TimedOut);
        EXPECT_LT(outcomes.ended[1].second.count, stuck.size());
    }

    Linked deaf;
    ASSERT_TRUE(deaf.link);
    Outcomes stopped;
    auto writer = std::make_unique<LinkWriter>(*deaf.link, 60000);
    writer->Enqueue({std::string(16 << 20, 'w'), {}, stopped.For('w')});
    writer->Enqueue({"later", {}, stopped.For('l')});
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const auto start = Clock::now();
    writer->Stop();
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(1)) << "not the 60 s timeout";
    ASSERT_EQ(stopped.Count(), 2u) << "every job is told before Stop returns";
    EXPECT_EQ(stopped.ended[0].second.status.failure, Failure::Cancelled);
    EXPECT_EQ(stopped.ended[1].second.status.failure, Failure::Cancelled);
    Outcomes late;
    writer->Enqueue({"too late", {}, late.For('t')});
    ASSERT_EQ(late.Count(), 1u);
    EXPECT_EQ(late.ended[0].second.status.failure, Failure::Cancelled);
}

TEST(LinkWriter, TheTickSendsItsJobsAtItsInterval) {
    Linked linked;
    ASSERT_TRUE(linked.link);
    std::atomic<int> ticks{0};
    std::atomic<int> sending{0};
    LinkWriter writer(*linked.link, 1000, std::chrono::milliseconds(50), [&] {
        ++ticks;
        std::vector<WriteJob> jobs;
        jobs.push_back({"?", [&] { ++sending; }, {}});
        return jobs;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const std::string got = Drain(linked.peer, static_cast<size_t>(ticks.load()));
    EXPECT_GE(ticks.load(), 5);
    EXPECT_LE(ticks.load(), 12) << "a steady interval, not a busy loop";
    EXPECT_EQ(got, std::string(got.size(), '?'));
    EXPECT_GE(sending.load(), 5);
}

// A device that stops reading: the job waiting behind the stuck one goes
// before any tick's job, and a tick's job with a short timeout of its own
// gives up after that, not after the writer's timeout.
TEST(LinkWriter, TheTickNeverGoesAheadOfAWaitingJobAndItsJobsKeepTheirOwnTimeout) {
    Linked linked;
    ASSERT_TRUE(linked.link);
    Outcomes outcomes;
    std::mutex timesMutex;
    std::vector<Clock::time_point> tickEnds;
    const std::string big(8 << 20, 'a');
    LinkWriter writer(*linked.link, 1000, std::chrono::milliseconds(20), [&] {
        std::vector<WriteJob> jobs;
        jobs.push_back({"?",
                        {},
                        [&](const IoResult& result) {
                            outcomes.For('p')(result);
                            std::lock_guard lock(timesMutex);
                            tickEnds.push_back(Clock::now());
                        },
                        100});
        return jobs;
    });
    writer.Enqueue({big, {}, outcomes.For('a')});
    writer.Enqueue({"b", {}, outcomes.For('b')});
    // A tick may come before 'a' starts: the link was idle then.
    ASSERT_TRUE(Eventually(
        [&] {
            std::lock_guard lock(timesMutex);
            return tickEnds.size() >= 4;
        },
        8000));
    std::lock_guard lock(outcomes.mutex);
    size_t a = 0;
    while (a < outcomes.ended.size() && outcomes.ended[a].first != 'a')
        ++a;
    ASSERT_LT(a + 2, outcomes.ended.size());
    EXPECT_EQ(outcomes.ended[a + 1].first, 'b') << "no tick's job before the job that waited";
    EXPECT_EQ(outcomes.ended[a + 1].second.status.failure, Failure::TimedOut);
    EXPECT_EQ(outcomes.ended[a + 2].second.status.failure, Failure::TimedOut);
    std::lock_guard times(timesMutex);
    const size_t last = tickEnds.size() - 1;
    EXPECT_LT(tickEnds[last] - tickEnds[last - 1], std::chrono::milliseconds(600))
        << "each gave up after its own 100 ms";
}
