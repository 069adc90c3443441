#include "backends/input/watched_node.h"

#include <cstring>

#include "platform/com/apartment.h"

namespace zorv::opos::real {
namespace {

std::string Why(const std::string& path, int error) {
    if (error == 0)
        return path + ": the device went away";
    return path + ": " + std::strerror(error);
}

// Posted calls hold this object weakly: a read that lands after the last
// Close finds nobody. The reader's thread gets its weak pointer made on the
// apartment thread, never touching this object itself.
void Post(std::weak_ptr<WatchedNode*> alive, std::function<void(WatchedNode&)> call) {
    com::PostCall([alive = std::move(alive), call = std::move(call)] {
        if (const auto self = alive.lock())
            call(**self);
    });
}

} // namespace

WatchedNode::WatchedNode(std::string path, Handlers handlers)
    : path_(std::move(path)), handlers_(std::move(handlers)), self_(std::make_shared<WatchedNode*>(this)) {}

WatchedNode::~WatchedNode() {
    self_.reset();
    watch_.Stop();
    reader_.Stop();
    device_.reset();
}

void WatchedNode::Later(std::function<void(WatchedNode&)> call) {
    Post(self_, std::move(call));
}

void WatchedNode::WatchPath() {
    watch_.Start(path_, [alive = std::weak_ptr<WatchedNode*>(self_)] {
        Post(alive, [](WatchedNode& self) { self.Reconnect(); });
    });
}

bool WatchedNode::Open() {
    if (Connect())
        return true;
    WatchPath();
    return false;
}

bool WatchedNode::Connect() {
    int error = 0;
    device_ = input::InputDevice::Open(path_, error);
    if (!device_) {
        problem_ = Why(path_, error);
        return false;
    }
    // An end an earlier reader posted must not drop this one.
    const unsigned generation = ++generation_;
    const std::weak_ptr<WatchedNode*> alive = self_;
    const bool started = reader_.Start(
        device_->Fd(),
        [alive](std::string_view bytes) {
            Post(alive, [bytes = std::string(bytes)](WatchedNode& self) { self.handlers_.bytes(bytes); });
        },
        [alive, generation](int failure) {
            Post(alive, [failure, generation](WatchedNode& self) {
                if (generation == self.generation_)
                    self.Lose(Why(self.path_, failure));
            });
        });
    if (!started) {
        problem_ = Why(path_, errno);
        device_.reset();
        return false;
    }
    if (held_)
        device_->Grab(true);
    problem_.clear();
    return true;
}

void WatchedNode::Lose(const std::string& why) {
    if (!device_)
        return;
    reader_.Stop();
    device_.reset();
    problem_ = why;
    handlers_.lost();
    WatchPath();
}

void WatchedNode::Reconnect() {
    watch_.Stop();
    if (Connect())
        handlers_.back();
    else
        WatchPath();
}

int WatchedNode::Hold(bool take) {
    const int error = device_ ? device_->Grab(take) : 0;
    held_ = take && error == 0;
    return error;
}

} // namespace zorv::opos::real
