#pragma once
// Sends a link's bytes on a thread of its own, so that a device that stops
// reading holds up that thread and never the apartment. Jobs go out one
// after another in the order queued (a job queued ahead goes before those
// waiting, after the ones queued ahead before it); each is told how it
// ended. Optionally a tick runs on the same thread at a steady interval
// while no job waits, and the jobs it answers go out then: what must be
// sent periodically (a status poll) needs no thread of its own, and never
// holds up a job.
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "transport/link.h"

namespace zorv::opos::transport {

struct WriteJob {
    std::string bytes;
    // On the writer's thread, just before the first byte goes.
    std::function<void()> sending;
    // On the writer's thread: sent, failed, or cancelled by Stop.
    std::function<void(const IoResult&)> done;
    // Gives up when the device takes nothing for this long; -1: the writer's timeout.
    int timeoutMs = -1;
};

class LinkWriter {
public:
    using Tick = std::function<std::vector<WriteJob>()>;

    // The link must outlive the writer (or its Stop). Each job gives up
    // when the device takes nothing for timeoutMs.
    LinkWriter(Link& link, int timeoutMs, std::chrono::milliseconds tickEvery = {}, Tick tick = {});
    ~LinkWriter();
    LinkWriter(const LinkWriter&) = delete;
    LinkWriter& operator=(const LinkWriter&) = delete;

    void Enqueue(WriteJob job, bool ahead = false);
    // Cuts short the job being sent and tells every waiting one it was
    // cancelled; from any thread but the writer's own.
    void Stop();

private:
    void Run();
    std::optional<WriteJob> Next(std::chrono::steady_clock::time_point nextTick);
    void RunTick();

    Link& link_;
    int timeoutMs_;
    std::chrono::milliseconds tickEvery_;
    Tick tick_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<WriteJob> jobs_;
    std::size_t ahead_ = 0; // jobs at the front that were queued ahead
    bool stopping_ = false;
    CancelSignal cancel_;
    std::thread thread_;
};

} // namespace zorv::opos::transport
