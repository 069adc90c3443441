#include "backends/serial/watched_link.h"

#include "platform/com/apartment.h"

namespace zorv::opos::real {
namespace {

constexpr int kOpenTimeoutMs = 2000;

} // namespace

WatchedLink::WatchedLink(transport::Connection connection, Handlers handlers)
    : connection_(std::move(connection)), handlers_(std::move(handlers)),
      self_(std::make_shared<WatchedLink*>(this)) {}

WatchedLink::~WatchedLink() {
    self_.reset();
    watch_.Stop();
    link_.reset();
}

// Posted calls hold this object weakly: a read that lands after the last
// Close finds nobody.
void WatchedLink::Later(std::function<void(WatchedLink&)> call) {
    std::weak_ptr<WatchedLink*> alive = self_;
    com::PostCall([alive, call = std::move(call)] {
        if (const auto self = alive.lock())
            call(**self);
    });
}

bool WatchedLink::Open() {
    if (Connect())
        return true;
    watch_.Start(connection_.path, [this] { Later([](WatchedLink& self) { self.Reconnect(); }); });
    return false;
}

bool WatchedLink::Connect() {
    transport::LinkStatus status;
    link_ = transport::Link::Open(connection_, kOpenTimeoutMs, status);
    // A failure an earlier link's reader posted must not drop this one.
    const unsigned generation = ++generation_;
    if (link_)
        status = link_->StartReader(
            [this](std::string_view bytes) {
                Later([bytes = std::string(bytes)](WatchedLink& self) { self.handlers_.bytes(bytes); });
            },
            [this, generation](const transport::LinkStatus& failure) {
                Later([why = failure.text, generation](WatchedLink& self) {
                    if (generation == self.generation_)
                        self.Lose(why);
                });
            });
    if (!link_ || !status.ok()) {
        link_.reset();
        problem_ = status.text;
        return false;
    }
    problem_.clear();
    return true;
}

void WatchedLink::Lose(const std::string& why) {
    if (!link_)
        return;
    link_.reset();
    problem_ = why;
    handlers_.lost();
    watch_.Start(connection_.path, [this] { Later([](WatchedLink& self) { self.Reconnect(); }); });
}

void WatchedLink::Reconnect() {
    watch_.Stop();
    if (Connect())
        handlers_.back();
    else
        Open();
}

bool WatchedLink::Send(std::string_view bytes, int timeoutMs) {
    if (!link_)
        return false;
    const transport::IoResult result = link_->Send(bytes, timeoutMs);
    if (result.status.ok())
        return true;
    Lose(result.status.text);
    return false;
}

} // namespace zorv::opos::real
