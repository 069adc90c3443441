#pragma once
// A programmable POS keyboard: each key press and release becomes a key
// number (POSKeyData) and a direction. Without a key map the number is the
// Linux key code; with one, the vendor's number for that code.
//
// Key map file, one key a line:
//     # comment
//     30 = 101          scan code (Linux key code) = vendor key number
//     0x1f = 0x66       either may be hexadecimal
// Blank lines and text after '#' are ignored. A line that is not of this
// form, a code above 767, a key number below 1, or a code given twice is an
// error with its line number; the map is not used when it has errors.
#include <linux/input.h>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zorv::opos::input {

using KeyMap = std::map<unsigned, long>;

struct KeyMapError {
    int line;
    std::string text;
};

struct ParsedKeyMap {
    KeyMap keys;
    std::vector<KeyMapError> errors;
};

ParsedKeyMap ParseKeyMap(std::string_view text);
// Each error as "ligne N : ...", one a line.
std::string DescribeErrors(const std::vector<KeyMapError>& errors);

enum class PosKeyKind { Down, Up, Unknown };

struct PosKeyEvent {
    PosKeyKind kind;
    long keyData = 0; // the key number; for Unknown, the key code
};

class PosKeyboardDecoder {
public:
    explicit PosKeyboardDecoder(std::optional<KeyMap> map = std::nullopt) : map_(std::move(map)) {}

    // Autorepeat is not a new press: only value 1 (down) and 0 (up) count.
    std::optional<PosKeyEvent> Feed(const input_event& event) const;

private:
    std::optional<KeyMap> map_;
};

} // namespace zorv::opos::input
