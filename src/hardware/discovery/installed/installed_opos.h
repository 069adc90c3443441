#pragma once
// What OPOS a Windows machine has installed, read from its registry: the
// standard control ProgIDs ("OPOS.Scanner"...) with their class and server,
// and the logical device names the installed service objects declare under
// SOFTWARE\OLEforRetail\ServiceOPOS\<kind>\<name>. The reading goes through
// RegistryReader, so what is found can be worked out (and tested) anywhere;
// windows_registry.h reads the real thing.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zorv::opos::installed {

// Which registry views an entry was seen in: a 32-bit host only loads what
// the 32-bit view declares.
enum RegistryViews : unsigned { kView32 = 1, kView64 = 2, kBothViews = kView32 | kView64 };

// The two registry roots read: the classes (as HKEY_CLASSES_ROOT shows them:
// the user's own registrations over the machine's) and HKEY_LOCAL_MACHINE.
enum class RegistryRoot { Classes, LocalMachine };

// One view of the registry. Paths use backslashes; texts are UTF-8.
class RegistryReader {
public:
    virtual ~RegistryReader() = default;
    // The names of the subkeys of `path`; none when the key is missing.
    virtual std::vector<std::string> SubkeyNames(RegistryRoot root, const std::string& path) const = 0;
    // A text value of `path` (`name` empty: the key's default value); none when
    // the key or the value is missing or holds no text.
    virtual std::optional<std::string> Text(RegistryRoot root, const std::string& path,
                                            const std::string& name) const = 0;
};

// A registered control ProgID: "OPOS.POSPrinter" → class → in-process server.
struct RegisteredControl {
    std::string kind; // "POSPrinter"
    std::string progId;
    std::string clsid;  // empty: the ProgID names no class
    std::string server; // the DLL (or program) path; empty when the class has none
    unsigned views = 0;
};

// A logical device name an installed service object declares.
struct DeclaredDevice {
    std::string kind;          // the standard spelling when it is one of the seven
    std::string logicalName;   // what Open takes
    std::string serviceProgId; // the service object that serves it; empty when none is named
    std::string description;   // the service object's class name, when it has one
    unsigned views = 0;
};

struct OposInstallation {
    std::vector<RegisteredControl> controls;
    std::vector<DeclaredDevice> devices;
};

// The seven kinds, spelled as their control ProgIDs and ServiceOPOS keys spell them.
const std::vector<std::string>& OposKinds();

// The registry key under HKEY_LOCAL_MACHINE that holds the service objects' devices.
inline constexpr std::string_view kServiceOposKey = "SOFTWARE\\OLEforRetail\\ServiceOPOS";

// What `views` (one reader per registry view, with the view it reads) hold.
// An entry that is the same in both views is listed once, with both.
struct ViewReader {
    const RegistryReader* reader;
    unsigned view;
};
OposInstallation FindInstalledOpos(const std::vector<ViewReader>& views);

} // namespace zorv::opos::installed
