#include "transport/file_kind.h"

namespace zorv::opos::transport {

std::string FileKind(const struct stat& info) {
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
    if (S_ISCHR(info.st_mode))
        return "a character device";
    return "a file of another kind";
}

} // namespace zorv::opos::transport
