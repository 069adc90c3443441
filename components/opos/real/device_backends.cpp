#include "real/device_backends.h"

#include <algorithm>
#include <charconv>

#include "model/logical_device.h"
#include "platform/com/text.h"
#include "real/serial_line_display.h"
#include "real/serial_scanner.h"
#include "real/unusable_device.h"

namespace zorv::opos::real {
namespace {

constexpr std::size_t kLongestLabelAllowed = 1 << 16;

std::unique_ptr<Backend> Unusable(const std::string& why) {
    return std::make_unique<UnusableDevice>(com::Utf8ToUtf16(why));
}

std::unique_ptr<Backend> MakeSerialScanner(const Profile& profile, const transport::Connection& connection) {
    SerialScannerConfig config;
    config.connection = connection;
    const std::string suffix = Setting(profile, "suffix", "CR");
    const auto parsed = scan::SuffixFromName(suffix);
    if (!parsed)
        return Unusable("suffix " + suffix + " inconnu (CR, LF, CRLF, TAB ou ETX)");
    config.framing.suffix = *parsed;
    const std::string longest = Setting(profile, "maxlength", "4096");
    std::size_t length = 0;
    const auto [end, error] = std::from_chars(longest.data(), longest.data() + longest.size(), length);
    if (error != std::errc() || end != longest.data() + longest.size() || length == 0 ||
        length > kLongestLabelAllowed)
        return Unusable("maxlength " + longest + " invalide (1 à 65536)");
    config.framing.maxLength = length;
    const std::u16string prefix = com::Utf8ToUtf16(Setting(profile, "prefix", "none"));
    config.aimPrefix = com::EqualsIgnoringCase(prefix, u"aim");
    if (!config.aimPrefix && !com::EqualsIgnoringCase(prefix, u"none"))
        return Unusable("prefix " + com::Utf16ToUtf8(prefix) + " inconnu (none ou aim)");
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
    const std::string protocol = Setting(profile, "protocol", "escpos-display");
    const auto parsedProtocol = display::ProtocolFromName(protocol);
    if (!parsedProtocol)
        return Unusable("protocol " + protocol + " inconnu (escpos-display ou cd5220)");
    config.protocol = *parsedProtocol;
    const std::string page = Setting(profile, "codepage", "437");
    const auto parsedPage = display::CodePageFromName(page);
    if (!parsedPage)
        return Unusable("codepage " + page + " inconnue (437, 850 ou 858)");
    config.codePage = *parsedPage;
    if (config.protocol == display::Protocol::Cd5220 && config.codePage != display::CodePage::Pc437)
        return Unusable("un afficheur cd5220 ne connaît que la page de code 437");
    config.rows = std::clamp<int>(Size(profile, Prop::Rows, Prop::DeviceRows), 1, 64);
    config.columns = std::clamp<int>(Size(profile, Prop::Columns, Prop::DeviceColumns), 1, 256);
    return std::make_unique<SerialLineDisplay>(std::move(config));
}

} // namespace

std::unique_ptr<Backend> MakeDeviceBackend(const Profile& profile) {
    const std::string text = Setting(profile, "connection");
    if (text.empty())
        return nullptr;
    const transport::ParsedConnection parsed = transport::ParseConnection(text);
    if (!parsed.ok())
        return Unusable(parsed.error);
    if (profile.kind == Kind::Scanner && parsed.connection.scheme == transport::Scheme::Serial)
        return MakeSerialScanner(profile, parsed.connection);
    if (profile.kind == Kind::LineDisplay && parsed.connection.scheme == transport::Scheme::Serial)
        return MakeSerialLineDisplay(profile, parsed.connection);
    // Printers and drawers have back ends of their own; the other kinds
    // say plainly that this connection cannot serve them.
    if (profile.kind == Kind::Printer || profile.kind == Kind::CashDrawer)
        return nullptr;
    return Unusable("connexion " + text + " non prise en charge pour ce type de périphérique");
}

} // namespace zorv::opos::real
