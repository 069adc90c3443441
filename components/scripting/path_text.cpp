#include "path_text.h"

#include "platform/com/text.h"

namespace zorv::scripting {
namespace {

bool IsSeparator(char16_t c) {
    return c == u'/' || c == u'\\';
}

// The position after the last separator of a normalised path.
std::size_t LastPartStart(std::u16string_view path) {
    const std::size_t slash = path.find_last_of(u'/');
    return slash == std::u16string_view::npos ? 0 : slash + 1;
}

} // namespace

std::u16string Normalized(std::u16string_view path) {
    std::u16string out;
    out.reserve(path.size());
    for (char16_t c : path) {
        if (IsSeparator(c)) {
            if (out.empty() || out.back() != u'/')
                out += u'/';
        } else {
            out += c;
        }
    }
    if (out.size() > 1 && out.back() == u'/')
        out.pop_back();
    return out;
}

std::filesystem::path ToPath(std::u16string_view path) {
    return std::filesystem::path(com::Utf16ToUtf8(Normalized(path)));
}

std::u16string FromPath(const std::filesystem::path& path) {
    return com::Utf8ToUtf16(path.string());
}

std::u16string FileNameOf(std::u16string_view path) {
    const std::u16string normal = Normalized(path);
    if (normal == u"/")
        return {};
    return normal.substr(LastPartStart(normal));
}

std::u16string ParentOf(std::u16string_view path) {
    const std::u16string normal = Normalized(path);
    const std::size_t start = LastPartStart(normal);
    if (start == 0 || normal == u"/")
        return {};
    return start == 1 ? u"/" : normal.substr(0, start - 1);
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
    if (!IsSeparator(out.back()))
        out += u'/';
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
