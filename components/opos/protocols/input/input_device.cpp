#include "protocols/input/input_device.h"

#include <cerrno>
#include <fcntl.h>
#include <libevdev/libevdev.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace zorv::opos::input {

InputDevice::InputDevice(int fd) : fd_(fd) {
    int version = 0;
    // Only an evdev node answers this; libevdev would fail on a pipe anyway.
    if (ioctl(fd_, EVIOCGVERSION, &version) == 0 && libevdev_new_from_fd(fd_, &evdev_) != 0)
        evdev_ = nullptr;
}

InputDevice::~InputDevice() {
    if (grabbed_)
        Grab(false);
    if (evdev_)
        libevdev_free(evdev_);
    if (fd_ >= 0)
        close(fd_);
}

std::unique_ptr<InputDevice> InputDevice::Open(const std::string& path, int& error) {
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = errno;
        return nullptr;
    }
    error = 0;
    return std::make_unique<InputDevice>(fd);
}

std::string InputDevice::Name() const {
    const char* name = evdev_ ? libevdev_get_name(evdev_) : nullptr;
    return name ? name : "";
}

int InputDevice::Grab(bool take) {
    if (!evdev_)
        return 0;
    const int result = libevdev_grab(evdev_, take ? LIBEVDEV_GRAB : LIBEVDEV_UNGRAB);
    if (result < 0)
        return -result;
    grabbed_ = take;
    return 0;
}

} // namespace zorv::opos::input
