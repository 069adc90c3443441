#include "stand_in_node.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <stdexcept>

#include "protocols/input/key_layout.h"

namespace device_test {

StandInNode::StandInNode() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zorv-node-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("no temporary directory");
    dir_ = pattern;
    link_ = dir_ / "event-kbd";
    Plug();
}

StandInNode::~StandInNode() {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
}

void StandInNode::Plug() {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC | O_DIRECT) != 0)
        throw std::runtime_error("no pipe");
    reading_ = Fd(fds[0]);
    writing_ = Fd(fds[1]);
    std::error_code ignored;
    std::filesystem::remove(link_, ignored);
    std::filesystem::create_symlink("/proc/self/fd/" + std::to_string(fds[0]), link_);
}

void StandInNode::Unplug() {
    std::error_code ignored;
    std::filesystem::remove(link_, ignored);
    writing_.Close();
    reading_.Close();
}

void StandInNode::Send(const void* bytes, std::size_t size) {
    WriteAll(writing_.get(), bytes, size);
}

void StandInNode::Key(unsigned code, int value) {
    input_event event{};
    event.type = EV_KEY;
    event.code = static_cast<__u16>(code);
    event.value = value;
    Send(&event, sizeof event);
}

void StandInNode::Type(std::u16string_view text, bool enter, bool french) {
    using zorv::opos::input::Layout;
    const auto events = zorv::opos::input::Keystrokes(french ? Layout::French : Layout::Us, text, enter);
    if (!events)
        throw std::runtime_error("cannot type that text on this layout");
    Send(events->data(), events->size() * sizeof(input_event));
}

} // namespace device_test
