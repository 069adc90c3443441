#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <unordered_map>

#include "model/library_folder.h"
#include "model/printable_text.h"
#include "model/profile.h"
#include "platform/com/text.h"
#include "transport/connection_string.h"

namespace zorv::opos {
namespace {

constexpr std::uintmax_t kLargestProfileFile = 1 << 20;
constexpr const char* kProfileFileName = "zorv_opos.profiles";

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

bool SameWord(std::string_view a, std::string_view b) {
    return com::EqualsIgnoringCase(com::Utf8ToUtf16(a), com::Utf8ToUtf16(b));
}

std::optional<LONG> ParseLong(std::string_view text) {
    if (text.empty() || text.size() > 11)
        return std::nullopt;
    std::size_t used = 0;
    try {
        const long long value = std::stoll(std::string(text), &used, 10);
        if (used != text.size() || value < INT32_MIN || value > INT32_MAX)
            return std::nullopt;
        return static_cast<LONG>(value);
    } catch (...) {
        return std::nullopt;
    }
}

std::optional<bool> ParseBool(std::string_view text) {
    for (const char* yes : {"true", "yes", "1", "on"})
        if (SameWord(text, yes))
            return true;
    for (const char* no : {"false", "no", "0", "off"})
        if (SameWord(text, no))
            return false;
    return std::nullopt;
}

std::optional<Kind> ParseKind(std::string_view text) {
    const std::u16string wanted = com::Utf8ToUtf16(text);
    for (const KindInfo& kind : Kinds())
        if (com::EqualsIgnoringCase(kind.displayName, wanted) || com::EqualsIgnoringCase(kind.progId, wanted))
            return kind.kind;
    return std::nullopt;
}

std::optional<Value> ParseValue(std::string_view text, ValueType type) {
    switch (type) {
    case ValueType::Long:
        if (auto number = ParseLong(text))
            return Value(*number);
        return std::nullopt;
    case ValueType::Bool:
        if (auto flag = ParseBool(text))
            return Value(*flag);
        return std::nullopt;
    case ValueType::Text:
        break;
    }
    return Value(com::Utf8ToUtf16(text));
}

std::u16string Folded(std::u16string_view name) {
    std::u16string key(name);
    for (char16_t& c : key)
        c = com::FoldCase(c);
    return key;
}

// One pass over the text, one section at a time; a section finds the device
// it changes through an index, so a long file reads in linear time.
class ProfileReader {
public:
    ProfileReader(std::vector<Profile>& profiles, std::vector<std::string>& diagnostics)
        : profiles_(profiles), diagnostics_(diagnostics) {
        for (std::size_t i = 0; i < profiles_.size(); ++i)
            index_.emplace(Folded(profiles_[i].name), i);
    }

    void Line(std::string_view raw) {
        ++lineNumber_;
        const std::string_view line = Trim(raw);
        if (line.empty() || line.front() == '#' || line.front() == ';')
            return;
        if (line.front() == '[')
            return Section(line);
        const auto equals = line.find('=');
        if (equals == std::string_view::npos)
            return Complain("expected NAME = VALUE");
        Entry(Trim(line.substr(0, equals)), Trim(line.substr(equals + 1)));
    }

    void Finish() {
        if (fresh_ && !hasKind_)
            Complain("device " + com::Utf16ToUtf8(fresh_->name) + " has no kind and is left out");
        else if (fresh_) {
            index_.emplace(Folded(fresh_->name), profiles_.size());
            profiles_.push_back(std::move(*fresh_));
        }
        fresh_.reset();
        current_ = nullptr;
    }

private:
    void Section(std::string_view line) {
        Finish();
        if (line.back() != ']' || Trim(line.substr(1, line.size() - 2)).empty())
            return Complain("bad section header");
        const std::u16string name = com::Utf8ToUtf16(Trim(line.substr(1, line.size() - 2)));
        if (const auto found = index_.find(Folded(name)); found != index_.end()) {
            current_ = &profiles_[found->second];
            hasKind_ = true;
            return;
        }
        fresh_.emplace();
        fresh_->name = name;
        current_ = &*fresh_;
        hasKind_ = false;
    }

    void Entry(std::string_view key, std::string_view value) {
        if (current_ == nullptr)
            return Complain("entry outside any [device] section");
        if (SameWord(key, "kind"))
            return SetKind(value);
        if (!hasKind_)
            return Complain("the kind must come first in a new device");
        if (SameWord(key, "description"))
            current_->description = com::Utf8ToUtf16(value);
        else if (SameWord(key, "power"))
            SetLong(value, current_->power, 2001, 2004);
        else if (SameWord(key, "claimedbyother"))
            SetFlag(value, current_->claimedByOther);
        else if (SameWord(key, "releaseafter"))
            SetLong(value, current_->releaseAfterMs, -1, INT32_MAX);
        else if (IsDeviceSetting(Lower(key)))
            SetDeviceSetting(Lower(key), value);
        else
            SetProperty(key, value);
    }

    void SetKind(std::string_view value) {
        const auto kind = ParseKind(value);
        if (!kind)
            return Complain("unknown kind");
        if (!fresh_ || hasKind_)
            return Complain("the kind of a device cannot change");
        fresh_->kind = *kind;
        hasKind_ = true;
    }

    void SetLong(std::string_view text, LONG& target, LONG min, LONG max) {
        const auto number = ParseLong(text);
        if (!number || *number < min || *number > max)
            return Complain("bad number");
        target = *number;
    }

    void SetFlag(std::string_view text, bool& target) {
        const auto flag = ParseBool(text);
        if (!flag)
            return Complain("expected yes or no");
        target = *flag;
    }

    void SetProperty(std::string_view key, std::string_view text) {
        const auto prop = PropByName(com::Utf8ToUtf16(key));
        const PropertyRow* row = prop ? FindRow(InfoOf(current_->kind), *prop) : nullptr;
        if (row == nullptr)
            return Complain("no property " + std::string(key) + " on this kind");
        auto value = ParseValue(text, row->initial.type);
        if (!value)
            return Complain("bad value for " + std::string(key));
        current_->overrides.push_back({*prop, std::move(*value)});
    }

    // A device setting that cannot be used makes the whole device unusable:
    // opening it says why rather than falling back to a simulation.
    void SetDeviceSetting(const std::string& key, std::string_view value) {
        const std::string problem = DeviceSettingProblem(current_->kind, key, value);
        if (!problem.empty()) {
            Complain(key + ": " + problem);
            if (current_->problem.empty()) {
                current_->problem = diagnostics_.back();
                current_->problemLine = lineNumber_;
            }
            return;
        }
        if (key == "connection")
            current_->connection = std::string(value);
        current_->settings.emplace_back(key, std::string(value));
    }

    static std::string Lower(std::string_view text) {
        std::string lower(text);
        for (char& c : lower)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return lower;
    }

    void Complain(const std::string& why) {
        diagnostics_.push_back("line " + std::to_string(lineNumber_) + ": " + why);
    }

    std::vector<Profile>& profiles_;
    std::vector<std::string>& diagnostics_;
    std::unordered_map<std::u16string, std::size_t> index_; // folded name -> profiles_
    std::optional<Profile> fresh_;
    Profile* current_ = nullptr;
    bool hasKind_ = false;
    int lineNumber_ = 0;
};

std::filesystem::path ProfileFilePath() {
    const std::filesystem::path folder = LibraryFolder();
    return folder.empty() ? folder : folder / kProfileFileName;
}

// What a file looked like when it was read: it is read again only when
// one of these changed.
struct FileStamp {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    timespec changed{};

    bool operator==(const FileStamp& other) const {
        return exists == other.exists && device == other.device && inode == other.inode &&
               size == other.size && Same(modified, other.modified) && Same(changed, other.changed);
    }
    static bool Same(const timespec& a, const timespec& b) {
        return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
    }
};

#ifdef _WIN32
// Windows' stat has whole seconds only, which the settling below allows for.
FileStamp StampOf(const std::filesystem::path& path) {
    struct _stat64 info {};
    if (path.empty() || _wstat64(path.c_str(), &info) != 0)
        return {};
    return {true,
            info.st_dev,
            info.st_ino,
            static_cast<off_t>(info.st_size),
            {static_cast<std::time_t>(info.st_mtime), 0},
            {static_cast<std::time_t>(info.st_ctime), 0}};
}
#else
FileStamp StampOf(const std::filesystem::path& path) {
    struct stat info {};
    if (path.empty() || stat(path.c_str(), &info) != 0)
        return {};
    return {true, info.st_dev, info.st_ino, info.st_size, info.st_mtim, info.st_ctim};
}
#endif

// The clock that stamps files ticks coarsely: a file changed within the
// last seconds may change again under the same stamp, so it is not trusted.
bool SettledAt(const FileStamp& stamp, std::time_t readAt) {
    constexpr std::time_t kSettleSeconds = 2;
    return stamp.modified.tv_sec + kSettleSeconds < readAt && stamp.changed.tv_sec + kSettleSeconds < readAt;
}

// Paths go into notes shown on one line: control characters are escaped.
std::string Shown(const std::filesystem::path& path) {
    return com::Utf16ToUtf8(EscapedControls(com::Utf8ToUtf16(path.string())));
}

std::optional<std::string> ReadProfileFile(const std::filesystem::path& path, const FileStamp& stamp,
                                           std::vector<std::string>& diagnostics) {
    if (!stamp.exists)
        return std::nullopt;
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        diagnostics.push_back(Shown(path) + ": not a regular file, ignored");
        return std::nullopt;
    }
    if (stamp.size > static_cast<off_t>(kLargestProfileFile)) {
        diagnostics.push_back(Shown(path) + ": larger than 1 MB, ignored");
        return std::nullopt;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        diagnostics.push_back(Shown(path) + ": cannot be read (" + std::strerror(errno) + "), ignored");
        return std::nullopt;
    }
    std::ostringstream text;
    text << file.rdbuf();
    if (file.bad()) {
        diagnostics.push_back(Shown(path) + ": cannot be read, ignored");
        return std::nullopt;
    }
    return text.str();
}

struct ProfileCache {
    std::mutex mutex;
    std::filesystem::path path;
    FileStamp stamp;
    bool settled = false;
    std::vector<Profile> profiles;
    std::vector<std::string> diagnostics;
};

ProfileCache& Cache() {
    static ProfileCache cache;
    return cache;
}

bool LooksLikeConnectionName(const std::string& name) {
    return transport::LooksLikeConnection(name);
}

} // namespace

void ApplyProfileText(std::string_view text, std::vector<Profile>& profiles,
                      std::vector<std::string>& diagnostics) {
    ProfileReader reader(profiles, diagnostics);
    while (!text.empty()) {
        const auto end = text.find('\n');
        reader.Line(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    }
    reader.Finish();
}

namespace {

// The cache, brought up to date with the file; the caller holds its lock.
const ProfileCache& FreshCache(ProfileCache& cache) {
    const std::filesystem::path path = ProfileFilePath();
    const FileStamp stamp = StampOf(path);
    if (!cache.settled || path != cache.path || !(stamp == cache.stamp)) {
        const std::time_t readAt = std::time(nullptr);
        cache.path = path;
        cache.stamp = stamp;
        cache.profiles = BuiltInProfiles();
        cache.diagnostics.clear();
        if (const auto text = ReadProfileFile(path, stamp, cache.diagnostics))
            ApplyProfileText(*text, cache.profiles, cache.diagnostics);
        cache.settled = SettledAt(stamp, readAt);
    }
    return cache;
}

} // namespace

std::vector<Profile> CurrentProfiles(std::vector<std::string>& diagnostics) {
    const std::lock_guard lock(Cache().mutex);
    const ProfileCache& cache = FreshCache(Cache());
    diagnostics.insert(diagnostics.end(), cache.diagnostics.begin(), cache.diagnostics.end());
    return cache.profiles;
}

std::string Setting(const Profile& profile, std::string_view key, std::string_view fallback) {
    for (auto it = profile.settings.rbegin(); it != profile.settings.rend(); ++it)
        if (it->first == key)
            return it->second;
    return std::string(fallback);
}

std::optional<Profile> FindProfile(Kind kind, std::u16string_view name) {
    std::optional<Profile> found;
    {
        const std::lock_guard lock(Cache().mutex);
        const Profile* last = nullptr;
        for (const Profile& profile : FreshCache(Cache()).profiles)
            if (profile.kind == kind && com::EqualsIgnoringCase(profile.name, name))
                last = &profile;
        if (last != nullptr)
            found = *last;
    }
    const std::string typed = com::Utf16ToUtf8(name);
    if (!found && LooksLikeConnectionName(typed)) {
        found.emplace();
        found->name = std::u16string(name);
        found->kind = kind;
        // Only the printer and its drawer speak ESC/POS; other kinds show the connection as typed.
        const bool escpos = kind == Kind::Printer || kind == Kind::CashDrawer;
        found->description = (escpos ? u"ESC/POS " : u"") + std::u16string(name);
        const std::string problem = DeviceSettingProblem(kind, "connection", typed);
        if (problem.empty()) {
            found->connection = typed;
            found->settings.emplace_back("connection", typed);
        } else {
            found->problem = typed + ": " + problem;
        }
    }
    if (found && !found->connection.empty() && found->problem.empty())
        AddDeviceDefaults(*found);
    return found;
}

} // namespace zorv::opos
