#pragma once
// An input or hidraw node that survives unplugging: what is read reaches the
// apartment; when the device goes away (end of file, ENODEV) the node is
// closed and its path watched until it can be opened again. The program's
// hold on the device (EVIOCGRAB) is kept across the reconnection. Every
// handler runs on the apartment thread, never after this object is gone.
#include <functional>
#include <memory>
#include <string>

#include "protocols/input/input_device.h"
#include "backends/input/node_reader.h"
#include "backends/path_watch.h"

namespace zorv::opos::real {

class WatchedNode {
public:
    struct Handlers {
        std::function<void(const std::string&)> bytes; // one read, as it came
        std::function<void()> lost;
        std::function<void()> back;
    };

    WatchedNode(std::string path, Handlers handlers);
    ~WatchedNode();
    WatchedNode(const WatchedNode&) = delete;
    WatchedNode& operator=(const WatchedNode&) = delete;

    // The first opening; when it fails the path is watched and `back` tells
    // when it worked after all.
    bool Open();
    bool IsOpen() const { return device_ != nullptr; }
    const std::string& Problem() const { return problem_; }
    // Takes the device for this program alone, or lets it go; 0 or an errno
    // value (EBUSY: another program holds it). A node that is not evdev
    // (a pipe standing in) has nothing to take.
    int Hold(bool take);

private:
    bool Connect();
    void Lose(const std::string& why);
    void Reconnect();
    void Later(std::function<void(WatchedNode&)> call);
    void WatchPath();

    std::string path_;
    Handlers handlers_;
    std::unique_ptr<input::InputDevice> device_;
    NodeReader reader_;
    std::string problem_;
    bool held_ = false;
    unsigned generation_ = 0;
    PathWatch watch_;
    std::shared_ptr<WatchedNode*> self_;
};

} // namespace zorv::opos::real
