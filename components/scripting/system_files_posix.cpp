#include "system_files.h"

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>
#include <sys/statvfs.h>

#include "platform/com/text.h"

extern char** environ;

namespace zorv::scripting {

bool ReadFileFacts(const std::filesystem::path& path, FileFacts& facts, std::error_code& failed) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
        failed = std::error_code(errno, std::generic_category());
        return false;
    }
    facts.created = info.st_ctim;
    facts.modified = info.st_mtim;
    facts.accessed = info.st_atim;
    facts.size = static_cast<std::uintmax_t>(info.st_size);
    facts.readOnly = (info.st_mode & S_IWUSR) == 0;
    facts.hidden = path.filename().string().starts_with(".");
    facts.directory = S_ISDIR(info.st_mode);
    facts.alias = S_ISLNK(info.st_mode);
    return true;
}

bool ReadDriveFacts(const std::u16string& root, DriveFacts& facts) {
    struct statvfs info {};
    if (::statvfs(com::Utf16ToUtf8(root).c_str(), &info) != 0)
        return false;
    facts.available = static_cast<double>(info.f_bavail) * info.f_frsize;
    facts.free = static_cast<double>(info.f_bfree) * info.f_frsize;
    facts.total = static_cast<double>(info.f_blocks) * info.f_frsize;
    facts.serialNumber = static_cast<long>(info.f_fsid & 0x7FFFFFFF);
    return true;
}

// Linux has one drive: the root of the file system.
std::vector<std::u16string> DriveNames() {
    return {u"/"};
}

std::u16string SpecialFolder(int which) {
    switch (which) {
    case 0:
        return u"/";
    case 1:
        return u"/usr/bin";
    default:
        const char* folder = std::getenv("TMPDIR");
        return com::Utf8ToUtf16(folder != nullptr && *folder != '\0' ? folder : "/tmp");
    }
}

std::FILE* OpenFileForWriting(const std::filesystem::path& path, bool appending, bool mustBeNew) {
    return std::fopen(path.c_str(), mustBeNew ? "wbx" : appending ? "ab" : "wb");
}

Assignments ProcessVariables() {
    Assignments variables;
    for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
        const std::string_view line(*entry);
        const std::size_t equals = line.find('=');
        if (equals != std::string_view::npos && equals > 0)
            variables.emplace_back(com::Utf8ToUtf16(line.substr(0, equals)),
                                   com::Utf8ToUtf16(line.substr(equals + 1)));
    }
    return variables;
}

} // namespace zorv::scripting
