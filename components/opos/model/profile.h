#pragma once
// Logical devices: the names that Open accepts, each bound to one kind, with
// the simulated conditions an operator may want to see refused.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "model/kind_info.h"

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
    // A real device: where it is reached ("tcp:...", "printer:NAME") and the
    // settings of its model, keys in lower case. No connection: simulated.
    std::string connection;
    std::vector<std::pair<std::string, std::string>> settings;
    // Why the device cannot be used as written, and the profile line that
    // says so (0 when the name itself was the connection).
    std::string problem;
    LONG problemLine = 0;
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
// A name that is a connection ("tcp:127.0.0.1:9100") stands for a device
// there with the default settings.
std::optional<Profile> FindProfile(Kind kind, std::u16string_view name);

// The keys of a real device's section, and what is wrong with a value
// (empty when it is usable); backends/escpos/settings.cpp.
bool IsDeviceSetting(std::string_view key);
std::string DeviceSettingProblem(Kind kind, std::string_view key, std::string_view value);
// A real device's property values (stations, code pages, line widths...)
// ahead of the profile's own overrides.
void AddDeviceDefaults(Profile& profile);

} // namespace zorv::opos
