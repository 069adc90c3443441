#include "backends/input_settings.h"

#include <algorithm>

#include "backends/input/key_map_file.h"
#include "protocols/input/key_layout.h"
#include "protocols/input/keylock_keys.h"

namespace zorv::opos::real {

std::string CheckLayout(Kind, std::string_view text) {
    return input::LayoutFromName(text) ? "" : "layout is us or fr";
}

std::string CheckKeyMap(Kind, std::string_view text) {
    return ReadKeyMap(text).problem;
}

std::string CheckPositions(Kind, std::string_view text) {
    return input::ParseKeylockCodes(text).error;
}

LONG KeylockPositionCount(std::string_view positions) {
    LONG count = 3;
    for (const auto& [code, position] : input::ParseKeylockCodes(positions).positions)
        count = std::max<LONG>(count, static_cast<LONG>(position));
    return count;
}

} // namespace zorv::opos::real
