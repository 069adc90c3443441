#include "real/device_settings.h"

#include <charconv>

#include "display/code_page.h"
#include "display/command_set.h"
#include "opos_codes.h"
#include "platform/com/text.h"
#include "profile.h"
#include "real/serial_line_display.h"
#include "scan/label_framer.h"
#include "transport/connection_string.h"

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

std::string CheckConnection(Kind, std::string_view text) {
    const transport::ParsedConnection parsed = transport::ParseConnection(text);
    if (!parsed.ok())
        return parsed.error;
    if (parsed.connection.scheme != transport::Scheme::Serial)
        return "this kind of device is reached through serial:PATH";
    return {};
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

constexpr Key kKeys[] = {
    {"connection", Kind::Scanner, true, CheckConnection},
    {"suffix", Kind::Scanner, false, CheckSuffix},
    {"prefix", Kind::Scanner, false, CheckPrefix},
    {"max_length", Kind::Scanner, false, CheckMaxLength},
    {"protocol", Kind::LineDisplay, false, CheckProtocol},
    {"code_page", Kind::LineDisplay, false, CheckCodePage},
    {"marquee", Kind::LineDisplay, false, CheckMarquee},
};

const Key* Find(std::string_view name) {
    for (const Key& key : kKeys)
        if (key.name == name)
            return &key;
    return nullptr;
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
    const Key* key = Find(name);
    if (key == nullptr || (!key->any && key->kind != kind))
        return "not a setting of this kind of device";
    return key->check(kind, value);
}

void AddDefaults(Profile& profile) {
    profile.overrides.insert(profile.overrides.begin(),
                             {{Prop::CapPowerReporting, Value(LONG{OPOS_PR_ADVANCED})},
                              {Prop::ServiceObjectDescription,
                               Value(u"ZORV service object, " + com::Utf8ToUtf16(profile.connection))}});
    if (profile.kind == Kind::LineDisplay)
        AddSerialLineDisplayDefaults(profile);
}

} // namespace zorv::opos::real
