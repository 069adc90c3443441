#pragma once
// A device's link that survives unplugging: the link's reader hands bytes to
// the apartment; when the far end goes away the link is dropped, and a watch
// on the path opens it again once the device is back. Every handler runs on
// the apartment thread, never after this object is gone.
#include <functional>
#include <memory>
#include <string>

#include "backends/path_watch.h"
#include "transport/link.h"

namespace zorv::opos::real {

class WatchedLink {
public:
    struct Handlers {
        std::function<void(const std::string&)> bytes;
        std::function<void()> lost; // the device went away
        std::function<void()> back; // open again after a loss
    };

    WatchedLink(transport::Connection connection, Handlers handlers);
    ~WatchedLink();
    WatchedLink(const WatchedLink&) = delete;
    WatchedLink& operator=(const WatchedLink&) = delete;

    // The first opening; when it fails the path is watched and `back` tells
    // when it worked after all.
    bool Open();
    bool IsOpen() const { return link_ != nullptr; }
    // Why the link is not open.
    const std::string& Problem() const { return problem_; }
    // A failed write counts as the device going away.
    bool Send(std::string_view bytes, int timeoutMs);

private:
    bool Connect();
    void Lose(const std::string& why);
    void Reconnect();
    void Later(std::function<void(WatchedLink&)> call);

    transport::Connection connection_;
    Handlers handlers_;
    std::unique_ptr<transport::Link> link_;
    std::string problem_;
    unsigned generation_ = 0;
    PathWatch watch_;
    std::shared_ptr<WatchedLink*> self_;
};

} // namespace zorv::opos::real
