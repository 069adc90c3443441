#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cstring>

#include "transport/file_kind.h"
#include "transport/link_open.h"

namespace zorv::opos::transport {
namespace {

struct Speed {
    int baud;
    speed_t code;
};

constexpr std::array kSpeeds{Speed{1200, B1200},   Speed{2400, B2400},     Speed{4800, B4800},
                             Speed{9600, B9600},   Speed{19200, B19200},   Speed{38400, B38400},
                             Speed{57600, B57600}, Speed{115200, B115200}, Speed{230400, B230400}};

speed_t SpeedCode(int baud) {
    for (const Speed& speed : kSpeeds)
        if (speed.baud == baud)
            return speed.code;
    return B9600;
}

tcflag_t SizeFlag(int dataBits) {
    switch (dataBits) {
    case 5:
        return CS5;
    case 6:
        return CS6;
    case 7:
        return CS7;
    default:
        return CS8;
    }
}

bool Configure(int fd, const Connection& c) {
    termios t{};
    if (tcgetattr(fd, &t) != 0)
        return false;
    cfmakeraw(&t);
    cfsetispeed(&t, SpeedCode(c.baud));
    cfsetospeed(&t, SpeedCode(c.baud));
    t.c_cflag =
        (t.c_cflag & ~(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS)) | SizeFlag(c.dataBits) | CLOCAL | CREAD;
    if (c.parity != 'N')
        t.c_cflag |= PARENB | (c.parity == 'O' ? PARODD : 0);
    if (c.stopBits == 2)
        t.c_cflag |= CSTOPB;
    if (c.flow == FlowControl::RtsCts)
        t.c_cflag |= CRTSCTS;
    t.c_iflag &= ~(IXON | IXOFF | IXANY);
    if (c.flow == FlowControl::XonXoff)
        t.c_iflag |= IXON | IXOFF;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    return tcsetattr(fd, TCSANOW, &t) == 0;
}

// Character devices that take any bytes and answer nothing, or endless
// bytes: a printer there would print into the void or read for ever.
constexpr unsigned kMemoryDevices = 1;              // /dev/null, /dev/zero, /dev/full, /dev/random...
constexpr unsigned kTerminalDevices = 5, kPtmx = 2; // /dev/tty, /dev/console, /dev/ptmx

std::string UnsuitableNode(const struct stat& info) {
    const unsigned kind = major(info.st_rdev);
    if (kind == kMemoryDevices)
        return "a memory device (such as /dev/null or /dev/zero), not a printer";
    if (kind == kTerminalDevices && minor(info.st_rdev) <= kPtmx)
        return "this program's own terminal, not a printer";
    return {};
}

} // namespace

LinkStatus ErrnoStatus(int error, const std::string& what) {
    return {FailureFromErrno(error), what + ": " + std::strerror(error)};
}

int OpenSerial(const Connection& connection, LinkStatus& status) {
    const std::string where = "serial:" + connection.path;
    struct stat info {};
    if (stat(connection.path.c_str(), &info) != 0) {
        status = ErrnoStatus(errno, where);
        return -1;
    }
    if (!S_ISCHR(info.st_mode)) {
        status = {Failure::NotATerminal, where + " is " + FileKind(info) + ", not a serial line"};
        return -1;
    }
    const int fd = open(connection.path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        status = ErrnoStatus(errno, where);
        return -1;
    }
    if (!isatty(fd)) {
        close(fd);
        status = {Failure::NotATerminal, where + " is not a serial line (not a terminal)"};
        return -1;
    }
    if (!Configure(fd, connection)) {
        status = ErrnoStatus(errno, where + " cannot be configured");
        close(fd);
        return -1;
    }
    return fd;
}

// The path is looked at before it is opened, and the open descriptor once
// more, so receipt bytes never go into a file someone named by mistake.
int OpenCharacterDevice(const Connection& connection, LinkStatus& status) {
    const std::string where = "file:" + connection.path;
    struct stat info {};
    if (stat(connection.path.c_str(), &info) != 0) {
        status = ErrnoStatus(errno, where);
        return -1;
    }
    if (!S_ISCHR(info.st_mode)) {
        status = {Failure::NotACharacterDevice,
                  where + " is " + FileKind(info) + ", not a character device: nothing was written"};
        return -1;
    }
    if (const std::string unsuitable = UnsuitableNode(info); !unsuitable.empty()) {
        status = {Failure::NotACharacterDevice, where + " is " + unsuitable + ": nothing was written"};
        return -1;
    }
    int fd = open(connection.path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0 && (errno == EACCES || errno == EROFS))
        fd = open(connection.path.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        status = ErrnoStatus(errno, where);
        return -1;
    }
    if (fstat(fd, &info) != 0 || !S_ISCHR(info.st_mode) || !UnsuitableNode(info).empty()) {
        close(fd);
        status = {Failure::NotACharacterDevice, where + " changed while it was opened"};
        return -1;
    }
    return fd;
}

} // namespace zorv::opos::transport
