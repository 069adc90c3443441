#include "hardware/discovery/device_profiles.h"

#include <algorithm>
#include <map>

namespace zorv::opos::discovery {
namespace {

struct KindChoice {
    Family family;
    Guess guess;
    std::vector<std::string> kinds;
};

// What each sort of device can be (Unknown here: whatever the guess); a
// serial line could carry any of the serial kinds, so the display, the most
// common, comes first.
const std::vector<KindChoice>& KindChoices() {
    static const std::vector<KindChoice> choices = {
        {Family::Serial, Guess::Unknown, {"LineDisplay", "Scanner", "POSPrinter", "CashDrawer", "MSR"}},
        {Family::UsbPrinter, Guess::Unknown, {"POSPrinter", "CashDrawer"}},
        {Family::Input, Guess::Scanner, {"Scanner"}},
        {Family::Input, Guess::CardReader, {"MSR"}},
        // A wedge scanner or reader that does not give its trade away looks like a keyboard.
        {Family::Input, Guess::Keyboard, {"POSKeyboard", "Keylock", "Scanner", "MSR"}},
        {Family::Hidraw, Guess::Scanner, {"Scanner"}},
    };
    return choices;
}

struct KindKeys {
    std::string_view kind;
    Family family;
    std::vector<std::string> lines;
};

// The keys a tester is likely to change, with their defaults.
const std::vector<KindKeys>& KeysTable() {
    static const std::vector<KindKeys> table = {
        {"Scanner",
         Family::Serial,
         {"suffix = CR",
          "# suffix : CR, LF, CRLF, TAB ou ETX ; prefix = aim si le scanner envoie l'identifiant AIM"}},
        {"Scanner", Family::Input, {"layout = us", "# layout = fr pour un scanner réglé en AZERTY"}},
        {"MSR", Family::Input, {"layout = us", "# layout = fr pour un lecteur réglé en AZERTY"}},
        {"POSKeyboard", Family::Input, {"# key_map = fichier de correspondance des touches (facultatif)"}},
        {"Keylock",
         Family::Input,
         {"# positions : le code de touche que la serrure envoie pour chaque position (code:position, ...)",
          "positions = 183:1, 184:2, 185:3"}},
        {"LineDisplay",
         Family::Serial,
         {"protocol = escpos-display", "# protocol = cd5220 pour un afficheur CD5220", "Columns = 20",
          "Rows = 2"}},
        {"POSPrinter", Family::Serial, {"paper_width = 80", "# paper_width = 58 pour une imprimante 58 mm"}},
        {"POSPrinter",
         Family::UsbPrinter,
         {"paper_width = 80", "# paper_width = 58 pour une imprimante 58 mm"}},
    };
    return table;
}

std::string Connection(const Candidate& device) {
    switch (device.family) {
    case Family::Serial:
        return "serial:" + device.path + ",9600";
    case Family::UsbPrinter:
        return "file:" + device.path;
    case Family::Input:
        return "input:" + device.path;
    case Family::Hidraw:
        return "hidraw:" + device.path;
    case Family::InstalledOpos:
        break;
    }
    return device.path;
}

void AddSection(std::vector<std::string>& lines, const Candidate& device, std::string_view kind,
                std::string_view name) {
    lines.push_back("[" + std::string(name) + "]");
    lines.push_back("kind = " + std::string(kind));
    lines.push_back("connection = " + Connection(device));
    for (const KindKeys& keys : KeysTable())
        if (keys.kind == kind && keys.family == device.family)
            lines.insert(lines.end(), keys.lines.begin(), keys.lines.end());
}

} // namespace

const std::vector<std::string>& ProfileKinds() {
    static const std::vector<std::string> kinds = {"Scanner", "POSPrinter",  "LineDisplay", "Keylock",
                                                   "MSR",     "POSKeyboard", "CashDrawer"};
    return kinds;
}

std::vector<std::string> KindsFor(const Candidate& device) {
    if (device.family == Family::InstalledOpos) {
        const auto& kinds = ProfileKinds();
        return std::find(kinds.begin(), kinds.end(), device.kind) != kinds.end()
                   ? std::vector<std::string>{device.kind}
                   : std::vector<std::string>{};
    }
    for (const KindChoice& choice : KindChoices())
        if (choice.family == device.family &&
            (choice.guess == device.guess || choice.guess == Guess::Unknown))
            return choice.kinds;
    return {};
}

bool Serves(const Candidate& device, std::string_view kind) {
    const std::vector<std::string> kinds = KindsFor(device);
    return std::find(kinds.begin(), kinds.end(), kind) != kinds.end();
}

std::vector<std::string> ProfileSection(const Candidate& device, std::string_view kind,
                                        std::string_view name) {
    std::vector<std::string> lines;
    // Its own service object opens it: the bench needs no section for it.
    if (device.family == Family::InstalledOpos) {
        lines.push_back("# aucune section : tapez « " + device.path +
                        " » comme nom logique, l'objet de service installé l'ouvre");
        return lines;
    }
    if (kind != "CashDrawer") {
        AddSection(lines, device, kind, name);
        return lines;
    }
    const std::string printer = std::string(name) + "_Printer";
    AddSection(lines, device, "POSPrinter", printer);
    lines.push_back("[" + std::string(name) + "]");
    lines.push_back("kind = CashDrawer");
    lines.push_back("connection = printer:" + printer);
    lines.push_back("drawer_pin = 2");
    lines.push_back("# drawer_pin = 5 si le tiroir est branché sur la broche 5");
    return lines;
}

std::vector<Listed> ForKind(const std::vector<Candidate>& devices, std::string_view kind) {
    std::vector<Listed> listed;
    std::map<std::string, int> numbers;
    for (const Candidate& device : devices) {
        const std::vector<std::string> kinds = KindsFor(device);
        Listed row{&device, {}, {}};
        if (!kind.empty() && !Serves(device, kind))
            continue;
        row.kind = kind.empty() ? (kinds.empty() ? std::string() : kinds.front()) : std::string(kind);
        if (!row.kind.empty())
            row.section = ProfileSection(device, row.kind, row.kind + std::to_string(++numbers[row.kind]));
        listed.push_back(std::move(row));
    }
    return listed;
}

} // namespace zorv::opos::discovery
