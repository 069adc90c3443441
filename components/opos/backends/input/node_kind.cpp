#include "backends/input/node_kind.h"

#include <cerrno>
#include <cstring>
#include <linux/hidraw.h>
#include <linux/input.h>
#include <linux/magic.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/vfs.h>

namespace zorv::opos::real {
namespace {

std::string Wanted(NodeKind kind) {
    return kind == NodeKind::Event ? "an input event device (/dev/input/event*)"
                                   : "a hidraw node (/dev/hidraw*)";
}

std::string KindOf(const struct stat& info) {
    if (S_ISREG(info.st_mode))
        return "a regular file";
    if (S_ISDIR(info.st_mode))
        return "a directory";
    if (S_ISFIFO(info.st_mode))
        return "a named pipe";
    if (S_ISSOCK(info.st_mode))
        return "a socket";
    if (S_ISBLK(info.st_mode))
        return "a block device";
    return "a character device of another kind";
}

bool AnswersAs(int fd, NodeKind kind) {
    int answer = 0;
    return ioctl(fd, kind == NodeKind::Event ? EVIOCGVERSION : HIDIOCGRDESCSIZE, &answer) == 0;
}

bool AnonymousPipe(int fd) {
    struct statfs filesystem {};
    return fstatfs(fd, &filesystem) == 0 && filesystem.f_type == PIPEFS_MAGIC;
}

} // namespace

std::string NodeProblem(int fd, NodeKind kind) {
    struct stat info {};
    if (fstat(fd, &info) != 0)
        return std::strerror(errno);
    if (S_ISFIFO(info.st_mode) && AnonymousPipe(fd))
        return {};
    if (S_ISCHR(info.st_mode) && AnswersAs(fd, kind))
        return {};
    return "is " + KindOf(info) + ", not " + Wanted(kind);
}

} // namespace zorv::opos::real
