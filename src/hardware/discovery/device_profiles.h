#pragma once
// What a found device could be in a profile: the kinds it may serve and the
// section that makes it a logical device of one of them.
#include <string>
#include <string_view>
#include <vector>

#include "hardware/discovery/device_discovery.h"

namespace zorv::opos::discovery {

// The profile's spelling of every kind, in the bench's order.
const std::vector<std::string>& ProfileKinds();

// The kinds `device` could serve, spelled as the profile's `kind` key, the
// likeliest first; none for a device the bench cannot use.
std::vector<std::string> KindsFor(const Candidate& device);
bool Serves(const Candidate& device, std::string_view kind);

// The lines to copy into the profile file so that `device` opens as the
// logical device `name` of `kind`: a "[name]" header, the kind, the
// connection and the keys worth checking, comments on lines of their own. A
// cash drawer comes after the section of the printer it hangs off.
std::vector<std::string> ProfileSection(const Candidate& device, std::string_view kind,
                                        std::string_view name);

// A device as a listing for one kind shows it, with its section named after
// the kind and numbered ("Scanner1", "Scanner2"...).
struct Listed {
    const Candidate* device;
    std::string kind; // empty when the bench has no use for it
    std::vector<std::string> section;
};

// The devices that could serve `kind`, or all of them, each as its likeliest
// kind, when `kind` is empty.
std::vector<Listed> ForKind(const std::vector<Candidate>& devices, std::string_view kind);

} // namespace zorv::opos::discovery
