#include "hardware/discovery/device_report.h"

#include <algorithm>

#include "hardware/discovery/device_profiles.h"

namespace zorv::opos::discovery {
namespace {

struct FamilyTitle {
    Family family;
    const char* title;
    const char* one;
};

constexpr FamilyTitle kFamilies[] = {
    {Family::Serial, "Ports série", "port série"},
    {Family::UsbPrinter, "Imprimantes USB", "imprimante USB"},
    {Family::Input, "Périphériques d'entrée", "périphérique d'entrée"},
    {Family::Hidraw, "HID (hidraw)", "HID"},
    {Family::InstalledOpos, "Périphériques OPOS installés", "périphérique OPOS installé"}};

std::string DeviceLine(const Candidate& device) {
    std::string line = device.path;
    if (device.path != device.node)
        line += " -> " + device.node;
    if (device.family == Family::InstalledOpos)
        line += " (" + device.kind + ")";
    if (!device.name.empty() && device.family != Family::Serial)
        line += " « " + device.name + " »";
    if (!device.vendor.empty())
        line += " [" + device.vendor + ":" + device.product + "]";
    if (device.guess != Guess::Unknown)
        line += " : " + GuessText(device.guess);
    return line;
}

std::string OtherKinds(const Listed& row) {
    std::string others;
    for (const std::string& kind : KindsFor(*row.device))
        if (kind != row.kind)
            others += (others.empty() ? "" : ", ") + kind;
    return others;
}

void AddDevice(std::string& text, const Listed& row, bool allKinds) {
    text += "  " + DeviceLine(*row.device) + "\n";
    for (const std::string& line : row.section)
        text += "      " + line + "\n";
    if (row.kind.empty())
        text += "      # aucun type de périphérique du banc ne le prend en charge\n";
    else if (allKinds && !OtherKinds(row).empty())
        text += "      # autres types possibles : " + OtherKinds(row) + "\n";
    if (!row.device->access.empty())
        text += "    ! " + row.device->access + "\n";
}

} // namespace

std::string GuessText(Guess guess) {
    switch (guess) {
    case Guess::Scanner:
        return "ressemble à un scanner";
    case Guess::CardReader:
        return "ressemble à un lecteur de cartes";
    case Guess::Keyboard:
        return "clavier";
    case Guess::Unknown:
        break;
    }
    return {};
}

std::string FamilyText(Family family) {
    for (const FamilyTitle& entry : kFamilies)
        if (entry.family == family)
            return entry.one;
    return {};
}

std::string KindHint(std::string_view kind) {
    if (kind.empty() || kind == "POSPrinter" || kind == "CashDrawer")
        return "Une imprimante réseau ne se détecte pas : tapez tcp:ADRESSE[:PORT] comme nom logique "
               "(et printer:tcp:ADRESSE[:PORT] pour son tiroir).";
    return {};
}

std::string FormatDevices(const std::vector<Candidate>& devices, std::string_view kind) {
    const std::vector<Listed> listed = ForKind(devices, kind);
    std::string text;
    for (const FamilyTitle& family : kFamilies) {
        if (std::find(ListedFamilies().begin(), ListedFamilies().end(), family.family) ==
            ListedFamilies().end())
            continue;
        text += std::string(family.title) + " :\n";
        bool any = false;
        for (const Listed& row : listed)
            if (row.device->family == family.family) {
                AddDevice(text, row, kind.empty());
                any = true;
            }
        if (!any)
            text += "  (aucun)\n";
    }
    if (listed.empty())
        text += kind.empty() ? std::string("Aucun périphérique trouvé.\n")
                             : "Aucun périphérique trouvé pour " + std::string(kind) + ".\n";
    if (!KindHint(kind).empty())
        text += KindHint(kind) + "\n";
    return text;
}

} // namespace zorv::opos::discovery
