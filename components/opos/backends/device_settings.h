#pragma once
// The profile keys of the real scanners, displays, card readers, keyboards
// and keylocks, checked as the profile is read so that a device written
// wrong is refused at Open. README.md lists them with their defaults.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "kinds/kind_table.h"

namespace zorv::opos {
struct Profile;
}

namespace zorv::opos::real {

// The kinds whose real back ends live here.
bool ServesKind(Kind kind);
bool IsSetting(std::string_view key);
// Empty when the value is usable for that kind.
std::string SettingProblem(Kind kind, std::string_view key, std::string_view value);
// Property values a real device of these kinds opens with; a key the device
// cannot go without, missing, makes it unusable.
void AddDefaults(Profile& profile);
// A scanner's longest label, as `max_length` gives it.
std::optional<std::size_t> MaxLength(std::string_view text);

} // namespace zorv::opos::real
