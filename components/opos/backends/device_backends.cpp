#include "backends/device_backends.h"

#include <algorithm>
#include <charconv>

#include "backends/device_settings.h"
#include "backends/input_backends.h"
#include "backends/serial/serial_line_display.h"
#include "backends/serial/serial_msr.h"
#include "backends/serial/serial_scanner.h"
#include "backends/unusable_device.h"
#include "model/logical_device.h"
#include "platform/com/text.h"

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
    if (parsed.connection.scheme == transport::Scheme::Input ||
        parsed.connection.scheme == transport::Scheme::Hidraw)
        if (auto backend = MakeInputBackend(profile, parsed.connection))
            return backend;
    return Unusable("connexion " + text + " non prise en charge pour ce type de périphérique");
}

} // namespace zorv::opos::real
