#pragma once
// Logical devices: the names that Open accepts, each bound to one kind, with
// the simulated conditions an operator may want to see refused.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "kind_table.h"

namespace zorv::opos {

struct Profile {
    std::u16string name;
    Kind kind = Kind::Scanner;
    std::u16string description;
    // The device's simulated power at Open (OPOS_PS_ONLINE, _OFF, _OFFLINE).
    LONG power = 2001;
    // Another application holds the claim; it lets go after releaseAfterMs
    // of waiting, or never when negative.
    bool claimedByOther = false;
    LONG releaseAfterMs = -1;
    // Initial values that differ from the kind's table.
    std::vector<std::pair<Prop, Value>> overrides;
    // What a real device's back end needs (connection, suffix, protocol...),
    // as the profile spelt it; keys in lower case.
    std::vector<std::pair<std::string, std::string>> settings;
};

// The last value given for a back-end key, or `fallback`.
std::string Setting(const Profile& profile, std::string_view key, std::string_view fallback = {});

std::vector<Profile> BuiltInProfiles();

// Reads profile text (the format is in README.md) on top of `profiles`: a
// section naming an existing device changes it, any other adds one. Lines
// that cannot be used are skipped and explained in `diagnostics`.
void ApplyProfileText(std::string_view text, std::vector<Profile>& profiles,
                      std::vector<std::string>& diagnostics);

// The built-in devices with the profile file beside the component applied,
// read afresh at each call so that an edit takes effect at the next Open.
std::vector<Profile> CurrentProfiles(std::vector<std::string>& diagnostics);

// The device of that kind and name, names compared without regard to case.
std::optional<Profile> FindProfile(Kind kind, std::u16string_view name);

} // namespace zorv::opos
