// Finding the installed OPOS over a made-up registry, and the text that lists it.
#include <gtest/gtest.h>

#include <map>

#include "hardware/discovery/installed/installed_opos.h"
#include "hardware/discovery/installed/installed_opos_report.h"

namespace {

using namespace zorv::opos::installed;

// Keys by root and path, each with its values; setting a value makes the key
// and every key above it.
class FakeRegistry : public RegistryReader {
public:
    void Set(RegistryRoot root, const std::string& path, const std::string& name, const std::string& value) {
        for (std::size_t end = path.find('\\'); end != std::string::npos; end = path.find('\\', end + 1))
            keys_[{root, path.substr(0, end)}];
        keys_[{root, path}][name] = value;
    }
    void Service(const std::string& kind, const std::string& name, const std::string& progId) {
        Set(RegistryRoot::LocalMachine, std::string(kServiceOposKey) + "\\" + kind + "\\" + name, "", progId);
    }
    void Control(const std::string& progId, const std::string& clsid, const std::string& server) {
        Set(RegistryRoot::Classes, progId + "\\CLSID", "", clsid);
        Set(RegistryRoot::Classes, "CLSID\\" + clsid + "\\InprocServer32", "", server);
    }

    std::vector<std::string> SubkeyNames(RegistryRoot root, const std::string& path) const override {
        std::vector<std::string> names;
        const std::string prefix = path + "\\";
        for (const auto& [key, values] : keys_)
            if (key.first == root && key.second.starts_with(prefix) &&
                key.second.find('\\', prefix.size()) == std::string::npos)
                names.push_back(key.second.substr(prefix.size()));
        return names;
    }
    std::optional<std::string> Text(RegistryRoot root, const std::string& path,
                                    const std::string& name) const override {
        const auto key = keys_.find({root, path});
        if (key == keys_.end())
            return std::nullopt;
        const auto value = key->second.find(name);
        return value == key->second.end() ? std::nullopt : std::optional<std::string>(value->second);
    }

private:
    std::map<std::pair<RegistryRoot, std::string>, std::map<std::string, std::string>> keys_;
};

constexpr char kPrinterClass[] = "{11111111-2222-3333-4444-555555555555}";
constexpr char kScannerClass[] = "{AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE}";

TEST(InstalledOpos, ControlsWithTheirClassAndServerOncePerDifferentView) {
    FakeRegistry bits32, bits64;
    for (FakeRegistry* view : {&bits32, &bits64})
        view->Control("OPOS.POSPrinter", kPrinterClass, "C:\\OPOS\\POSPrinter.ocx");
    bits32.Control("OPOS.Scanner", kScannerClass, "C:\\Program Files (x86)\\OPOS\\Scanner.ocx");
    bits64.Control("OPOS.Scanner", kScannerClass, "C:\\Program Files\\OPOS\\Scanner.ocx");

    const OposInstallation found = FindInstalledOpos({{&bits32, kView32}, {&bits64, kView64}});

    ASSERT_EQ(found.controls.size(), 3u);
    // The seven kinds' order: Scanner before POSPrinter.
    EXPECT_EQ(found.controls[0].progId, "OPOS.Scanner");
    EXPECT_EQ(found.controls[0].server, "C:\\Program Files (x86)\\OPOS\\Scanner.ocx");
    EXPECT_EQ(found.controls[0].views, kView32);
    EXPECT_EQ(found.controls[1].server, "C:\\Program Files\\OPOS\\Scanner.ocx");
    EXPECT_EQ(found.controls[1].views, kView64);
    EXPECT_EQ(found.controls[2].kind, "POSPrinter");
    EXPECT_EQ(found.controls[2].clsid, kPrinterClass);
    EXPECT_EQ(found.controls[2].views, kBothViews);
    EXPECT_TRUE(found.devices.empty());
}

TEST(InstalledOpos, ControlsThroughTheirCurrentVersionOrIncomplete) {
    FakeRegistry registry;
    registry.Set(RegistryRoot::Classes, "OPOS.CashDrawer\\CurVer", "", "OPOS.CashDrawer.1");
    registry.Control("OPOS.CashDrawer.1", kPrinterClass, "C:\\OPOS\\CashDrawer.ocx");
    // A ProgID left behind by an uninstaller: its key but no class.
    registry.Set(RegistryRoot::Classes, "OPOS.MSR", "", "OPOS MSR");
    // A class whose server key was removed.
    registry.Set(RegistryRoot::Classes, "OPOS.Keylock\\CLSID", "", kScannerClass);
    // A ProgID whose current version is itself must not loop.
    registry.Set(RegistryRoot::Classes, "OPOS.LineDisplay\\CurVer", "", "opos.linedisplay");

    const OposInstallation found = FindInstalledOpos({{&registry, kView32}});

    ASSERT_EQ(found.controls.size(), 4u);
    EXPECT_EQ(found.controls[0].progId, "OPOS.LineDisplay");
    EXPECT_EQ(found.controls[0].clsid, "");
    EXPECT_EQ(found.controls[1].progId, "OPOS.Keylock");
    EXPECT_EQ(found.controls[1].clsid, kScannerClass);
    EXPECT_EQ(found.controls[1].server, "");
    EXPECT_EQ(found.controls[2].progId, "OPOS.MSR");
    EXPECT_EQ(found.controls[2].clsid, "");
    EXPECT_EQ(found.controls[3].progId, "OPOS.CashDrawer");
    EXPECT_EQ(found.controls[3].clsid, kPrinterClass);
    EXPECT_EQ(found.controls[3].server, "C:\\OPOS\\CashDrawer.ocx");
}

TEST(InstalledOpos, ServiceObjectsDevicesByKindWithTheirDescription) {
    FakeRegistry bits32, bits64;
    bits32.Service("POSPrinter", "TM-Counter", "Vendor.POSPrinter.SO");
    bits32.Set(RegistryRoot::Classes, "Vendor.POSPrinter.SO", "", "Vendor receipt printer");
    // Key names ignore case: "SCANNER" is the Scanner kind, listed before the printer.
    bits32.Service("SCANNER", "handScanner", "Vendor.Scanner.SO");
    bits32.Service("SCANNER", "Counter", "Vendor.Scanner.SO");
    bits64.Service("Scanner", "Counter", "Vendor.Scanner.SO");
    // A class the bench has no kind for still shows, after the seven.
    bits64.Service("Scale", "Weigher", "Vendor.Scale.SO");
    // A name whose key names no service object.
    bits64.Set(RegistryRoot::LocalMachine, std::string(kServiceOposKey) + "\\CashDrawer\\Empty", "Port",
               "COM1");

    const OposInstallation found = FindInstalledOpos({{&bits32, kView32}, {&bits64, kView64}});

    ASSERT_EQ(found.devices.size(), 5u);
    EXPECT_EQ(found.devices[0].kind, "Scanner");
    EXPECT_EQ(found.devices[0].logicalName, "Counter");
    EXPECT_EQ(found.devices[0].views, kBothViews);
    EXPECT_EQ(found.devices[1].logicalName, "handScanner");
    EXPECT_EQ(found.devices[1].views, kView32);
    EXPECT_EQ(found.devices[2].kind, "POSPrinter");
    EXPECT_EQ(found.devices[2].serviceProgId, "Vendor.POSPrinter.SO");
    EXPECT_EQ(found.devices[2].description, "Vendor receipt printer");
    EXPECT_EQ(found.devices[3].kind, "CashDrawer");
    EXPECT_EQ(found.devices[3].serviceProgId, "");
    EXPECT_EQ(found.devices[4].kind, "Scale");
    EXPECT_EQ(found.devices[4].logicalName, "Weigher");
    EXPECT_TRUE(found.controls.empty());
}

TEST(InstalledOposReport, ListsControlsThenDevicesByKind) {
    OposInstallation installation;
    installation.controls = {{"Scanner", "OPOS.Scanner", kScannerClass, "C:\\OPOS\\Scanner.ocx", kView32},
                             {"MSR", "OPOS.MSR", "", "", kBothViews},
                             {"Keylock", "OPOS.Keylock", kPrinterClass, "", kView64}};
    installation.devices = {{"Scanner", "Counter", "Vendor.Scanner.SO", "Vendor scanner", kBothViews},
                            {"Scanner", "Door", "Vendor.Scanner.SO", "", kView32},
                            {"CashDrawer", "Empty", "", "", kView64}};
    EXPECT_EQ(FormatInstallation(installation),
              "Contrôles OPOS enregistrés :\n"
              "  OPOS.Scanner : {AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE} C:\\OPOS\\Scanner.ocx (32 bits)\n"
              "  OPOS.MSR : aucune classe (pas de clé CLSID) (32 et 64 bits)\n"
              "  OPOS.Keylock : {11111111-2222-3333-4444-555555555555} (serveur introuvable) (64 bits)\n"
              "Périphériques déclarés par les objets de service OPOS (nom logique -> objet de service) :\n"
              "  Scanner :\n"
              "    Counter -> Vendor.Scanner.SO « Vendor scanner » (32 et 64 bits)\n"
              "    Door -> Vendor.Scanner.SO (32 bits)\n"
              "  CashDrawer :\n"
              "    Empty -> (aucun objet de service nommé) (64 bits)\n");
}

TEST(InstalledOposReport, AnEmptyMachineSaysSo) {
    FakeRegistry nothing;
    EXPECT_EQ(FormatInstallation(FindInstalledOpos({{&nothing, kView32}, {&nothing, kView64}})),
              "Aucun contrôle OPOS (OPOS.Scanner, OPOS.POSPrinter...) n'est enregistré sur cette machine.\n"
              "Aucun objet de service OPOS ne déclare de périphérique sur cette machine.\n");
}

} // namespace
