#include "backends/escpos/settings.h"

#include <algorithm>
#include <charconv>
#include <functional>

#include "backends/device_settings.h"
#include "model/opos_codes.h"
#include "model/profile.h"
#include "platform/com/text.h"
#include "transport/reach.h"

namespace zorv::opos {
namespace escpos_device {
namespace {

std::string Lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
    return out;
}

std::optional<int> Number(std::string_view text, int min, int max) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < min || value > max)
        return std::nullopt;
    return value;
}

// Each key: the kinds it belongs to, and how its value goes into the
// settings (an error text when it cannot).
struct Key {
    std::string_view name;
    bool printer, drawer;
    std::function<std::string(std::string_view, Settings&)> apply;
};

std::string ApplyConnection(std::string_view text, Settings& settings) {
    const transport::ParsedConnection parsed = transport::ParseConnection(text);
    if (!parsed.ok())
        return parsed.error;
    settings.connection = parsed.connection;
    settings.connectionText = std::string(text);
    return {};
}

std::string ApplyCodePage(std::string_view text, Settings& settings) {
    const auto page = escpos::FindCodePage(text);
    if (!page)
        return "unknown code page (PC437, PC850, PC852, PC858, PC866 or WPC1252)";
    settings.codePage = *page;
    return {};
}

std::string ApplyPaper(std::string_view text, Settings& settings) {
    const auto mm = Number(text, 58, 80);
    if (!mm || (*mm != 58 && *mm != 80))
        return "paper width is 58 or 80 (mm)";
    settings.paperWidthMm = *mm;
    settings.fontAChars = *mm == 58 ? 32 : 48;
    settings.fontBChars = *mm == 58 ? 42 : 64;
    return {};
}

std::string ApplyChars(std::string_view text, int& target) {
    const auto chars = Number(text, 8, 255);
    if (!chars)
        return "characters per line: a number from 8 to 255";
    target = *chars;
    return {};
}

std::optional<bool> YesNo(std::string_view text) {
    const std::string word = Lower(text);
    if (word == "yes" || word == "true" || word == "on" || word == "1")
        return true;
    if (word == "no" || word == "false" || word == "off" || word == "0")
        return false;
    return std::nullopt;
}

std::string ApplyCutter(std::string_view text, Settings& settings) {
    const auto cutter = YesNo(text);
    if (!cutter)
        return "cutter is yes or no";
    settings.cutter = *cutter;
    return {};
}

std::string ApplyPin(std::string_view text, Settings& settings) {
    const auto pin = Number(text, 2, 5);
    if (!pin || (*pin != 2 && *pin != 5))
        return "drawer pin is 2 or 5";
    settings.drawerPin = *pin == 2 ? escpos::DrawerPin::Pin2 : escpos::DrawerPin::Pin5;
    return {};
}

std::string ApplyPulse(std::string_view text, Settings& settings) {
    const auto ms = Number(text, 2, 510);
    if (!ms)
        return "drawer pulse: milliseconds from 2 to 510";
    settings.drawerPulseMs = *ms;
    return {};
}

std::string ApplyPolarity(std::string_view text, Settings& settings) {
    const std::string word = Lower(text);
    if (word != "high" && word != "low")
        return "drawer open is high or low (the sensor level while the drawer is open)";
    settings.drawerOpenHigh = word == "high";
    return {};
}

std::string ApplyStatusBack(std::string_view text, Settings& settings) {
    const auto on = YesNo(text);
    if (!on)
        return "status back is yes or no";
    settings.statusBack = *on;
    return {};
}

std::string ApplyTimeout(std::string_view text, Settings& settings) {
    const auto ms = Number(text, 100, 60000);
    if (!ms)
        return "timeout: milliseconds from 100 to 60000";
    settings.timeoutMs = *ms;
    return {};
}

std::string ApplyPoll(std::string_view text, Settings& settings) {
    const auto ms = Number(text, 100, 60000);
    if (!ms)
        return "status poll: milliseconds from 100 to 60000";
    settings.statusPollMs = *ms;
    return {};
}

const std::vector<Key>& Keys() {
    static const std::vector<Key> keys = {
        {"connection", true, true, ApplyConnection},
        {"code_page", true, false, ApplyCodePage},
        {"paper_width", true, false, ApplyPaper},
        {"font_a_chars", true, false,
         [](std::string_view t, Settings& s) { return ApplyChars(t, s.fontAChars); }},
        {"font_b_chars", true, false,
         [](std::string_view t, Settings& s) { return ApplyChars(t, s.fontBChars); }},
        {"cutter", true, false, ApplyCutter},
        {"drawer_pin", false, true, ApplyPin},
        {"drawer_pulse", false, true, ApplyPulse},
        {"drawer_open", false, true, ApplyPolarity},
        {"status_back", true, false, ApplyStatusBack},
        {"timeout", true, true, ApplyTimeout},
        {"status_poll", true, true, ApplyPoll},
    };
    return keys;
}

const Key* FindKey(std::string_view name) {
    for (const Key& key : Keys())
        if (key.name == name)
            return &key;
    return nullptr;
}

std::u16string Wide(const std::string& text) {
    return com::Utf8ToUtf16(text);
}

} // namespace

Settings ReadSettings(const std::vector<std::pair<std::string, std::string>>& entries) {
    Settings settings;
    // The paper width sets the line widths, which their own keys may change.
    for (const auto& [name, value] : entries)
        if (name == "paper_width")
            ApplyPaper(value, settings);
    for (const auto& [name, value] : entries)
        if (const Key* key = FindKey(name); key && name != "paper_width")
            key->apply(value, settings);
    return settings;
}

} // namespace escpos_device

bool IsDeviceSetting(std::string_view key) {
    return escpos_device::FindKey(key) != nullptr || real::IsSetting(key);
}

std::string DeviceSettingProblem(Kind kind, std::string_view key, std::string_view value) {
    if (real::ServesKind(kind))
        return real::SettingProblem(kind, key, value);
    const escpos_device::Key* found = escpos_device::FindKey(key);
    if (found == nullptr)
        return "unknown setting";
    if ((kind == Kind::Printer && !found->printer) || (kind == Kind::CashDrawer && !found->drawer) ||
        (kind != Kind::Printer && kind != Kind::CashDrawer))
        return "not a setting of this kind of device";
    escpos_device::Settings scratch;
    std::string problem = found->apply(value, scratch);
    if (problem.empty() && key == "connection") {
        const bool drawerLink = scratch.connection.scheme == transport::Scheme::Printer;
        if (kind == Kind::CashDrawer && !drawerLink)
            problem = "a cash drawer is reached through its printer: printer:NAME";
        else if (kind == Kind::Printer && drawerLink)
            problem = "printer: names the printer of a cash drawer, not a printer's own link";
        else if (scratch.connection.scheme == transport::Scheme::Input ||
                 scratch.connection.scheme == transport::Scheme::Hidraw)
            problem = "a printer is reached through tcp:, serial: or file:";
        else
            problem = transport::UnreachableHere(scratch.connection);
    }
    return problem;
}

void AddDeviceDefaults(Profile& profile) {
    if (real::ServesKind(profile.kind))
        return real::AddDefaults(profile);
    using escpos_device::Wide;
    const escpos_device::Settings settings = escpos_device::ReadSettings(profile.settings);
    std::vector<std::pair<Prop, Value>> defaults;
    const auto add = [&](Prop prop, Value value) { defaults.emplace_back(prop, std::move(value)); };
    add(Prop::CapPowerReporting, LONG{OPOS_PR_ADVANCED});
    add(Prop::ServiceObjectDescription, u"ZORV ESC/POS service object, " + Wide(profile.connection));
    add(Prop::ControlObjectDescription, std::u16string(u"ZORV OPOS control object"));
    if (profile.kind == Kind::Printer) {
        std::u16string pages;
        for (const escpos::CodePageInfo& info : escpos::CodePages())
            pages += (pages.empty() ? u"" : u",") + Wide(std::to_string(info.number));
        add(Prop::CapJrnPresent, false);
        add(Prop::CapSlpPresent, false);
        add(Prop::CapConcurrentJrnRec, false);
        // Horizontal rules print as pictures; vertical ones would run beside
        // the text, which ESC/POS standard mode cannot draw.
        add(Prop::CapRecRuledLine, LONG{PTR_RL_HORIZONTAL});
        add(Prop::CapRecPaperCut, settings.cutter);
        add(Prop::CharacterSetList, pages);
        add(Prop::CharacterSet, LONG{escpos::Info(settings.codePage).number});
        add(Prop::RecLineChars, LONG{settings.fontAChars});
        add(Prop::RecLineCharsList,
            Wide(std::to_string(settings.fontAChars) + "," + std::to_string(settings.fontBChars)));
        add(Prop::RecLineWidth, LONG{settings.PaperDots()});
        add(Prop::CoverOpen, false);
        add(Prop::RecEmpty, false);
        add(Prop::RecNearEnd, false);
    } else {
        add(Prop::DrawerOpened, false);
    }
    profile.overrides.insert(profile.overrides.begin(), defaults.begin(), defaults.end());
}

} // namespace zorv::opos
