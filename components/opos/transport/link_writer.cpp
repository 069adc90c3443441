#include "transport/link_writer.h"

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
    thread_ = std::thread([this] { Run(); });
}

LinkWriter::~LinkWriter() {
    Stop();
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
    cancel_.Raise();
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
            link_.Send(job->bytes, job->timeoutMs < 0 ? timeoutMs_ : job->timeoutMs, &cancel_);
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
