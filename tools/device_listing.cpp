#include "device_listing.h"

#include <algorithm>
#include <strings.h>

#include "hardware/discovery/device_discovery.h"
#include "hardware/discovery/device_profiles.h"
#include "hardware/discovery/device_report.h"

namespace discovery = zorv::opos::discovery;

namespace {

struct Request {
    discovery::Roots roots;
    std::string kind;
};

// The kind as the profile spells it, whatever the letter case; empty when unknown.
std::string ProfileKind(const std::string& typed) {
    const auto& kinds = discovery::ProfileKinds();
    const auto found = std::find_if(kinds.begin(), kinds.end(), [&](const std::string& kind) {
        return strcasecmp(kind.c_str(), typed.c_str()) == 0;
    });
    return found == kinds.end() ? std::string() : *found;
}

bool Read(const std::vector<std::string>& arguments, Request& request) {
    for (std::size_t i = 0; i < arguments.size(); i += 2) {
        if (i + 1 >= arguments.size())
            return false;
        const std::string& value = arguments[i + 1];
        if (arguments[i] == "--root" && !value.empty())
            request.roots = {value + "/dev", value + "/sys", value + "/proc"};
        else if (arguments[i] == "--kind" && !(request.kind = ProfileKind(value)).empty())
            continue;
        else
            return false;
    }
    return true;
}

} // namespace

int ListDevices(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    Request request;
    if (!Read(arguments, request)) {
        err << "usage : --list-devices [--kind TYPE] [--root DOSSIER]\n  TYPE :";
        for (const std::string& kind : discovery::ProfileKinds())
            err << " " << kind;
        err << "\n";
        return 2;
    }
    out << discovery::FormatDevices(discovery::ListDevices(request.roots), request.kind);
    return 0;
}
