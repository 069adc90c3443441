#include "hardware/discovery/installed/installed_opos_report.h"

namespace zorv::opos::installed {
namespace {

std::string ControlLine(const RegisteredControl& control) {
    std::string line = "  " + control.progId + " : ";
    if (control.clsid.empty())
        line += "aucune classe (pas de clé CLSID)";
    else
        line += control.clsid + " " + (control.server.empty() ? "(serveur introuvable)" : control.server);
    return line + " (" + ViewsText(control.views) + ")\n";
}

std::string DeviceLine(const DeclaredDevice& device) {
    std::string line = "    " + device.logicalName + " -> ";
    line += device.serviceProgId.empty() ? "(aucun objet de service nommé)" : device.serviceProgId;
    if (!device.description.empty())
        line += " « " + device.description + " »";
    return line + " (" + ViewsText(device.views) + ")\n";
}

std::string ControlsText(const std::vector<RegisteredControl>& controls) {
    if (controls.empty())
        return "Aucun contrôle OPOS (OPOS.Scanner, OPOS.POSPrinter...) n'est enregistré sur cette machine.\n";
    std::string text = "Contrôles OPOS enregistrés :\n";
    for (const RegisteredControl& control : controls)
        text += ControlLine(control);
    return text;
}

std::string DevicesText(const std::vector<DeclaredDevice>& devices) {
    if (devices.empty())
        return "Aucun objet de service OPOS ne déclare de périphérique sur cette machine.\n";
    std::string text =
        "Périphériques déclarés par les objets de service OPOS (nom logique -> objet de service) :\n";
    const std::string* kind = nullptr;
    for (const DeclaredDevice& device : devices) {
        if (kind == nullptr || *kind != device.kind)
            text += "  " + device.kind + " :\n";
        kind = &device.kind;
        text += DeviceLine(device);
    }
    return text;
}

} // namespace

std::string ViewsText(unsigned views) {
    switch (views & kBothViews) {
    case kView32:
        return "32 bits";
    case kView64:
        return "64 bits";
    case kBothViews:
        return "32 et 64 bits";
    }
    return {};
}

std::string FormatInstallation(const OposInstallation& installation) {
    return ControlsText(installation.controls) + DevicesText(installation.devices);
}

} // namespace zorv::opos::installed
