#include "protocols/display/command_set.h"

#include "protocols/display/screen.h"

namespace zorv::opos::display {
namespace {

constexpr char kEsc = '\x1b', kUs = '\x1f';

struct FixedCommand {
    Op op;
    std::string_view escpos;
    std::string_view cd5220;
};

// Commands without parameters, as each command reference lists them.
constexpr FixedCommand kFixed[] = {
    {Op::Init, "\x1b@", "\x1b@"},
    {Op::Clear, "\x0c", "\x0c"},
    {Op::ClearLine, "\x18", "\x18"},
    {Op::Home, "\x0b", "\x0b"},
    {Op::Left, "\x08", "\x08"},
    {Op::Right, "\x09", "\x09"},
    {Op::Down, "\x0a", "\x0a"},
    {Op::Up, "\x1f\x0a", "\x1b[A"},
    {Op::LineStart, "\x0d", "\x0d"},
    {Op::LineEnd, "\x1f\x0d", "\x1b[R"},
    {Op::BottomLeft,
     "\x1f"
     "B",
     "\x1b[K"},
};

// Mode, brightness, cursor and position: the same parameters behind a
// different lead-in.
struct LeadIn {
    Op op;
    std::string_view escpos;
    std::string_view cd5220;
};
constexpr LeadIn kLeadIns[] = {
    {Op::MoveTo, "\x1f$", "\x1bl"},
    {Op::Brightness, "\x1fX", "\x1b*"},
    {Op::Cursor,
     "\x1f"
     "C",
     "\x1b_"},
    {Op::Blink,
     "\x1f"
     "E",
     ""},
    {Op::CodePage, "\x1bt", ""},
    {Op::International, "\x1bR",
     "\x1b"
     "f"},
};

// The CD5220's letters for "ESC f", in the order of InternationalSet.
constexpr char kCd5220Sets[] = {'A', 'F', 'G', 'U', 'D', 'W', 'I', 'S', 'J', 0, 'E', 0, 0};

struct NamedProtocol {
    std::string_view name;
    Protocol protocol;
};
constexpr NamedProtocol kProtocolNames[] = {
    {"escpos-display", Protocol::EscPosDisplay},
    {"cd5220", Protocol::Cd5220},
};

std::string Byte(int value) {
    return std::string(1, static_cast<char>(value));
}

EncodedCommand Unsupported(Feature feature) {
    return {{}, feature, 0};
}

EncodedCommand Bytes(std::string bytes) {
    return {std::move(bytes), std::nullopt, 0};
}

EncodedCommand WithLeadIn(Protocol protocol, const Command& command) {
    const bool cd = protocol == Protocol::Cd5220;
    for (const LeadIn& entry : kLeadIns) {
        if (entry.op != command.op)
            continue;
        const std::string_view lead = cd ? entry.cd5220 : entry.escpos;
        switch (command.op) {
        case Op::MoveTo:
            return Bytes(std::string(lead) + Byte(command.b + 1) + Byte(command.a + 1));
        case Op::Blink:
            if (lead.empty())
                return Unsupported(Feature::Blink);
            return Bytes(std::string(lead) + Byte(command.a));
        case Op::CodePage:
            if (lead.empty()) // the CD5220 holds one table, PC437
                return command.a == static_cast<int>(CodePage::Pc437) ? EncodedCommand{}
                                                                      : Unsupported(Feature::CodePage);
            return Bytes(std::string(lead) + Byte(CodeTableNumber(static_cast<CodePage>(command.a))));
        case Op::International: {
            if (command.a < 0 || command.a >= static_cast<int>(sizeof kCd5220Sets))
                return Unsupported(Feature::InternationalSet);
            const int value = cd ? kCd5220Sets[command.a] : command.a;
            if (value == 0 && cd)
                return Unsupported(Feature::InternationalSet);
            return Bytes(std::string(lead) + Byte(value));
        }
        default:
            return Bytes(std::string(lead) + Byte(command.a));
        }
    }
    return {};
}

EncodedCommand ModeCommand(Protocol protocol, int mode) {
    const char lead = protocol == Protocol::Cd5220 ? kEsc : kUs;
    const int base = protocol == Protocol::Cd5220 ? 0x11 : 0x01;
    return Bytes(Byte(lead) + Byte(base + mode));
}

} // namespace

std::optional<Protocol> ProtocolFromName(std::string_view name) {
    for (const auto& entry : kProtocolNames)
        if (entry.name == name)
            return entry.protocol;
    return std::nullopt;
}

const char* ProtocolName(Protocol protocol) {
    return protocol == Protocol::Cd5220 ? "cd5220" : "escpos-display";
}

const char* FeatureText(Feature feature) {
    switch (feature) {
    case Feature::Blink:
        return "clignotement";
    case Feature::CodePage:
        return "table de caractères";
    case Feature::InternationalSet:
        return "jeu de caractères international";
    case Feature::LineString:
        return "écriture d'une ligne entière";
    case Feature::Marquee:
        return "défilement continu par l'afficheur";
    }
    return "";
}

EncodedCommand Encode(Protocol protocol, const Command& command, CodePage page) {
    const bool cd = protocol == Protocol::Cd5220;
    for (const FixedCommand& entry : kFixed)
        if (entry.op == command.op)
            return Bytes(std::string(cd ? entry.cd5220 : entry.escpos));
    switch (command.op) {
    case Op::Mode:
        return ModeCommand(protocol, command.a);
    case Op::Text: {
        EncodedText text = EncodeText(command.text, page);
        return {std::move(text.bytes), std::nullopt, text.unmappable};
    }
    case Op::LineString:
    case Op::Marquee: {
        const bool marquee = command.op == Op::Marquee;
        if (!cd || (marquee && command.text.size() > kLongestMarquee))
            return Unsupported(marquee ? Feature::Marquee : Feature::LineString);
        EncodedText text = EncodeText(command.text, page);
        const char line = marquee ? 'D' : command.a == 0 ? 'A' : 'B';
        return {std::string("\x1bQ") + line + text.bytes + '\r', std::nullopt, text.unmappable};
    }
    default:
        return WithLeadIn(protocol, command);
    }
}

} // namespace zorv::opos::display
