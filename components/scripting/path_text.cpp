#include "path_text.h"

#include <algorithm>

#include "platform/com/text.h"

namespace zorv::scripting {
namespace {

// "C:" at the start of a path (Windows only).
bool StartsWithDrive(std::u16string_view path) {
#ifdef _WIN32
    return path.size() >= 2 && path[1] == u':' &&
           ((path[0] >= u'A' && path[0] <= u'Z') || (path[0] >= u'a' && path[0] <= u'z'));
#else
    (void)path;
    return false;
#endif
}

// The length of "\\server\share" at the start of a normalised path, both
// names present (Windows only); 0 otherwise.
std::size_t ShareLength(std::u16string_view normal) {
#ifdef _WIN32
    if (normal.size() < 3 || normal[0] != kSeparator || normal[1] != kSeparator)
        return 0;
    const std::size_t server = normal.find(kSeparator, 2);
    if (server == std::u16string_view::npos || server == 2 || server + 1 == normal.size())
        return 0;
    return std::min(normal.find(kSeparator, server + 1), normal.size());
#else
    (void)normal;
    return 0;
#endif
}

// The position after the last separator of a normalised path, never inside its root.
std::size_t LastPartStart(std::u16string_view path) {
    const std::size_t root = RootLength(path);
    const std::size_t slash = path.find_last_of(kSeparator);
    return slash == std::u16string_view::npos || slash < root ? root : slash + 1;
}

} // namespace

bool IsSeparator(char16_t c) {
    return c == u'/' || c == u'\\';
}

std::u16string Normalized(std::u16string_view path) {
    std::u16string out;
    out.reserve(path.size());
#ifdef _WIN32
    // A share's two leading separators are its mark, not a repeat.
    if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        out.assign(2, kSeparator);
        path.remove_prefix(2);
    }
#endif
    for (char16_t c : path) {
        if (!IsSeparator(c))
            out += c;
        else if (out.empty() || out.back() != kSeparator)
            out += kSeparator;
    }
    while (out.size() > RootLength(out) && out.back() == kSeparator)
        out.pop_back();
    return out;
}

std::size_t RootLength(std::u16string_view normal) {
    if (StartsWithDrive(normal))
        return normal.size() > 2 && normal[2] == kSeparator ? 3 : 2;
    // A share's root keeps the separator after it, as "C:\\" does.
    if (const std::size_t share = ShareLength(normal); share > 0)
        return share < normal.size() && normal[share] == kSeparator ? share + 1 : share;
    return !normal.empty() && normal.front() == kSeparator ? 1 : 0;
}

std::u16string DriveOf(std::u16string_view path) {
    const std::u16string normal = Normalized(path);
    if (StartsWithDrive(normal))
        return normal.substr(0, 2);
    if (const std::size_t share = ShareLength(normal); share > 0)
        return normal.substr(0, share);
#ifdef _WIN32
    return {};
#else
    return RootLength(normal) > 0 ? u"/" : u"";
#endif
}

bool IsRoot(std::u16string_view path) {
    const std::u16string normal = Normalized(path);
    return !normal.empty() && normal.back() == kSeparator && RootLength(normal) == normal.size();
}

std::filesystem::path ToPath(std::u16string_view path) {
#ifdef _WIN32
    const std::u16string normal = Normalized(path);
    return std::filesystem::path(std::wstring(normal.begin(), normal.end()));
#else
    return std::filesystem::path(com::Utf16ToUtf8(Normalized(path)));
#endif
}

std::u16string FromPath(const std::filesystem::path& path) {
#ifdef _WIN32
    const std::wstring& native = path.native();
    return std::u16string(native.begin(), native.end());
#else
    return com::Utf8ToUtf16(path.string());
#endif
}

bool EndsWithSeparator(std::u16string_view path) {
    return !path.empty() && IsSeparator(path.back());
}

std::u16string FileNameOf(std::u16string_view path) {
    const std::u16string normal = Normalized(path);
    return normal.substr(LastPartStart(normal));
}

std::u16string ParentOf(std::u16string_view path) {
    const std::u16string normal = Normalized(path);
    const std::size_t start = LastPartStart(normal);
    if (start == 0 || start == normal.size())
        return {};
    const std::size_t root = RootLength(normal);
    return start <= root ? normal.substr(0, root) : normal.substr(0, start - 1);
}

std::u16string BaseNameOf(std::u16string_view path) {
    const std::u16string name = FileNameOf(path);
    const std::size_t dot = name.find_last_of(u'.');
    return dot == std::u16string::npos ? name : name.substr(0, dot);
}

std::u16string ExtensionOf(std::u16string_view path) {
    const std::u16string name = FileNameOf(path);
    const std::size_t dot = name.find_last_of(u'.');
    return dot == std::u16string::npos ? std::u16string() : name.substr(dot + 1);
}

std::u16string Joined(std::u16string_view folder, std::u16string_view name) {
    if (folder.empty())
        return std::u16string(name);
    std::u16string out(folder);
    while (!name.empty() && IsSeparator(name.front()))
        name.remove_prefix(1);
    if (!IsSeparator(out.back()) && !(out.size() == 2 && StartsWithDrive(out)))
        out += kSeparator;
    return out + std::u16string(name);
}

std::u16string Absolute(std::u16string_view path) {
    std::error_code failed;
    const std::filesystem::path absolute = std::filesystem::absolute(ToPath(path), failed);
    return Normalized(FromPath(absolute.lexically_normal()));
}

bool HasWildcards(std::u16string_view name) {
    return name.find_first_of(u"*?") != std::u16string_view::npos;
}

// Case-blind, as the names of the system scripts were written for compare.
bool MatchesWildcards(std::u16string_view pattern, std::u16string_view name) {
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t star = std::u16string_view::npos;
    std::size_t resume = 0;
    while (n < name.size()) {
        if (p < pattern.size() &&
            (pattern[p] == u'?' || com::FoldCase(pattern[p]) == com::FoldCase(name[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == u'*') {
            star = p++;
            resume = n;
        } else if (star != std::u16string_view::npos) {
            p = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    return p == pattern.size();
}

} // namespace zorv::scripting
