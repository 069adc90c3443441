#include "backends/input_backends.h"

#include "backends/device_settings.h"
#include "backends/input/hid_pos_scanner.h"
#include "backends/input/input_keylock.h"
#include "backends/input/input_pos_keyboard.h"
#include "backends/input/key_map_file.h"
#include "backends/input/wedge_msr.h"
#include "backends/input/wedge_scanner.h"
#include "backends/unusable_device.h"
#include "platform/com/text.h"
#include "protocols/input/keylock_keys.h"

namespace zorv::opos::real {
namespace {

std::unique_ptr<Backend> Unusable(const std::string& why) {
    return std::make_unique<UnusableDevice>(com::Utf8ToUtf16(why));
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
std::unique_ptr<Backend> MakeEventBackend(const Profile& profile, const std::string& path) {
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

std::unique_ptr<Backend> MakeInputBackend(const Profile& profile, const transport::Connection& connection) {
    if (connection.scheme == transport::Scheme::Hidraw)
        return profile.kind == Kind::Scanner
                   ? std::make_unique<HidPosScanner>(
                         connection.path, MaxLength(Setting(profile, "max_length", "4096")).value_or(4096))
                   : nullptr;
    return MakeEventBackend(profile, connection.path);
}

} // namespace zorv::opos::real
