#pragma once
// A keylock on a POS keyboard sends a key code for each position it is
// turned to. The configuration names those codes; anything else is not the
// keylock's.
//
// Configuration value: "code:position" pairs separated by commas, for
// example "183:1, 184:2, 185:3" (1 lock, 2 normal, 3 supervisor; higher
// numbers for extended positions).
#include <linux/input.h>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace zorv::opos::input {

struct KeylockCodes {
    std::map<unsigned, long> positions; // key code -> position
    std::string error;                  // empty when the value was good
};

KeylockCodes ParseKeylockCodes(std::string_view value);

class KeylockDecoder {
public:
    explicit KeylockDecoder(std::map<unsigned, long> positions) : positions_(std::move(positions)) {}

    // The new position when a configured code is pressed and the position changes.
    std::optional<long> Feed(const input_event& event);
    long Position() const { return position_; }

private:
    std::map<unsigned, long> positions_;
    long position_ = 0; // unknown until the first key
};

} // namespace zorv::opos::input
