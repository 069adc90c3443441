#include "file_operations.h"

#include <filesystem>
#include <functional>
#include <random>
#include <vector>

#include "errors.h"
#include "path_text.h"

namespace zorv::scripting {
namespace {

namespace fs = std::filesystem;

enum class Kind { File, Folder };

bool IsKind(const fs::path& path, Kind kind) {
    std::error_code failed;
    return kind == Kind::Folder ? fs::is_directory(path, failed) : fs::is_regular_file(path, failed);
}

// What a source names: one entry, or those its wildcard name matches in its folder.
std::vector<fs::path> Sources(std::u16string_view source, Kind kind) {
    const std::u16string name = FileNameOf(source);
    if (!HasWildcards(name)) {
        const fs::path path = ToPath(source);
        std::error_code failed;
        if (!fs::exists(path, failed))
            Raise(fs::exists(path.parent_path().empty() ? "." : path.parent_path(), failed) ? kFileNotFound
                                                                                            : kPathNotFound);
        if (!IsKind(path, kind))
            Raise(kind == Kind::File ? kFileNotFound : kPathNotFound);
        return {path};
    }
    const std::u16string parent = ParentOf(source);
    const fs::path folder = parent.empty() ? fs::path(".") : ToPath(parent);
    std::error_code failed;
    std::vector<fs::path> found;
    for (fs::directory_iterator it(folder, failed), end; !failed && it != end; it.increment(failed))
        if (IsKind(it->path(), kind) && MatchesWildcards(name, FromPath(it->path().filename())))
            found.push_back(it->path());
    if (failed)
        RaiseFor(failed, kPathNotFound);
    if (found.empty())
        Raise(kind == Kind::File ? kFileNotFound : kPathNotFound);
    return found;
}

// Several sources, or a destination ending with a separator, go into that folder.
fs::path Target(const fs::path& source, std::u16string_view destination, bool intoFolder) {
    const fs::path path = ToPath(destination);
    if (!intoFolder)
        return path;
    std::error_code failed;
    if (!fs::is_directory(path, failed))
        Raise(kPathNotFound);
    return path / source.filename();
}

fs::path SiblingTemporary(const fs::path& target) {
    static std::mt19937 random{std::random_device{}()};
    return target.parent_path() / (".~zorv" + std::to_string(random()) + ".tmp");
}

void CopyOneFile(const fs::path& source, const fs::path& target, bool overwrite) {
    std::error_code failed;
    if (fs::is_directory(target, failed))
        Raise(kPermissionDenied);
    if (fs::equivalent(source, target, failed))
        Raise(kPermissionDenied);
    if (!overwrite) {
        fs::copy_file(source, target, fs::copy_options::none, failed);
        if (failed)
            RaiseFor(failed, kPathNotFound);
        return;
    }
    // Copied beside the target first, then swapped in by a rename.
    const fs::path temporary = SiblingTemporary(target);
    fs::copy_file(source, temporary, fs::copy_options::none, failed);
    if (!failed)
        fs::rename(temporary, target, failed);
    if (failed) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        RaiseFor(failed, kPathNotFound);
    }
}

// A move never replaces: the target must not exist.
void MoveOne(const fs::path& source, const fs::path& target) {
    std::error_code failed;
    if (fs::exists(target, failed))
        Raise(kFileExists);
    fs::rename(source, target, failed);
    if (failed == std::errc::cross_device_link) { // another file system: copy, then remove
        fs::copy(source, target, fs::copy_options::recursive, failed);
        if (!failed)
            fs::remove_all(source, failed);
    }
    if (failed)
        RaiseFor(failed, kPathNotFound);
}

bool ReadOnly(const fs::path& path) {
    std::error_code failed;
    return (fs::status(path, failed).permissions() & fs::perms::owner_write) == fs::perms::none;
}

void CopyFolderTree(const fs::path& source, const fs::path& target, bool overwrite) {
    std::error_code failed;
    if (fs::exists(target, failed) && !overwrite)
        Raise(kFileExists);
    const fs::path absoluteSource = fs::weakly_canonical(source, failed);
    const fs::path absoluteTarget = fs::weakly_canonical(target, failed);
    const auto [stop, ignored] = std::mismatch(absoluteSource.begin(), absoluteSource.end(),
                                               absoluteTarget.begin(), absoluteTarget.end());
    if (stop == absoluteSource.end()) // into itself: it would never end
        Raise(kPermissionDenied);
    fs::create_directories(target, failed);
    if (failed)
        RaiseFor(failed, kPathNotFound);
    for (fs::directory_iterator it(source, failed), end; !failed && it != end; it.increment(failed)) {
        if (it->is_directory(failed))
            CopyFolderTree(it->path(), target / it->path().filename(), overwrite);
        else
            CopyOneFile(it->path(), target / it->path().filename(), overwrite);
    }
    if (failed)
        RaiseFor(failed, kPathNotFound);
}

void ForEachSource(std::u16string_view source, Kind kind, std::u16string_view destination,
                   const std::function<void(const fs::path&, const fs::path&)>& act) {
    const std::vector<fs::path> sources = Sources(source, kind);
    const bool intoFolder = HasWildcards(FileNameOf(source)) || EndsWithSeparator(destination);
    for (const fs::path& path : sources)
        act(path, Target(path, destination, intoFolder));
}

} // namespace

void CopyFiles(std::u16string_view source, std::u16string_view destination, bool overwrite) {
    ForEachSource(source, Kind::File, destination,
                  [&](const fs::path& from, const fs::path& to) { CopyOneFile(from, to, overwrite); });
}

void MoveFiles(std::u16string_view source, std::u16string_view destination) {
    ForEachSource(source, Kind::File, destination,
                  [](const fs::path& from, const fs::path& to) { MoveOne(from, to); });
}

void DeleteFiles(std::u16string_view source, bool force) {
    for (const fs::path& path : Sources(source, Kind::File)) {
        if (!force && ReadOnly(path))
            Raise(kPermissionDenied);
        std::error_code failed;
        // Windows refuses to remove a read-only file: forced, it is made writable first.
        if (force && ReadOnly(path))
            fs::permissions(path, fs::perms::owner_write, fs::perm_options::add, failed);
        fs::remove(path, failed);
        if (failed)
            RaiseFor(failed);
    }
}

void CopyFolders(std::u16string_view source, std::u16string_view destination, bool overwrite) {
    ForEachSource(source, Kind::Folder, destination,
                  [&](const fs::path& from, const fs::path& to) { CopyFolderTree(from, to, overwrite); });
}

void MoveFolders(std::u16string_view source, std::u16string_view destination) {
    ForEachSource(source, Kind::Folder, destination,
                  [](const fs::path& from, const fs::path& to) { MoveOne(from, to); });
}

void DeleteFolders(std::u16string_view source, bool force) {
    for (const fs::path& path : Sources(source, Kind::Folder)) {
        std::error_code failed;
        // Forced, read-only files are made writable first: Windows would refuse to remove them.
        for (fs::recursive_directory_iterator it(path, failed), end; !failed && it != end;
             it.increment(failed)) {
            if (!ReadOnly(it->path()))
                continue;
            if (!force)
                Raise(kPermissionDenied);
            std::error_code ignored;
            fs::permissions(it->path(), fs::perms::owner_write, fs::perm_options::add, ignored);
        }
        fs::remove_all(path, failed);
        if (failed)
            RaiseFor(failed, kPathNotFound);
    }
}

void CreateFolder(std::u16string_view path) {
    const fs::path folder = ToPath(path);
    std::error_code failed;
    if (fs::exists(folder, failed))
        Raise(kFileExists);
    if (!fs::create_directory(folder, failed) || failed)
        RaiseFor(failed, kPathNotFound);
}

} // namespace zorv::scripting
