#pragma once
// A device's link that survives unplugging: the link's reader hands bytes to
// the apartment; when the far end goes away the link is dropped, and a watch
// on the path opens it again once the device is back. Bytes go out on the
// link's own writer thread, so a device that stops reading holds up that
// thread, never the apartment: once it has taken nothing for the write
// timeout, or too much waits for it, it counts as gone. Every handler runs
// on the apartment thread, never after this object is gone.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "backends/path_watch.h"
#include "transport/link.h"
#include "transport/link_writer.h"

namespace zorv::opos::real {

class WatchedLink {
public:
    struct Handlers {
        std::function<void(const std::string&)> bytes;
        std::function<void()> lost; // the device went away
        std::function<void()> back; // open again after a loss
        // Bytes came faster than they were taken and this many were lost,
        // after the bytes just handed over.
        std::function<void(std::uint64_t)> dropped;
    };

    WatchedLink(transport::Connection connection, Handlers handlers, int writeTimeoutMs = 3000);
    ~WatchedLink();
    WatchedLink(const WatchedLink&) = delete;
    WatchedLink& operator=(const WatchedLink&) = delete;

    // The first opening; when it fails the path is watched and `back` tells
    // when it worked after all, unless the path names what can never be
    // such a device (a regular file, /dev/null, a pipe...).
    bool Open();
    bool IsOpen() const { return link_ != nullptr; }
    bool Unsuitable() const { return unsuitable_; }
    // Why the link is not open.
    const std::string& Problem() const { return problem_; }
    // Queues the bytes; false when the link is not open, or when the device
    // has left too much unread (it then counts as gone). `written` runs on
    // the apartment with whether they went out, unless the link was lost
    // meanwhile. A failed write counts as the device going away.
    bool Write(std::string bytes, std::function<void(bool)> written = {});
    // Bytes queued and not yet out.
    std::size_t Waiting() const { return waiting_; }
    // Bytes the link dropped because they came faster than they were taken.
    std::uint64_t Dropped() const { return dropped_; }

private:
    bool Connect();
    void Lose(const std::string& why);
    void Reconnect();
    void WatchPath();
    void Later(std::function<void(WatchedLink&)> call);

    void Drop();
    void Wrote(std::size_t size, const transport::LinkStatus& status,
               const std::function<void(bool)>& written);

    transport::Connection connection_;
    Handlers handlers_;
    int writeTimeoutMs_;
    std::unique_ptr<transport::Link> link_;
    std::unique_ptr<transport::LinkWriter> writer_; // goes before link_
    std::size_t waiting_ = 0;
    std::string problem_;
    bool unsuitable_ = false;
    unsigned generation_ = 0;
    std::uint64_t dropped_ = 0;
    PathWatch watch_;
    std::shared_ptr<WatchedLink*> self_;
};

} // namespace zorv::opos::real
