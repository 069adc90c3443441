#pragma once
// What registering a component library for the current user writes, and what
// unregistering it removes, as plain key and value records: the registry
// calls are Windows-only, the decisions are not.
//
// Each class gets its own ProgID "ZORV.<name>" (the last part of its standard
// ProgID) and, when no other server holds it, its standard ProgID too, so that
// installed vendor controls keep theirs. Unregistering removes a ProgID only
// while it still names our class.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "guid.h"

namespace zorv::com {

struct ClassToRegister {
    CLSID clsid;
    std::u16string progId; // the standard one, such as OPOS.POSPrinter
};

// A key under the user's classes root (Software\Classes) and one of its
// values; an empty value name is the key's default value.
struct RegistryValue {
    std::u16string key;
    std::u16string name;
    std::u16string data;
};

// The class a ProgID names now, if any (looked up by the caller).
using ProgIdLookup = std::function<std::optional<CLSID>(const std::u16string& progId)>;

// Where a registration goes: the current user's classes need no
// administrator; the machine's are for hosts that read only those (elevated
// programs, and Wine, whose class lookup does not merge the user's in).
enum class RegistrationScope { CurrentUser, Machine };

// The scope DllInstall's command line names: "user" (or nothing) or
// "machine", in any case and with spaces around; none for anything else.
std::optional<RegistrationScope> RegistrationScopeNamed(std::u16string_view commandLine);

std::u16string OwnProgIdOf(const std::u16string& standardProgId);

std::vector<RegistryValue> RegistrationValues(const std::vector<ClassToRegister>& classes,
                                              const std::u16string& libraryPath, const ProgIdLookup& current);

// The keys (with their subkeys) to delete.
std::vector<std::u16string> UnregistrationKeys(const std::vector<ClassToRegister>& classes,
                                               const ProgIdLookup& current);

} // namespace zorv::com
