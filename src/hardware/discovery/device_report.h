#pragma once
// The found devices as a person reads them, in French: what each looks like,
// the profile section to copy, and what keeps the program from opening it.
#include <string>
#include <string_view>
#include <vector>

#include "hardware/discovery/device_discovery.h"

namespace zorv::opos::discovery {

// "ressemble à un scanner", "clavier"...; empty when nothing is known.
std::string GuessText(Guess guess);
// "port série", "imprimante USB"...
std::string FamilyText(Family family);
// What a listing cannot find for `kind` (empty: any kind) but a tester may still type.
std::string KindHint(std::string_view kind);

// Grouped by family; only the devices that could serve `kind` (empty: all,
// each as its likeliest kind). A listing that finds nothing says so.
std::string FormatDevices(const std::vector<Candidate>& devices, std::string_view kind = {});

} // namespace zorv::opos::discovery
