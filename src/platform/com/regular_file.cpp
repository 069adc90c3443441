#include "regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "file_error_text.h"

namespace zorv::com {
namespace {

#ifdef _WIN32
// No terminals or descriptors passed to children there; bytes as they are.
constexpr int kOpenFlags = O_RDONLY | O_BINARY;
#else
constexpr int kOpenFlags = O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY;
#endif

FileBytes Failed(FileFailure failure, int error = 0) {
    FileBytes result;
    result.failure = failure;
    result.error = error;
    return result;
}

FileBytes FailedErrno() {
    return Failed(errno == ENOENT ? FileFailure::Missing : FileFailure::System, errno);
}

// Refuses what is not a regular file, from the attributes alone.
bool Refuse(const struct stat& info, std::size_t maxBytes, FileBytes& result) {
    if (S_ISDIR(info.st_mode))
        result = Failed(FileFailure::NotRegular, EISDIR);
    else if (!S_ISREG(info.st_mode))
        result = Failed(FileFailure::NotRegular);
    else if (static_cast<unsigned long long>(info.st_size) > maxBytes)
        result = Failed(FileFailure::TooLarge);
    else
        return false;
    return true;
}

struct Descriptor {
    int fd;
    ~Descriptor() {
        if (fd >= 0)
            ::close(fd);
    }
};

// Reads to the end, as the file may have grown since it was measured.
FileBytes ReadAll(int fd, std::size_t expected, std::size_t maxBytes) {
    FileBytes result;
    result.bytes.resize(expected + 1);
    std::size_t total = 0;
    for (;;) {
        if (total == result.bytes.size()) {
            if (total > maxBytes)
                return Failed(FileFailure::TooLarge);
            result.bytes.resize(std::min(total * 2, maxBytes + 1));
        }
        const ssize_t n = ::read(fd, result.bytes.data() + total, result.bytes.size() - total);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return Failed(FileFailure::System, errno);
        if (n == 0)
            break;
        total += static_cast<std::size_t>(n);
    }
    if (total > maxBytes)
        return Failed(FileFailure::TooLarge);
    result.bytes.resize(total);
    return result;
}

std::string SizeText(std::size_t bytes) {
    constexpr std::size_t kMegabyte = std::size_t{1} << 20;
    return bytes % kMegabyte == 0 ? std::to_string(bytes / kMegabyte) + " Mo"
                                  : std::to_string(bytes) + " octets";
}

} // namespace

FileBytes ReadRegularFile(const std::string& path, std::size_t maxBytes) {
    FileBytes refused;
    struct stat info {};
    // Looked at before opening: opening some devices has effects of its own.
    if (::stat(path.c_str(), &info) != 0)
        return FailedErrno();
    if (Refuse(info, maxBytes, refused))
        return refused;
    const Descriptor file{::open(path.c_str(), kOpenFlags)};
    if (file.fd < 0)
        return FailedErrno();
    // Again on what was opened, in case the name changed hands meanwhile.
    if (::fstat(file.fd, &info) != 0)
        return FailedErrno();
    if (Refuse(info, maxBytes, refused))
        return refused;
    return ReadAll(file.fd, static_cast<std::size_t>(info.st_size), maxBytes);
}

std::string FileFailureText(const FileBytes& file, std::size_t maxBytes) {
    switch (file.failure) {
    case FileFailure::None:
        return {};
    case FileFailure::Missing:
        return "fichier introuvable";
    case FileFailure::NotRegular:
        return file.error == EISDIR ? FileErrorText(EISDIR) : "ce n'est pas un fichier ordinaire";
    case FileFailure::TooLarge:
        return "fichier trop volumineux (plus de " + SizeText(maxBytes) + ")";
    case FileFailure::System:
        return FileErrorText(file.error);
    }
    return {};
}

} // namespace zorv::com
