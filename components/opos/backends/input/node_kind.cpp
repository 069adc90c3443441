#include "backends/input/node_kind.h"

#include <cerrno>
#include <cstring>
#include <linux/hidraw.h>
#include <linux/input.h>
#include <linux/magic.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/vfs.h>

#include "transport/file_kind.h"

namespace zorv::opos::real {
namespace {

std::string Wanted(NodeKind kind) {
    return kind == NodeKind::Event ? "an input event device (/dev/input/event*)"
                                   : "a hidraw node (/dev/hidraw*)";
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
    return "is " + transport::FileKind(info) + ", not " + Wanted(kind);
}

} // namespace zorv::opos::real
