#include "backends/serial/watched_link.h"

#include "platform/com/apartment.h"

namespace zorv::opos::real {
namespace {

constexpr int kOpenTimeoutMs = 2000;
// More than this unread means the device has stopped reading: at 9600 baud
// a minute of output.
constexpr std::size_t kMostWaiting = 64 * 1024;

} // namespace

WatchedLink::WatchedLink(transport::Connection connection, Handlers handlers, int writeTimeoutMs)
    : connection_(std::move(connection)), handlers_(std::move(handlers)), writeTimeoutMs_(writeTimeoutMs),
      self_(std::make_shared<WatchedLink*>(this)) {}

WatchedLink::~WatchedLink() {
    self_.reset();
    watch_.Stop();
    Drop();
}

// The writer first: stopping it cuts short a write the device does not take.
void WatchedLink::Drop() {
    writer_.reset();
    link_.reset();
    waiting_ = 0;
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

void WatchedLink::WatchPath() {
    watch_.Start(connection_.path, [this] { Later([](WatchedLink& self) { self.Reconnect(); }); });
}

bool WatchedLink::Open() {
    if (Connect())
        return true;
    if (unsuitable_)
        return false;
    WatchPath();
    return false;
}

bool WatchedLink::Connect() {
    transport::LinkStatus status;
    link_ = transport::Link::Open(connection_, kOpenTimeoutMs, status);
    // A failure an earlier link's reader posted must not drop this one.
    const unsigned generation = ++generation_;
    if (link_)
        status = link_->StartReader(
            [this] {
                Later([](WatchedLink& self) {
                    if (!self.link_)
                        return;
                    transport::Received received = self.link_->TakeReceived();
                    self.dropped_ += received.dropped;
                    if (!received.bytes.empty())
                        self.handlers_.bytes(received.bytes);
                    if (received.dropped > 0 && self.handlers_.dropped)
                        self.handlers_.dropped(received.dropped);
                });
            },
            [this, generation](const transport::LinkStatus& failure) {
                Later([why = failure.text, generation](WatchedLink& self) {
                    if (generation == self.generation_)
                        self.Lose(why);
                });
            });
    if (!link_ || !status.ok()) {
        Drop();
        problem_ = status.text;
        unsuitable_ = status.failure == transport::Failure::NotATerminal ||
                      status.failure == transport::Failure::NotACharacterDevice ||
                      status.failure == transport::Failure::BadConnection ||
                      status.failure == transport::Failure::UnknownPort;
        return false;
    }
    writer_ = std::make_unique<transport::LinkWriter>(*link_, writeTimeoutMs_);
    problem_.clear();
    return true;
}

void WatchedLink::Lose(const std::string& why) {
    if (!link_)
        return;
    ++generation_;
    Drop();
    problem_ = why;
    handlers_.lost();
    WatchPath();
}

void WatchedLink::Reconnect() {
    watch_.Stop();
    if (Connect())
        handlers_.back();
    else
        WatchPath();
}

bool WatchedLink::Write(std::string bytes, std::function<void(bool)> written) {
    if (!link_)
        return false;
    if (waiting_ + bytes.size() > kMostWaiting) {
        Lose(ConnectionText(connection_) + ": the device has not read " + std::to_string(waiting_) +
             " bytes sent to it");
        return false;
    }
    waiting_ += bytes.size();
    const std::size_t size = bytes.size();
    const unsigned generation = generation_;
    std::weak_ptr<WatchedLink*> alive = self_;
    writer_->Enqueue(
        {std::move(bytes),
         {},
         [alive, generation, size, written = std::move(written)](const transport::IoResult& result) {
             com::PostCall([alive, generation, size, written, result] {
                 const auto self = alive.lock();
                 if (!self || generation != (*self)->generation_)
                     return;
                 (*self)->Wrote(size, result.status, written);
             });
         }});
    return true;
}

void WatchedLink::Wrote(std::size_t size, const transport::LinkStatus& status,
                        const std::function<void(bool)>& written) {
    waiting_ -= std::min(waiting_, size);
    if (!status.ok())
        Lose(status.text);
    if (written)
        written(status.ok());
}

} // namespace zorv::opos::real
