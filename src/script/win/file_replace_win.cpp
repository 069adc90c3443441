// Windows' way of replacing a file's content: the new bytes go to a file
// beside it, flushed, which then takes the old one's name in one rename
// (MoveFileExW) and its attributes (hidden, archive...); its security comes
// from the folder, as for any new file. ReplaceFileW is not used: where it
// fails half-way the old file is gone and the new one still under its
// temporary name. A folder that refuses new files but a file that may be
// written is written in place.
#include "script/file_replace.h"

#include <windows.h>

#include <array>
#include <cerrno>
#include <filesystem>
#include <random>

#include "platform/com/file_error_text.h"
#include "platform/com/text.h"

namespace zorv::script {
namespace {

struct ErrorRow {
    DWORD system;
    int error;
};

// The system's errors as the file error texts know them.
constexpr std::array kErrors{
    ErrorRow{ERROR_FILE_NOT_FOUND, ENOENT},
    ErrorRow{ERROR_PATH_NOT_FOUND, ENOENT},
    ErrorRow{ERROR_ACCESS_DENIED, EACCES},
    ErrorRow{ERROR_WRITE_PROTECT, EROFS},
    ErrorRow{ERROR_DISK_FULL, ENOSPC},
    ErrorRow{ERROR_HANDLE_DISK_FULL, ENOSPC},
    ErrorRow{ERROR_SHARING_VIOLATION, EBUSY},
    ErrorRow{ERROR_LOCK_VIOLATION, EBUSY},
    ErrorRow{ERROR_FILENAME_EXCED_RANGE, ENAMETOOLONG},
    ErrorRow{ERROR_FILE_EXISTS, EEXIST},
    ErrorRow{ERROR_NOT_ENOUGH_MEMORY, ENOMEM},
    ErrorRow{ERROR_TOO_MANY_OPEN_FILES, EMFILE},
};

std::string SystemErrorText(DWORD system) {
    for (const ErrorRow& row : kErrors)
        if (row.system == system)
            return com::FileErrorText(row.error);
    return com::FileErrorText(EIO);
}

class Handle {
public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() {
        if (Valid())
            CloseHandle(handle_);
    }
    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }
    // The error of closing, which may be the first word of a full disk.
    DWORD Close() {
        if (!Valid())
            return ERROR_SUCCESS;
        const BOOL closed = CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
        return closed ? ERROR_SUCCESS : GetLastError();
    }

private:
    HANDLE handle_;
};

// Writes everything, then flushes it to the disk; answers the system's error or 0.
DWORD WriteAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr))
            return GetLastError();
        bytes.remove_prefix(written);
    }
    return FlushFileBuffers(file) ? ERROR_SUCCESS : GetLastError();
}

// A link is followed, so that the file it names is the one replaced.
std::filesystem::path Target(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::is_symlink(path, error))
        return path;
    const auto target = std::filesystem::weakly_canonical(path, error);
    return error ? path : target;
}

std::filesystem::path TemporaryName(const std::filesystem::path& target) {
    static std::mt19937 random{std::random_device{}()};
    return target.parent_path() /
           (L"." + target.filename().wstring() + L"." + std::to_wstring(random() % 1000000));
}

// A new file beside the target; an invalid handle with the error set when none could be made.
HANDLE CreateTemporary(const std::filesystem::path& target, std::filesystem::path& name) {
    for (int attempt = 0; attempt < 16; ++attempt) {
        name = TemporaryName(target);
        const HANDLE file =
            CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS)
            return file;
    }
    return INVALID_HANDLE_VALUE;
}

std::string WriteInPlace(const std::filesystem::path& target, std::string_view bytes) {
    Handle file(CreateFileW(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, TRUNCATE_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid())
        return SystemErrorText(GetLastError());
    if (const DWORD error = WriteAll(file.Get(), bytes))
        return SystemErrorText(error);
    if (const DWORD error = file.Close())
        return SystemErrorText(error);
    return {};
}

// The attributes a file may be given; the others are the system's to set.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                  FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

DWORD TakePlace(const std::filesystem::path& temporary, const std::filesystem::path& target) {
    const DWORD old = GetFileAttributesW(target.c_str());
    if (!MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return GetLastError();
    if (old != INVALID_FILE_ATTRIBUTES && (old & kKeptAttributes) != 0)
        SetFileAttributesW(target.c_str(), old & kKeptAttributes);
    return ERROR_SUCCESS;
}

std::string WriteAndReplace(HANDLE handle, const std::filesystem::path& temporary,
                            const std::filesystem::path& target, std::string_view bytes) {
    Handle file(handle);
    DWORD error = WriteAll(file.Get(), bytes);
    if (error == ERROR_SUCCESS)
        error = file.Close();
    if (error == ERROR_SUCCESS)
        error = TakePlace(temporary, target);
    if (error == ERROR_SUCCESS)
        return {};
    file.Close();
    DeleteFileW(temporary.c_str());
    return SystemErrorText(error);
}

} // namespace

std::string ReplaceFileContent(const std::string& path, std::string_view bytes) {
    const std::filesystem::path target = Target(std::filesystem::path(com::WideFromUtf8(path)));
    const DWORD existing = GetFileAttributesW(target.c_str());
    if (existing != INVALID_FILE_ATTRIBUTES && (existing & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return com::FileErrorText(EISDIR);
    std::filesystem::path temporary;
    const HANDLE file = CreateTemporary(target, temporary);
    if (file != INVALID_HANDLE_VALUE)
        return WriteAndReplace(file, temporary, target, bytes);
    const DWORD error = GetLastError();
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (error == ERROR_ACCESS_DENIED && attributes != INVALID_FILE_ATTRIBUTES)
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ? WriteInPlace(target, bytes)
                                                            : "ce n'est pas un fichier ordinaire";
    return SystemErrorText(error);
}

} // namespace zorv::script
