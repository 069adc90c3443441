#include "model/claims.h"

#include <map>
#include <string>

#include "platform/com/text.h"

namespace zorv::opos {
namespace {

// Logical names compare without regard to case, so the key is folded.
std::u16string Key(std::u16string_view device) {
    std::u16string key(device);
    for (char16_t& c : key)
        c = com::FoldCase(c);
    return key;
}

std::map<std::u16string, const void*>& Holders() {
    static std::map<std::u16string, const void*> holders;
    return holders;
}

} // namespace

bool TryClaim(std::u16string_view device, const void* owner) {
    const auto [at, added] = Holders().try_emplace(Key(device), owner);
    return added || at->second == owner;
}

void ReleaseClaim(std::u16string_view device, const void* owner) {
    const auto found = Holders().find(Key(device));
    if (found != Holders().end() && found->second == owner)
        Holders().erase(found);
}

bool ClaimedByAnother(std::u16string_view device, const void* owner) {
    const auto found = Holders().find(Key(device));
    return found != Holders().end() && found->second != owner;
}

} // namespace zorv::opos
