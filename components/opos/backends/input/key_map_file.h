#pragma once
// A POS keyboard's key map file, read and checked.
#include <string>
#include <string_view>

#include "protocols/input/pos_keys.h"

namespace zorv::opos::real {

// `problem` says why the file cannot be used.
struct KeyMapFile {
    input::KeyMap keys;
    std::string problem;
};
KeyMapFile ReadKeyMap(std::string_view path);

} // namespace zorv::opos::real
