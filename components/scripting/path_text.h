#pragma once
// Paths as scripts write them: "/" and "\" both separate folders (a script
// written for another system keeps working), and the parts scripts ask for
// (base name, extension, parent) are taken from the text alone.
#include <filesystem>
#include <string>
#include <string_view>

namespace zorv::scripting {

// Backslashes as slashes, repeated separators as one, no trailing separator
// (the root stays "/").
std::u16string Normalized(std::u16string_view path);
std::filesystem::path ToPath(std::u16string_view path);
std::u16string FromPath(const std::filesystem::path& path);

// The last part ("c.txt" of "a/b/c.txt"), the part before it, the last
// part without its extension, the extension without its dot.
std::u16string FileNameOf(std::u16string_view path);
std::u16string ParentOf(std::u16string_view path);
std::u16string BaseNameOf(std::u16string_view path);
std::u16string ExtensionOf(std::u16string_view path);
// Joins with one separator, keeping the one `folder` already ends with.
std::u16string Joined(std::u16string_view folder, std::u16string_view name);
// Absolute and without "." or "..", against the current folder.
std::u16string Absolute(std::u16string_view path);

// "*" and "?" in the last part of a path, as copy, move and delete take them.
bool HasWildcards(std::u16string_view name);
bool MatchesWildcards(std::u16string_view pattern, std::u16string_view name);

} // namespace zorv::scripting
