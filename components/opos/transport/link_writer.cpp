#include "transport/link_writer.h"

#include <fcntl.h>
#include <unistd.h>

namespace zorv::opos::transport {
namespace {

using Clock = std::chrono::steady_clock;

IoResult CancelledResult(const Link& link) {
    return {0,
            {Failure::Cancelled, ConnectionText(link.connection()) + ": the link went before these bytes"}};
}

} // namespace

LinkWriter::LinkWriter(Link& link, int timeoutMs, std::chrono::milliseconds tickEvery, Tick tick)
    : link_(link), timeoutMs_(timeoutMs), tickEvery_(tick ? tickEvery : std::chrono::milliseconds(0)),
      tick_(std::move(tick)) {
    // Without the pipe a send can still not be cut short, only waited out.
    if (pipe2(cancel_, O_CLOEXEC | O_NONBLOCK) != 0)
        cancel_[0] = cancel_[1] = -1;
    thread_ = std::thread([this] { Run(); });
}

LinkWriter::~LinkWriter() {
    Stop();
    if (cancel_[0] >= 0) {
        ::close(cancel_[0]);
        ::close(cancel_[1]);
    }
}

void LinkWriter::Enqueue(WriteJob job, bool ahead) {
    {
        std::lock_guard lock(mutex_);
        if (!stopping_) {
            if (ahead)
                jobs_.insert(jobs_.begin() + static_cast<std::ptrdiff_t>(ahead_++), std::move(job));
            else
                jobs_.push_back(std::move(job));
            wake_.notify_one();
            return;
        }
    }
    if (job.done)
        job.done(CancelledResult(link_));
}

void LinkWriter::Stop() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    if (cancel_[1] >= 0) {
        const char stop = 1;
        [[maybe_unused]] const ssize_t written = ::write(cancel_[1], &stop, 1);
    }
    if (thread_.joinable())
        thread_.join();
}

// The next job, or none when stopping or when a tick is due and no job waits.
std::optional<WriteJob> LinkWriter::Next(Clock::time_point nextTick) {
    std::unique_lock lock(mutex_);
    const auto ready = [this] { return stopping_ || !jobs_.empty(); };
    if (tickEvery_.count() > 0)
        wake_.wait_until(lock, nextTick, ready);
    else
        wake_.wait(lock, ready);
    if (stopping_ || jobs_.empty())
        return std::nullopt;
    WriteJob job = std::move(jobs_.front());
    jobs_.pop_front();
    if (ahead_ > 0)
        --ahead_;
    return job;
}

void LinkWriter::RunTick() {
    std::vector<WriteJob> jobs = tick_();
    std::lock_guard lock(mutex_);
    for (WriteJob& job : jobs)
        jobs_.push_back(std::move(job));
}

void LinkWriter::Run() {
    Clock::time_point nextTick = Clock::now() + tickEvery_;
    for (;;) {
        std::optional<WriteJob> job = Next(nextTick);
        if (!job) {
            {
                std::lock_guard lock(mutex_);
                if (stopping_)
                    break;
            }
            if (tickEvery_.count() > 0 && Clock::now() >= nextTick) {
                nextTick = Clock::now() + tickEvery_;
                RunTick();
            }
            continue;
        }
        if (job->sending)
            job->sending();
        const IoResult result =
            link_.Send(job->bytes, job->timeoutMs < 0 ? timeoutMs_ : job->timeoutMs, cancel_[0]);
        if (job->done)
            job->done(result);
    }
    std::deque<WriteJob> left;
    {
        std::lock_guard lock(mutex_);
        left.swap(jobs_);
        ahead_ = 0;
    }
    for (WriteJob& job : left)
        if (job.done)
            job.done(CancelledResult(link_));
}

} // namespace zorv::opos::transport
