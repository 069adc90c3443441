#pragma once
// Both ends of the file-descriptor boundaries the device tests feed: a
// pseudo-terminal in raw mode (a serial line whose far end the test holds),
// a pipe, a socket pair. Descriptors close with their owner.
#include <string>
#include <utility>

namespace device_test {

class Fd {
public:
    Fd() = default;
    explicit Fd(int fd) : fd_(fd) {}
    Fd(Fd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    Fd& operator=(Fd&& other) noexcept;
    ~Fd() { Close(); }
    int get() const { return fd_; }
    void Close();

private:
    int fd_ = -1;
};

struct FdPair {
    Fd near;          // the side under test reads here
    Fd far;           // the test writes here
    std::string name; // the pseudo-terminal's path, when there is one
};

FdPair OpenPseudoTerminal(); // near: the raw slave, far: the master
FdPair OpenPipe();
FdPair OpenSocketPair();

void WriteAll(int fd, const void* data, std::size_t size);
inline void WriteAll(int fd, const std::string& bytes) {
    WriteAll(fd, bytes.data(), bytes.size());
}

} // namespace device_test
