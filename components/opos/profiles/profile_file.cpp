#include <dlfcn.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/com/text.h"
#include "model/profile.h"
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

// One pass over the text, one section at a time.
class ProfileReader {
public:
    ProfileReader(std::vector<Profile>& profiles, std::vector<std::string>& diagnostics)
        : profiles_(profiles), diagnostics_(diagnostics) {}

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
        else if (fresh_)
            profiles_.push_back(std::move(*fresh_));
        fresh_.reset();
        current_ = nullptr;
    }

private:
    void Section(std::string_view line) {
        Finish();
        if (line.back() != ']' || Trim(line.substr(1, line.size() - 2)).empty())
            return Complain("bad section header");
        const std::u16string name = com::Utf8ToUtf16(Trim(line.substr(1, line.size() - 2)));
        for (Profile& profile : profiles_)
            if (com::EqualsIgnoringCase(profile.name, name)) {
                current_ = &profile;
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
    std::optional<Profile> fresh_;
    Profile* current_ = nullptr;
    bool hasKind_ = false;
    int lineNumber_ = 0;
};

std::filesystem::path ProfileFilePath() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&ProfileFilePath), &info) == 0 || info.dli_fname == nullptr)
        return {};
    return std::filesystem::path(info.dli_fname).parent_path() / kProfileFileName;
}

std::optional<std::string> ReadProfileFile(std::vector<std::string>& diagnostics) {
    const std::filesystem::path path = ProfileFilePath();
    std::error_code error;
    if (path.empty() || !std::filesystem::is_regular_file(path, error))
        return std::nullopt;
    if (std::filesystem::file_size(path, error) > kLargestProfileFile || error) {
        diagnostics.push_back(path.string() + ": too large or unreadable, ignored");
        return std::nullopt;
    }
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
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

std::vector<Profile> CurrentProfiles(std::vector<std::string>& diagnostics) {
    std::vector<Profile> profiles = BuiltInProfiles();
    if (const auto text = ReadProfileFile(diagnostics))
        ApplyProfileText(*text, profiles, diagnostics);
    return profiles;
}

std::string Setting(const Profile& profile, std::string_view key, std::string_view fallback) {
    for (auto it = profile.settings.rbegin(); it != profile.settings.rend(); ++it)
        if (it->first == key)
            return it->second;
    return std::string(fallback);
}

std::optional<Profile> FindProfile(Kind kind, std::u16string_view name) {
    std::vector<std::string> ignored;
    std::optional<Profile> found;
    for (Profile& profile : CurrentProfiles(ignored))
        if (profile.kind == kind && com::EqualsIgnoringCase(profile.name, name))
            found = std::move(profile);
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
