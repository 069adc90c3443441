#include "shell.h"

#include "environment_block.h"
#include "errors.h"

namespace zorv::scripting {
namespace {

// One set of variables as read when asked for: Item (the default, Empty text
// for a name not set), Count, Length and For Each over "NAME=value".
class EnvironmentSet final : public MemberDispatch<EnvironmentSet> {
public:
    explicit EnvironmentSet(EnvironmentBlock block) : block_(std::move(block)) {}

    static std::span<const Member<EnvironmentSet>> Members() {
        static const Member<EnvironmentSet> members[] = {
            {u"Item", DISPID_VALUE, &EnvironmentSet::Item},
            {u"Count", 1, &EnvironmentSet::Count},
            {u"Length", 2, &EnvironmentSet::Count},
            {u"_NewEnum", DISPID_NEWENUM, &EnvironmentSet::NewEnum},
        };
        return members;
    }
    std::u16string_view TypeName() const { return u"IWshEnvironment"; }

private:
    void Item(Invocation& call) {
        call.args.ExpectCount(1, 1);
        if (call.IsPut())
            throw com::DispatchError{DISP_E_MEMBERNOTFOUND};
        const EnvironmentVariable* variable = FindVariable(block_, call.args.String(0));
        call.result = com::Variant(variable != nullptr ? std::u16string_view(variable->value) : u"").Detach();
    }
    void Count(Invocation& call) {
        call.args.ExpectCount(0, 0);
        call.result = com::Variant(static_cast<LONG>(block_.size())).Detach();
    }
    void NewEnum(Invocation& call) {
        com::Values lines;
        for (const EnvironmentVariable& variable : block_)
            lines.emplace_back(std::u16string_view(variable.name + u"=" + variable.value));
        com::ValueList(std::move(lines)).EnumeratorResult(call.result);
    }

    EnvironmentBlock block_;
};

} // namespace

std::span<const Member<Shell>> Shell::Members() {
    static const Member<Shell> members[] = {
        {u"Environment", 1, &Shell::Environment},
        {u"ExpandEnvironmentStrings", 2, &Shell::ExpandEnvironmentStrings},
    };
    return members;
}

// Environment("PROCESS"), or the SYSTEM set when no name is given, as the
// classic host does.
void Shell::Environment(Invocation& call) {
    if (call.IsPut())
        throw com::DispatchError{DISP_E_MEMBERNOTFOUND};
    call.args.ExpectCount(0, 1);
    const bool named = call.args.Count() > 0 && !call.args.IsMissing(0);
    const std::optional<EnvironmentBlock> block = ReadEnvironment(named ? call.args.String(0) : u"SYSTEM");
    if (!block)
        Raise(kInvalidCall);
    auto environment = com::MakeObject<EnvironmentSet>(*block);
    call.result = com::Variant(static_cast<IDispatch*>(environment.Get())).Detach();
}

void Shell::ExpandEnvironmentStrings(Invocation& call) {
    call.args.ExpectCount(1, 1);
    call.result = com::Variant(std::u16string_view(ExpandVariables(call.args.String(0)))).Detach();
}

} // namespace zorv::scripting
