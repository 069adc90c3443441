#include "script/file_replace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <random>

#include "platform/com/file_error_text.h"

namespace zorv::script {
namespace {

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    int Get() const { return fd_; }
    // The error of closing, which may be the first word of a full disk.
    int Close() {
        const int result = ::close(fd_);
        fd_ = -1;
        return result == 0 ? 0 : errno;
    }

private:
    int fd_;
};

// Writes everything, then flushes it to the disk; answers errno or 0.
int WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return ::fsync(fd) == 0 ? 0 : errno;
}

// A link is followed, so that the file it names is the one replaced.
std::string Target(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_symlink(path, error))
        return path;
    const auto target = std::filesystem::weakly_canonical(path, error);
    return error ? path : target.string();
}

std::string TemporaryName(const std::string& target) {
    static std::mt19937 random{std::random_device{}()};
    const std::filesystem::path path(target);
    return (path.parent_path() / ("." + path.filename().string() + "." + std::to_string(random() % 1000000)))
        .string();
}

// A new file beside the target, or -1 with errno set. Created with 0666, so
// the process's umask applies as to any new file.
int CreateTemporary(const std::string& target, std::string& name) {
    for (int attempt = 0; attempt < 16; ++attempt) {
        name = TemporaryName(target);
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

std::string WriteInPlace(const std::string& target, std::string_view bytes) {
    Descriptor file(::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (file.Get() < 0)
        return com::FileErrorText(errno);
    struct stat info {};
    if (::fstat(file.Get(), &info) != 0)
        return com::FileErrorText(errno);
    if (!S_ISREG(info.st_mode))
        return "ce n'est pas un fichier ordinaire";
    if (::ftruncate(file.Get(), 0) != 0)
        return com::FileErrorText(errno);
    if (const int error = WriteAll(file.Get(), bytes))
        return com::FileErrorText(error);
    if (const int error = file.Close())
        return com::FileErrorText(error);
    return {};
}

std::string WriteAndRename(int fd, const std::string& temporary, const std::string& target,
                           std::string_view bytes) {
    Descriptor file(fd);
    struct stat old {};
    // The new file keeps the old one's permissions.
    if (::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode))
        ::fchmod(file.Get(), old.st_mode & 07777);
    int error = WriteAll(file.Get(), bytes);
    if (error == 0)
        error = file.Close();
    if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0)
        error = errno;
    if (error == 0)
        return {};
    ::unlink(temporary.c_str());
    return com::FileErrorText(error);
}

} // namespace

std::string ReplaceFileContent(const std::string& path, std::string_view bytes) {
    const std::string target = Target(path);
    std::string temporary;
    const int fd = CreateTemporary(target, temporary);
    if (fd >= 0)
        return WriteAndRename(fd, temporary, target, bytes);
    const int error = errno;
    struct stat info {};
    const bool fileExists = ::stat(target.c_str(), &info) == 0;
    if ((error == EACCES || error == EPERM) && fileExists)
        return S_ISREG(info.st_mode) ? WriteInPlace(target, bytes) : "ce n'est pas un fichier ordinaire";
    return com::FileErrorText(error);
}

} // namespace zorv::script
