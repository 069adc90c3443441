#include "backends/device_backends.h"

#include <algorithm>
#include <charconv>

#include "protocols/input/keylock_keys.h"
#include "model/logical_device.h"
#include "platform/com/text.h"
#include "backends/device_settings.h"
#include "backends/input/hid_pos_scanner.h"
#include "backends/input/input_keylock.h"
#include "backends/input/input_pos_keyboard.h"
#include "backends/serial/serial_line_display.h"
#include "backends/serial/serial_msr.h"
#include "backends/serial/serial_scanner.h"
#include "backends/unusable_device.h"
#include "backends/input/wedge_msr.h"
#include "backends/input/wedge_scanner.h"

namespace zorv::opos::real {
namespace {

std::unique_ptr<Backend> Unusable(const std::string& why) {
    return std::make_unique<UnusableDevice>(com::Utf8ToUtf16(why));
}

// The settings were checked as the profile was read.
std::unique_ptr<Backend> MakeSerialScanner(const Profile& profile, const transport::Connection& connection) {
    SerialScannerConfig config;
    config.connection = connection;
    config.framing.suffix = scan::SuffixFromName(Setting(profile, "suffix", "CR")).value_or(scan::Suffix::CR);
    config.framing.maxLength = MaxLength(Setting(profile, "max_length", "4096")).value_or(4096);
    config.aimPrefix = com::EqualsIgnoringCase(com::Utf8ToUtf16(Setting(profile, "prefix", "none")), u"aim");
    return std::make_unique<SerialScanner>(std::move(config));
}

LONG Size(const Profile& profile, Prop wanted, Prop device) {
    return std::max(std::get<LONG>(InitialValue(profile, wanted)),
                    std::get<LONG>(InitialValue(profile, device)));
}

std::unique_ptr<Backend> MakeSerialLineDisplay(const Profile& profile,
                                               const transport::Connection& connection) {
    SerialLineDisplayConfig config;
    config.connection = connection;
    config.protocol = display::ProtocolFromName(Setting(profile, "protocol", "escpos-display"))
                          .value_or(display::Protocol::EscPosDisplay);
    config.codePage =
        display::CodePageFromName(Setting(profile, "code_page", "437")).value_or(display::CodePage::Pc437);
    if (config.protocol == display::Protocol::Cd5220 && config.codePage != display::CodePage::Pc437)
        return Unusable("un afficheur cd5220 ne connaît que la page de code 437");
    config.ownMarquee = Setting(profile, "marquee", "program") == "display";
    if (config.ownMarquee && config.protocol != display::Protocol::Cd5220)
        return Unusable("un afficheur escpos-display ne fait défiler aucun texte lui-même");
    config.rows = std::clamp<int>(Size(profile, Prop::Rows, Prop::DeviceRows), 1, 64);
    config.columns = std::clamp<int>(Size(profile, Prop::Columns, Prop::DeviceColumns), 1, 256);
    return std::make_unique<SerialLineDisplay>(std::move(config));
}

input::WedgeConfig Wedge(const Profile& profile) {
    input::WedgeConfig wedge;
    wedge.layout = input::LayoutFromName(Setting(profile, "layout", "us")).value_or(input::Layout::Us);
    wedge.maxLength = MaxLength(Setting(profile, "max_length", "4096")).value_or(4096);
    return wedge;
}

std::unique_ptr<Backend> MakeWedgeScanner(const Profile& profile, const std::string& path) {
    WedgeScannerConfig config;
    config.path = path;
    config.wedge = Wedge(profile);
    config.aimPrefix = com::EqualsIgnoringCase(com::Utf8ToUtf16(Setting(profile, "prefix", "none")), u"aim");
    return std::make_unique<WedgeScanner>(std::move(config));
}

std::unique_ptr<Backend> MakeInputPosKeyboard(const Profile& profile, const std::string& path) {
    const std::string mapPath = Setting(profile, "key_map");
    if (mapPath.empty())
        return std::make_unique<InputPosKeyboard>(path, std::nullopt);
    KeyMapFile map = ReadKeyMap(mapPath);
    if (!map.problem.empty())
        return Unusable(map.problem);
    return std::make_unique<InputPosKeyboard>(path, std::move(map.keys));
}

std::unique_ptr<Backend> MakeInputKeylock(const Profile& profile, const std::string& path) {
    input::KeylockCodes codes = input::ParseKeylockCodes(Setting(profile, "positions"));
    if (!codes.error.empty())
        return Unusable("positions : " + codes.error);
    return std::make_unique<InputKeylock>(path, std::move(codes.positions));
}

// The back ends of the devices read from a Linux input node, by kind.
std::unique_ptr<Backend> MakeInputBackend(const Profile& profile, const std::string& path) {
    switch (profile.kind) {
    case Kind::Scanner:
        return MakeWedgeScanner(profile, path);
    case Kind::MSR:
        return std::make_unique<WedgeMsr>(path, Wedge(profile));
    case Kind::POSKeyboard:
        return MakeInputPosKeyboard(profile, path);
    case Kind::Keylock:
        return MakeInputKeylock(profile, path);
    default:
        return nullptr;
    }
}

} // namespace

std::unique_ptr<Backend> MakeDeviceBackend(const Profile& profile) {
    const std::string& text = profile.connection;
    if (text.empty() || !ServesKind(profile.kind))
        return nullptr;
    const transport::ParsedConnection parsed = transport::ParseConnection(text);
    if (!parsed.ok())
        return Unusable(parsed.error);
    if (profile.kind == Kind::Scanner && parsed.connection.scheme == transport::Scheme::Serial)
        return MakeSerialScanner(profile, parsed.connection);
    if (profile.kind == Kind::LineDisplay && parsed.connection.scheme == transport::Scheme::Serial)
        return MakeSerialLineDisplay(profile, parsed.connection);
    if (profile.kind == Kind::MSR && parsed.connection.scheme == transport::Scheme::Serial)
        return std::make_unique<SerialMsr>(parsed.connection);
    if (profile.kind == Kind::Scanner && parsed.connection.scheme == transport::Scheme::Hidraw)
        return std::make_unique<HidPosScanner>(
            parsed.connection.path, MaxLength(Setting(profile, "max_length", "4096")).value_or(4096));
    if (parsed.connection.scheme == transport::Scheme::Input)
        if (auto backend = MakeInputBackend(profile, parsed.connection.path))
            return backend;
    return Unusable("connexion " + text + " non prise en charge pour ce type de périphérique");
}

} // namespace zorv::opos::real
