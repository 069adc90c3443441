#include "protocols/input/pos_keys.h"

#include <cerrno>
#include <cstdlib>
#include <linux/input-event-codes.h>

namespace zorv::opos::input {
namespace {

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

std::optional<long> Number(std::string_view text) {
    const std::string digits(Trim(text));
    if (digits.empty())
        return std::nullopt;
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(digits.c_str(), &end, 0);
    if (errno != 0 || *end != '\0' || digits[0] == '-' || digits[0] == '+')
        return std::nullopt;
    return value;
}

std::optional<std::string> ParseLine(std::string_view line, KeyMap& keys) {
    const auto equals = line.find('=');
    if (equals == std::string_view::npos)
        return "« code = touche » attendu";
    const std::optional<long> code = Number(line.substr(0, equals));
    const std::optional<long> key = Number(line.substr(equals + 1));
    if (!code)
        return "code de touche invalide";
    if (!key)
        return "numéro de touche invalide";
    if (*code > KEY_MAX)
        return "code de touche hors limites (0 à " + std::to_string(KEY_MAX) + ")";
    if (*key < 1 || *key > 0x7FFFFFFF)
        return "numéro de touche hors limites";
    if (!keys.emplace(static_cast<unsigned>(*code), *key).second)
        return "code " + std::to_string(*code) + " déjà défini";
    return std::nullopt;
}

} // namespace

ParsedKeyMap ParseKeyMap(std::string_view text) {
    ParsedKeyMap parsed;
    int number = 0;
    while (!text.empty()) {
        const auto newline = text.find('\n');
        std::string_view line = text.substr(0, newline);
        text = newline == std::string_view::npos ? std::string_view{} : text.substr(newline + 1);
        ++number;
        line = Trim(line.substr(0, line.find('#')));
        if (line.empty())
            continue;
        if (std::optional<std::string> error = ParseLine(line, parsed.keys))
            parsed.errors.push_back({number, std::move(*error)});
    }
    if (!parsed.errors.empty())
        parsed.keys.clear();
    return parsed;
}

std::string DescribeErrors(const std::vector<KeyMapError>& errors) {
    std::string text;
    for (const KeyMapError& error : errors)
        text += "ligne " + std::to_string(error.line) + " : " + error.text + "\n";
    return text;
}

std::optional<PosKeyEvent> PosKeyboardDecoder::Feed(const input_event& event) const {
    if (event.type != EV_KEY || (event.value != 0 && event.value != 1))
        return std::nullopt;
    long key = event.code;
    if (map_) {
        const auto found = map_->find(event.code);
        if (found == map_->end())
            return event.value == 1 ? std::optional<PosKeyEvent>({PosKeyKind::Unknown, key}) : std::nullopt;
        key = found->second;
    }
    return PosKeyEvent{event.value == 1 ? PosKeyKind::Down : PosKeyKind::Up, key};
}

} // namespace zorv::opos::input
