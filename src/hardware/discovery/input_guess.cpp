// What a wedge device is, from the name it gives: on every system.
#include <algorithm>
#include <span>
#include <string_view>

#include "hardware/discovery/device_discovery.h"

namespace zorv::opos::discovery {
namespace {

// Words in device names that give away what a wedge device is.
constexpr std::string_view kScannerWords[] = {"scanner",    "barcode",   "bar code", "honeywell",
                                              "metrologic", "datalogic", "symbol",   "zebra",
                                              "newland",    "imager",    "hand held"};
constexpr std::string_view kCardWords[] = {"msr",    "magnetic", "card reader", "magtek",
                                           "idtech", "id tech",  "swipe"};

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

bool Mentions(const std::string& lowered, std::span<const std::string_view> words) {
    return std::any_of(words.begin(), words.end(),
                       [&](std::string_view word) { return lowered.find(word) != std::string::npos; });
}

} // namespace

Guess GuessInputDevice(const std::string& name, bool keyboard) {
    const std::string lowered = Lower(name);
    if (Mentions(lowered, kCardWords))
        return Guess::CardReader;
    if (Mentions(lowered, kScannerWords))
        return Guess::Scanner;
    return keyboard ? Guess::Keyboard : Guess::Unknown;
}

} // namespace zorv::opos::discovery
