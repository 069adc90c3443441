#pragma once
// Paths as scripts write them: "/" and "\" both separate folders (a script
// written for another system keeps working), and the parts scripts ask for
// (base name, extension, parent) are taken from the text alone. Paths come
// back with the system's separator: "/" on Linux, "\" on Windows, where a
// path may also start with a drive ("C:\") or a share ("\\server\share\").
#include <filesystem>
#include <string>
#include <string_view>

namespace zorv::scripting {

// The system's separator.
#ifdef _WIN32
inline constexpr char16_t kSeparator = u'\\';
#else
inline constexpr char16_t kSeparator = u'/';
#endif
bool IsSeparator(char16_t c);

// Every separator as the system's, repeated ones as one, no trailing
// separator (a root keeps its own: "/", "C:\").
std::u16string Normalized(std::u16string_view path);
// The length of the root a normalised path starts with: 1 for "/" (and "\"
// on Windows), on Windows 3 for "C:\", 2 for a drive alone ("C:"), the
// whole "\\server\share\" of a share; 0 for a relative path.
std::size_t RootLength(std::u16string_view normal);
// The drive a path is on: "/" for an absolute path on Linux; on Windows "C:"
// or "\\server\share"; empty when the path names none.
std::u16string DriveOf(std::u16string_view path);
bool IsRoot(std::u16string_view path);
// The path as the system's file functions take it; on Windows the UTF-16 text crosses here.
std::filesystem::path ToPath(std::u16string_view path);
std::u16string FromPath(const std::filesystem::path& path);
bool EndsWithSeparator(std::u16string_view path);

// The last part ("c.txt" of "a/b/c.txt"), the part before it, the last
// part without its extension, the extension without its dot.
std::u16string FileNameOf(std::u16string_view path);
std::u16string ParentOf(std::u16string_view path);
std::u16string BaseNameOf(std::u16string_view path);
std::u16string ExtensionOf(std::u16string_view path);
// Joins with one separator, keeping the one `folder` already ends with (and
// none after a drive alone: "C:" and "x" make "C:x").
std::u16string Joined(std::u16string_view folder, std::u16string_view name);
// Absolute and without "." or "..", against the current folder.
std::u16string Absolute(std::u16string_view path);

// "*" and "?" in the last part of a path, as copy, move and delete take them.
bool HasWildcards(std::u16string_view name);
bool MatchesWildcards(std::u16string_view pattern, std::u16string_view name);

} // namespace zorv::scripting
