#pragma once
// The environment variables WScript.Shell's Environment reads, by the
// classic names of their sets: PROCESS is this process's own; on Linux
// SYSTEM is the machine-wide file (/etc/environment), USER the user's
// systemd files (environment.d under XDG_CONFIG_HOME, else ~/.config), and
// VOLATILE, which Linux has no counterpart for, is empty; on Windows all
// three are the registry's.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zorv::scripting {

struct EnvironmentVariable {
    std::u16string name;
    std::u16string value;
};
using EnvironmentBlock = std::vector<EnvironmentVariable>;

// The set of that name (any case), or nothing for an unknown name.
std::optional<EnvironmentBlock> ReadEnvironment(std::u16string_view set);

// NAME=value lines as those files hold them: blank lines and # comments
// skipped, an `export ` prefix and quotes around the value dropped. A later
// line for a name replaces the earlier one.
void ParseAssignments(std::string_view text, EnvironmentBlock& block);

// The variable of that name: spelled exactly, else without regard to case
// (as names are on the classic system).
const EnvironmentVariable* FindVariable(const EnvironmentBlock& block, std::u16string_view name);

// %NAME% replaced by this process's variable; unknown names stay as written.
std::u16string ExpandVariables(std::u16string_view text);

} // namespace zorv::scripting
