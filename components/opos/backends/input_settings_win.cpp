// Windows: no device reads a Linux input node, so the keys that only such
// devices take say so.
#include "backends/input_settings.h"

namespace zorv::opos::real {
namespace {

std::string LinuxOnlyKey(std::string_view key) {
    return std::string(key) +
           " : réglage des périphériques d'entrée de Linux (input:), sans objet sous Windows";
}

} // namespace

std::string CheckLayout(Kind, std::string_view) {
    return LinuxOnlyKey("layout");
}

std::string CheckKeyMap(Kind, std::string_view) {
    return LinuxOnlyKey("key_map");
}

std::string CheckPositions(Kind, std::string_view) {
    return LinuxOnlyKey("positions");
}

LONG KeylockPositionCount(std::string_view) {
    return 3;
}

} // namespace zorv::opos::real
