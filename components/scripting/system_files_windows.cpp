#include "system_files.h"

#include <cerrno>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

namespace zorv::scripting {
namespace {

// Windows' text is UTF-16 in wchar_t, ours in char16_t: the same code units.
std::u16string Ours(const wchar_t* text, std::size_t size) {
    return std::u16string(text, text + size);
}
std::wstring Theirs(const std::u16string& text) {
    return std::wstring(text.begin(), text.end());
}

std::error_code LastError() {
    return std::error_code(static_cast<int>(GetLastError()), std::system_category());
}

// 100-nanosecond ticks since 1601 as seconds and nanoseconds since 1970.
timespec TimeOf(const FILETIME& time) {
    constexpr std::uint64_t kTicksPerSecond = 10000000;
    constexpr std::uint64_t kSecondsFrom1601To1970 = 11644473600;
    const std::uint64_t ticks = (std::uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
    timespec out{};
    out.tv_sec = static_cast<std::time_t>(static_cast<std::int64_t>(ticks / kTicksPerSecond) -
                                          static_cast<std::int64_t>(kSecondsFrom1601To1970));
    out.tv_nsec = static_cast<long>(ticks % kTicksPerSecond * 100);
    return out;
}

int DriveType(UINT type) {
    switch (type) {
    case DRIVE_REMOVABLE:
        return 1;
    case DRIVE_FIXED:
        return 2;
    case DRIVE_REMOTE:
        return 3;
    case DRIVE_CDROM:
        return 4;
    case DRIVE_RAMDISK:
        return 5;
    default:
        return 0;
    }
}

std::u16string WindowsFolder(bool system) {
    wchar_t folder[MAX_PATH + 1];
    const UINT length =
        system ? GetSystemDirectoryW(folder, MAX_PATH + 1) : GetWindowsDirectoryW(folder, MAX_PATH + 1);
    return length == 0 || length > MAX_PATH ? std::u16string() : Ours(folder, length);
}

// Every REG_SZ or REG_EXPAND_SZ value of a key, as written (unexpanded).
Assignments ValuesOf(HKEY base, const wchar_t* path) {
    Assignments values;
    HKEY key = nullptr;
    if (RegOpenKeyExW(base, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return values;
    // A value name holds at most 16383 characters; its data is read once sized.
    std::wstring name(16384, L'\0');
    for (DWORD index = 0;; ++index) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD type = 0;
        DWORD bytes = 0;
        LONG status = RegEnumValueW(key, index, name.data(), &nameLength, nullptr, &type, nullptr, &bytes);
        if (status == ERROR_NO_MORE_ITEMS)
            break;
        if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
            continue;
        std::wstring data(bytes / sizeof(wchar_t) + 1, L'\0');
        bytes = static_cast<DWORD>(data.size() * sizeof(wchar_t));
        const std::wstring valueName(name.data(), nameLength);
        status = RegQueryValueExW(key, valueName.c_str(), nullptr, nullptr,
                                  reinterpret_cast<BYTE*>(data.data()), &bytes);
        if (status != ERROR_SUCCESS)
            continue;
        data.resize(wcsnlen(data.c_str(), data.size()));
        values.emplace_back(Ours(valueName.data(), valueName.size()), Ours(data.data(), data.size()));
    }
    RegCloseKey(key);
    return values;
}

} // namespace

bool ReadFileFacts(const std::filesystem::path& path, FileFacts& facts, std::error_code& failed) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
        failed = LastError();
        return false;
    }
    facts.created = TimeOf(data.ftCreationTime);
    facts.modified = TimeOf(data.ftLastWriteTime);
    facts.accessed = TimeOf(data.ftLastAccessTime);
    facts.size = (std::uintmax_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
    facts.readOnly = (data.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
    facts.hidden = (data.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0;
    facts.directory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    facts.alias = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    return true;
}

bool ReadDriveFacts(const std::u16string& root, DriveFacts& facts) {
    const std::wstring path = Theirs(root);
    // The kind is known without a medium: an empty CD drive is still one.
    facts.type = DriveType(GetDriveTypeW(path.c_str()));
    wchar_t volume[MAX_PATH + 1] = {};
    wchar_t fileSystem[MAX_PATH + 1] = {};
    DWORD serial = 0;
    if (!GetVolumeInformationW(path.c_str(), volume, MAX_PATH + 1, &serial, nullptr, nullptr, fileSystem,
                               MAX_PATH + 1))
        return false;
    ULARGE_INTEGER available{}, total{}, free{};
    if (!GetDiskFreeSpaceExW(path.c_str(), &available, &total, &free))
        return false;
    facts.available = static_cast<double>(available.QuadPart);
    facts.free = static_cast<double>(free.QuadPart);
    facts.total = static_cast<double>(total.QuadPart);
    facts.serialNumber = static_cast<long>(serial);
    facts.fileSystem = Ours(fileSystem, wcsnlen(fileSystem, MAX_PATH + 1));
    facts.volumeName = Ours(volume, wcsnlen(volume, MAX_PATH + 1));
    return true;
}

std::vector<std::u16string> DriveNames() {
    std::vector<std::u16string> names;
    const DWORD letters = GetLogicalDrives();
    for (int letter = 0; letter < 26; ++letter)
        if (letters & (DWORD{1} << letter))
            names.push_back({static_cast<char16_t>(u'A' + letter), u':'});
    return names;
}

std::u16string SpecialFolder(int which) {
    if (which == 0 || which == 1)
        return WindowsFolder(which == 1);
    std::error_code failed;
    const std::wstring temporary = std::filesystem::temp_directory_path(failed).native();
    return Ours(temporary.data(), temporary.size());
}

std::FILE* OpenFileForWriting(const std::filesystem::path& path, bool appending, bool mustBeNew) {
    if (!mustBeNew)
        return _wfopen(path.c_str(), appending ? L"ab" : L"wb");
    // The C library here has no "x" mode: an exclusive create, then a stream on it.
    const int descriptor =
        _wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (descriptor < 0)
        return nullptr;
    std::FILE* file = _fdopen(descriptor, "wb");
    if (file == nullptr) {
        const int error = errno;
        _close(descriptor);
        errno = error;
    }
    return file;
}

Assignments ProcessVariables() {
    Assignments variables;
    wchar_t* block = GetEnvironmentStringsW();
    if (block == nullptr)
        return variables;
    // NAME=value entries one after the other; those starting with "=" are the
    // current folders of drives, not variables.
    for (const wchar_t* entry = block; *entry != L'\0'; entry += wcslen(entry) + 1) {
        const std::wstring_view line(entry);
        const std::size_t equals = line.find(L'=');
        if (equals != std::wstring_view::npos && equals > 0)
            variables.emplace_back(Ours(line.data(), equals),
                                   Ours(line.data() + equals + 1, line.size() - equals - 1));
    }
    FreeEnvironmentStringsW(block);
    return variables;
}

Assignments SessionVariables(Session session) {
    switch (session) {
    case Session::System:
        return ValuesOf(HKEY_LOCAL_MACHINE,
                        L"SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment");
    case Session::User:
        return ValuesOf(HKEY_CURRENT_USER, L"Environment");
    case Session::Volatile:
        return ValuesOf(HKEY_CURRENT_USER, L"Volatile Environment");
    }
    return {};
}

} // namespace zorv::scripting
