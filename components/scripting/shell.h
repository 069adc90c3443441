#pragma once
// "WScript.Shell", the part of it Linux can answer: Environment (reading the
// variable sets) and ExpandEnvironmentStrings.
#include <span>

#include "member_dispatch.h"

namespace zorv::scripting {

inline constexpr CLSID kClsidShell = {
    0x3C7F1A20, 0x5E4B, 0x4D9A, {0x8F, 0x61, 0x2B, 0x0C, 0x9D, 0x4E, 0x5A, 0x03}};

class Shell final : public MemberDispatch<Shell> {
public:
    static std::span<const Member<Shell>> Members();
    std::u16string_view TypeName() const { return u"IWshShell3"; }

private:
    void Environment(Invocation& call);
    void ExpandEnvironmentStrings(Invocation& call);
};

} // namespace zorv::scripting
