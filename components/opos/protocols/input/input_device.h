#pragma once
// An input device opened for reading. On a real evdev node the program can
// take it for itself (EVIOCGRAB), so a wedge scanner's keystrokes reach no
// other window, and learn its name; on anything else (a pipe in tests) it
// just reads.
#include <memory>
#include <string>

struct libevdev;

namespace zorv::opos::input {

class InputDevice {
public:
    // Takes ownership of fd (closed with the object).
    explicit InputDevice(int fd);
    ~InputDevice();
    InputDevice(const InputDevice&) = delete;
    InputDevice& operator=(const InputDevice&) = delete;

    // Opens path read-only and non-blocking; null with errno set on failure.
    static std::unique_ptr<InputDevice> Open(const std::string& path, int& error);

    int Fd() const { return fd_; }
    bool IsEvdev() const { return evdev_ != nullptr; }
    std::string Name() const;
    // 0 on success or when the device is not evdev; else an errno value
    // (EBUSY: another program holds it).
    int Grab(bool take);
    bool Grabbed() const { return grabbed_; }

private:
    int fd_;
    libevdev* evdev_ = nullptr;
    bool grabbed_ = false;
};

} // namespace zorv::opos::input
