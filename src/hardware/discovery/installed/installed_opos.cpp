#include "hardware/discovery/installed/installed_opos.h"

#include <algorithm>
#include <cctype>
#include <tuple>

namespace zorv::opos::installed {
namespace {

bool SameLetters(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

std::string Lowered(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// Registry names ignore letter case: "SCANNER" is the Scanner kind.
std::string StandardKind(const std::string& keyName) {
    for (const std::string& kind : OposKinds())
        if (SameLetters(kind, keyName))
            return kind;
    return keyName;
}

// The seven kinds in their usual order, then any other class alphabetically.
std::size_t KindRank(const std::string& kind) {
    const auto& kinds = OposKinds();
    return static_cast<std::size_t>(std::find(kinds.begin(), kinds.end(), kind) - kinds.begin());
}

std::string TextOr(const RegistryReader& reader, RegistryRoot root, const std::string& path,
                   const std::string& name = {}) {
    return reader.Text(root, path, name).value_or(std::string());
}

// A ProgID without a class of its own may name its current version ("CurVer").
std::string ClassOf(const RegistryReader& reader, const std::string& progId) {
    std::string clsid = TextOr(reader, RegistryRoot::Classes, progId + "\\CLSID");
    if (clsid.empty())
        if (const std::string current = TextOr(reader, RegistryRoot::Classes, progId + "\\CurVer");
            !current.empty() && !SameLetters(current, progId))
            clsid = TextOr(reader, RegistryRoot::Classes, current + "\\CLSID");
    return clsid;
}

std::string ServerOf(const RegistryReader& reader, const std::string& clsid) {
    for (const char* server : {"InprocServer32", "LocalServer32"})
        if (std::string path = TextOr(reader, RegistryRoot::Classes, "CLSID\\" + clsid + "\\" + server);
            !path.empty())
            return path;
    return {};
}

std::optional<RegisteredControl> ControlOf(const RegistryReader& reader, const std::string& kind) {
    const std::string progId = "OPOS." + kind;
    // A ProgID is registered when its key exists: a default value or any subkey shows it.
    if (!reader.Text(RegistryRoot::Classes, progId, {}) &&
        reader.SubkeyNames(RegistryRoot::Classes, progId).empty())
        return std::nullopt;
    RegisteredControl control{kind, progId, ClassOf(reader, progId), {}, 0};
    if (!control.clsid.empty())
        control.server = ServerOf(reader, control.clsid);
    return control;
}

std::vector<DeclaredDevice> DevicesOf(const RegistryReader& reader) {
    const std::string root(kServiceOposKey);
    std::vector<DeclaredDevice> devices;
    for (const std::string& kindKey : reader.SubkeyNames(RegistryRoot::LocalMachine, root)) {
        const std::string kindPath = root + "\\" + kindKey;
        for (const std::string& name : reader.SubkeyNames(RegistryRoot::LocalMachine, kindPath)) {
            DeclaredDevice device{StandardKind(kindKey), name, {}, {}, 0};
            device.serviceProgId = TextOr(reader, RegistryRoot::LocalMachine, kindPath + "\\" + name);
            if (!device.serviceProgId.empty())
                device.description = TextOr(reader, RegistryRoot::Classes, device.serviceProgId);
            devices.push_back(std::move(device));
        }
    }
    return devices;
}

auto Identity(const RegisteredControl& c) {
    return std::tie(c.progId, c.clsid, c.server);
}
auto Identity(const DeclaredDevice& d) {
    return std::tie(d.kind, d.logicalName, d.serviceProgId, d.description);
}

// Adds `found` seen in `view`, joining it to the same entry of another view.
template <class Entry> void Merge(std::vector<Entry>& into, Entry found, unsigned view) {
    for (Entry& entry : into)
        if (Identity(entry) == Identity(found)) {
            entry.views |= view;
            return;
        }
    found.views = view;
    into.push_back(std::move(found));
}

auto SortKey(const RegisteredControl& c) {
    return std::make_tuple(KindRank(c.kind), c.views);
}
auto SortKey(const DeclaredDevice& d) {
    return std::make_tuple(KindRank(d.kind), Lowered(d.kind), Lowered(d.logicalName), d.views);
}

template <class Entry> void Sort(std::vector<Entry>& entries) {
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry& a, const Entry& b) { return SortKey(a) < SortKey(b); });
}

} // namespace

const std::vector<std::string>& OposKinds() {
    static const std::vector<std::string> kinds = {"Scanner", "POSPrinter",  "LineDisplay", "Keylock",
                                                   "MSR",     "POSKeyboard", "CashDrawer"};
    return kinds;
}

OposInstallation FindInstalledOpos(const std::vector<ViewReader>& views) {
    OposInstallation found;
    for (const ViewReader& view : views) {
        for (const std::string& kind : OposKinds())
            if (std::optional<RegisteredControl> control = ControlOf(*view.reader, kind))
                Merge(found.controls, std::move(*control), view.view);
        for (DeclaredDevice& device : DevicesOf(*view.reader))
            Merge(found.devices, std::move(device), view.view);
    }
    Sort(found.controls);
    Sort(found.devices);
    return found;
}

} // namespace zorv::opos::installed
