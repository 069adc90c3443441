#include "environment_block.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/com/text.h"
#include "system_files.h"

namespace zorv::scripting {
namespace {

namespace fs = std::filesystem;

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::string_view Unquoted(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

void Set(EnvironmentBlock& block, std::u16string name, std::u16string value) {
    for (EnvironmentVariable& variable : block) {
        if (variable.name == name) {
            variable.value = std::move(value);
            return;
        }
    }
    block.push_back({std::move(name), std::move(value)});
}

#ifndef _WIN32
void ParseFile(const fs::path& path, EnvironmentBlock& block) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return;
    std::ostringstream text;
    text << file.rdbuf();
    ParseAssignments(text.str(), block);
}
#endif

EnvironmentBlock ProcessBlock() {
    EnvironmentBlock block;
    for (auto& [name, value] : ProcessVariables())
        block.push_back({std::move(name), std::move(value)});
    return block;
}

#ifdef _WIN32
// Windows keeps them in the registry, each value a variable.
EnvironmentBlock SessionBlock(Session session) {
    EnvironmentBlock block;
    for (auto& [name, value] : SessionVariables(session))
        Set(block, std::move(name), std::move(value));
    return block;
}

EnvironmentBlock SystemBlock() {
    return SessionBlock(Session::System);
}

EnvironmentBlock UserBlock() {
    return SessionBlock(Session::User);
}

EnvironmentBlock VolatileBlock() {
    return SessionBlock(Session::Volatile);
}
#else
EnvironmentBlock SystemBlock() {
    EnvironmentBlock block;
    ParseFile("/etc/environment", block);
    return block;
}

EnvironmentBlock VolatileBlock() {
    return {};
}

// The files of environment.d apply in the order of their names.
EnvironmentBlock UserBlock() {
    fs::path config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg != '\0')
        config = xdg;
    else if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0')
        config = fs::path(home) / ".config";
    EnvironmentBlock block;
    if (config.empty())
        return block;
    std::vector<fs::path> files;
    std::error_code failed;
    for (fs::directory_iterator it(config / "environment.d", failed), end; !failed && it != end;
         it.increment(failed))
        if (it->path().extension() == ".conf")
            files.push_back(it->path());
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files)
        ParseFile(file, block);
    return block;
}
#endif

} // namespace

std::optional<EnvironmentBlock> ReadEnvironment(std::u16string_view set) {
    if (com::EqualsIgnoringCase(set, u"PROCESS"))
        return ProcessBlock();
    if (com::EqualsIgnoringCase(set, u"SYSTEM"))
        return SystemBlock();
    if (com::EqualsIgnoringCase(set, u"USER"))
        return UserBlock();
    if (com::EqualsIgnoringCase(set, u"VOLATILE"))
        return VolatileBlock();
    return std::nullopt;
}

void ParseAssignments(std::string_view text, EnvironmentBlock& block) {
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = Trimmed(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (line.empty() || line.front() == '#')
            continue;
        if (line.starts_with("export "))
            line = Trimmed(line.substr(7));
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos || equals == 0)
            continue;
        Set(block, com::Utf8ToUtf16(Trimmed(line.substr(0, equals))),
            com::Utf8ToUtf16(Unquoted(Trimmed(line.substr(equals + 1)))));
    }
}

const EnvironmentVariable* FindVariable(const EnvironmentBlock& block, std::u16string_view name) {
    for (const EnvironmentVariable& variable : block)
        if (variable.name == name)
            return &variable;
    for (const EnvironmentVariable& variable : block)
        if (com::EqualsIgnoringCase(variable.name, name))
            return &variable;
    return nullptr;
}

std::u16string ExpandVariables(std::u16string_view text) {
    const EnvironmentBlock process = ProcessBlock();
    std::u16string out;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t open = text.find(u'%', at);
        const std::size_t close = open == std::u16string_view::npos ? open : text.find(u'%', open + 1);
        if (close == std::u16string_view::npos) {
            out.append(text.substr(at));
            break;
        }
        out.append(text.substr(at, open - at));
        const EnvironmentVariable* variable = FindVariable(process, text.substr(open + 1, close - open - 1));
        if (variable != nullptr && close > open + 1) {
            out.append(variable->value);
            at = close + 1;
        } else {
            // Not a variable: the first % stays, the second may open the next name.
            out += u'%';
            at = open + 1;
        }
    }
    return out;
}

} // namespace zorv::scripting
