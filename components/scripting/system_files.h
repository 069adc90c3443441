#pragma once
// What the file system object and the shell read from the system itself:
// a file's dates and attributes, a drive's space, the special folders, the
// environment. One implementation per system (system_files_posix.cpp,
// system_files_windows.cpp), in the standard library's types only.
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>
#include <system_error>
#include <time.h>
#include <utility>
#include <vector>

namespace zorv::scripting {

struct FileFacts {
    timespec created{};
    timespec modified{};
    timespec accessed{};
    std::uintmax_t size = 0;
    bool readOnly = false;
    bool hidden = false; // Linux: a name starting with "."
    bool directory = false;
    bool alias = false; // a symbolic link (Windows: any reparse point)
};
// The facts of `path` itself, a link not followed; false with `failed` set when it cannot be read.
bool ReadFileFacts(const std::filesystem::path& path, FileFacts& facts, std::error_code& failed);

struct DriveFacts {
    double available = 0; // bytes this user may still write
    double free = 0;
    double total = 0;
    long serialNumber = 0;
    int type = 2; // 0 unknown, 1 removable, 2 fixed, 3 network, 4 CD-ROM, 5 RAM disk
    std::u16string fileSystem;
    std::u16string volumeName;
};
// The drive whose root folder is `root` ("/", "C:\", "\\server\share\"); false when it
// is not ready (its type is still set).
bool ReadDriveFacts(const std::u16string& root, DriveFacts& facts);
// The drives there are, as DriveOf names them: "/" on Linux, "C:", "D:"... on Windows.
std::vector<std::u16string> DriveNames();

// GetSpecialFolder's folders: 0 the system's, 1 its programs, 2 the temporary one.
std::u16string SpecialFolder(int which);

// A file opened as fopen would ("wb", "ab"); with `mustBeNew`, created only
// when it does not exist yet (EEXIST otherwise), in one step.
std::FILE* OpenFileForWriting(const std::filesystem::path& path, bool appending, bool mustBeNew);

using Assignments = std::vector<std::pair<std::u16string, std::u16string>>;
// This process's variables.
Assignments ProcessVariables();
#ifdef _WIN32
// The variables the registry gives sessions: the machine's for everyone, this
// user's own, this logon's. (Linux keeps them in files: environment_block.cpp.)
enum class Session { System, User, Volatile };
Assignments SessionVariables(Session session);
#endif

} // namespace zorv::scripting
