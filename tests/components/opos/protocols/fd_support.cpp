#include "fd_support.h"

#include <cstdlib>
#include <fcntl.h>
#include <stdexcept>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

namespace device_test {

Fd& Fd::operator=(Fd&& other) noexcept {
    if (this != &other) {
        Close();
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

void Fd::Close() {
    if (fd_ >= 0)
        close(fd_);
    fd_ = -1;
}

FdPair OpenPseudoTerminal() {
    Fd master(posix_openpt(O_RDWR | O_NOCTTY));
    if (master.get() < 0 || grantpt(master.get()) != 0 || unlockpt(master.get()) != 0)
        throw std::runtime_error("no pseudo-terminal");
    std::string name = ptsname(master.get());
    Fd slave(open(name.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK));
    if (slave.get() < 0)
        throw std::runtime_error("cannot open " + name);
    termios mode{};
    tcgetattr(slave.get(), &mode);
    cfmakeraw(&mode);
    tcsetattr(slave.get(), TCSANOW, &mode);
    return {std::move(slave), std::move(master), std::move(name)};
}

FdPair OpenPipe() {
    int fds[2];
    if (pipe2(fds, O_NONBLOCK) != 0)
        throw std::runtime_error("no pipe");
    return {Fd(fds[0]), Fd(fds[1]), {}};
}

FdPair OpenSocketPair() {
    int fds[2];
    if (socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_NONBLOCK, 0, fds) != 0)
        throw std::runtime_error("no socket pair");
    return {Fd(fds[0]), Fd(fds[1]), {}};
}

void WriteAll(int fd, const void* data, std::size_t size) {
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = write(fd, bytes, size);
        if (n <= 0)
            throw std::runtime_error("short write");
        bytes += n;
        size -= static_cast<std::size_t>(n);
    }
}

} // namespace device_test
