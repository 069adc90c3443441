#include "backends/device_settings.h"

#include <algorithm>
#include <charconv>

#include "backends/input_settings.h"
#include "backends/serial/serial_line_display.h"
#include "model/opos_codes.h"
#include "model/profile.h"
#include "platform/com/text.h"
#include "protocols/display/code_page.h"
#include "protocols/display/command_set.h"
#include "protocols/scan/label_framer.h"
#include "transport/connection_string.h"
#include "transport/reach.h"

namespace zorv::opos::real {
namespace {

constexpr std::size_t kLongestLabelAllowed = 1 << 16;

} // namespace

std::optional<std::size_t> MaxLength(std::string_view text) {
    std::size_t length = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), length);
    if (error != std::errc() || end != text.data() + text.size() || length == 0 ||
        length > kLongestLabelAllowed)
        return std::nullopt;
    return length;
}

namespace {

struct Reach {
    Kind kind;
    bool serial, input, hidraw;
    std::string_view how;
};

constexpr Reach kReaches[] = {
    {Kind::Scanner, true, true, true, "a scanner is reached through serial:PATH, input:PATH or hidraw:PATH"},
    {Kind::LineDisplay, true, false, false, "a line display is reached through serial:PATH"},
    {Kind::MSR, true, true, false, "a card reader is reached through serial:PATH or input:PATH"},
    {Kind::POSKeyboard, false, true, false, "a POS keyboard is reached through input:PATH"},
    {Kind::Keylock, false, true, false, "a keylock is reached through input:PATH"},
};

std::string CheckConnection(Kind kind, std::string_view text) {
    const transport::ParsedConnection parsed = transport::ParseConnection(text);
    if (!parsed.ok())
        return parsed.error;
    for (const Reach& reach : kReaches) {
        if (reach.kind != kind)
            continue;
        const transport::Scheme scheme = parsed.connection.scheme;
        const bool fits = (scheme == transport::Scheme::Serial && reach.serial) ||
                          (scheme == transport::Scheme::Input && reach.input) ||
                          (scheme == transport::Scheme::Hidraw && reach.hidraw);
        return fits ? transport::UnreachableHere(parsed.connection) : std::string(reach.how);
    }
    return "not a kind of device reached here";
}

std::string CheckSuffix(Kind, std::string_view text) {
    return scan::SuffixFromName(text) ? "" : "suffix is CR, LF, CRLF, TAB or ETX";
}

std::string CheckPrefix(Kind, std::string_view text) {
    const std::u16string word = com::Utf8ToUtf16(text);
    return com::EqualsIgnoringCase(word, u"aim") || com::EqualsIgnoringCase(word, u"none")
               ? ""
               : "prefix is none or aim";
}

std::string CheckMaxLength(Kind, std::string_view text) {
    return MaxLength(text) ? "" : "max_length: bytes from 1 to 65536";
}

std::string CheckProtocol(Kind, std::string_view text) {
    return display::ProtocolFromName(text) ? "" : "protocol is escpos-display or cd5220";
}

std::string CheckCodePage(Kind, std::string_view text) {
    return display::CodePageFromName(text) ? "" : "code page is 437, 850 or 858";
}

std::string CheckMarquee(Kind, std::string_view text) {
    return text == "program" || text == "display" ? "" : "marquee is program or display";
}

struct Key {
    std::string_view name;
    Kind kind; // Scanner stands for any kind where `any` is set
    bool any;
    std::string (*check)(Kind, std::string_view);
};

// A key that several kinds take has a row for each.
constexpr Key kKeys[] = {
    {"connection", Kind::Scanner, true, CheckConnection},
    {"suffix", Kind::Scanner, false, CheckSuffix},
    {"prefix", Kind::Scanner, false, CheckPrefix},
    {"max_length", Kind::Scanner, false, CheckMaxLength},
    {"protocol", Kind::LineDisplay, false, CheckProtocol},
    {"code_page", Kind::LineDisplay, false, CheckCodePage},
    {"layout", Kind::Scanner, false, CheckLayout},
    {"layout", Kind::MSR, false, CheckLayout},
    {"key_map", Kind::POSKeyboard, false, CheckKeyMap},
    {"positions", Kind::Keylock, false, CheckPositions},
    {"marquee", Kind::LineDisplay, false, CheckMarquee},
};

const Key* Find(std::string_view name, std::optional<Kind> kind = std::nullopt) {
    const Key* found = nullptr;
    for (const Key& key : kKeys)
        if (key.name == name && (found == nullptr || (kind && key.kind == *kind)))
            found = &key;
    return found;
}

} // namespace

bool ServesKind(Kind kind) {
    return kind == Kind::Scanner || kind == Kind::LineDisplay || kind == Kind::MSR ||
           kind == Kind::POSKeyboard || kind == Kind::Keylock;
}

bool IsSetting(std::string_view key) {
    return Find(key) != nullptr;
}

std::string SettingProblem(Kind kind, std::string_view name, std::string_view value) {
    const Key* key = Find(name, kind);
    if (key == nullptr || (!key->any && key->kind != kind))
        return "not a setting of this kind of device";
    return key->check(kind, value);
}

void AddDefaults(Profile& profile) {
    if (profile.kind == Kind::Keylock && Setting(profile, "positions").empty())
        profile.problem = "positions: a keylock needs the key code of each position (code:position, ...)";
    profile.overrides.insert(
        profile.overrides.begin(),
        {{Prop::CapPowerReporting, Value(LONG{OPOS_PR_ADVANCED})},
         {Prop::ServiceObjectDescription,
          Value(u"ZORV service object, " + com::Utf8ToUtf16(profile.connection))},
         {Prop::PositionCount, Value(KeylockPositionCount(Setting(profile, "positions")))}});
    if (profile.kind != Kind::Keylock)
        profile.overrides.erase(profile.overrides.begin() + 2);
    if (profile.kind == Kind::LineDisplay)
        AddSerialLineDisplayDefaults(profile);
}

} // namespace zorv::opos::real
