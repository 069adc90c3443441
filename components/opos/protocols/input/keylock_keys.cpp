#include "protocols/input/keylock_keys.h"

#include <charconv>
#include <linux/input-event-codes.h>

namespace zorv::opos::input {
namespace {

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::optional<long> Whole(std::string_view text) {
    text = Trim(text);
    long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

} // namespace

KeylockCodes ParseKeylockCodes(std::string_view value) {
    KeylockCodes codes;
    while (!Trim(value).empty()) {
        const auto comma = value.find(',');
        const std::string_view pair = value.substr(0, comma);
        value = comma == std::string_view::npos ? std::string_view{} : value.substr(comma + 1);
        const auto colon = pair.find(':');
        const std::optional<long> code = Whole(pair.substr(0, colon));
        const std::optional<long> position =
            colon == std::string_view::npos ? std::nullopt : Whole(pair.substr(colon + 1));
        if (!code || !position || *code < 0 || *code > KEY_MAX || *position < 1) {
            codes.positions.clear();
            codes.error =
                "position de clé invalide : « " + std::string(Trim(pair)) + " » (attendu code:position)";
            return codes;
        }
        codes.positions[static_cast<unsigned>(*code)] = *position;
    }
    if (codes.positions.empty())
        codes.error = "aucune position de clé configurée";
    return codes;
}

std::optional<long> KeylockDecoder::Feed(const input_event& event) {
    if (event.type != EV_KEY || event.value != 1)
        return std::nullopt;
    const auto found = positions_.find(event.code);
    if (found == positions_.end() || found->second == position_)
        return std::nullopt;
    position_ = found->second;
    return position_;
}

} // namespace zorv::opos::input
