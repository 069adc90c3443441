#include "script/wscript/wscript_arguments.h"

#include <optional>

#include "platform/com/table_dispatch.h"
#include "platform/com/text.h"
#include "platform/com/value_list.h"

namespace zorv::tools {
namespace {

constexpr SCODE kSubscript = static_cast<SCODE>(0x800A0009u);

using Texts = std::vector<std::u16string>;

struct NamedArgument {
    std::u16string name;
    std::u16string value;
};

// "/name:value" and "/name"; anything else is unnamed.
std::optional<NamedArgument> AsNamed(const std::u16string& argument) {
    if (argument.size() < 2 || argument[0] != u'/')
        return std::nullopt;
    const std::size_t colon = argument.find(u':');
    if (colon == std::u16string::npos)
        return NamedArgument{argument.substr(1), {}};
    return NamedArgument{argument.substr(1, colon - 1), argument.substr(colon + 1)};
}

com::ValueList TextList(const Texts& texts) {
    com::Values values;
    values.reserve(texts.size());
    for (const std::u16string& text : texts)
        values.emplace_back(std::u16string_view(text));
    return com::ValueList(std::move(values));
}

// Arguments by position: the whole list and Unnamed.
class PositionalArguments final : public com::TableDispatch<PositionalArguments> {
public:
    PositionalArguments(const Texts& texts, com::ComPtr<IDispatch> named, com::ComPtr<IDispatch> unnamed)
        : texts_(TextList(texts)), named_(std::move(named)), unnamed_(std::move(unnamed)) {}

    static const com::DispatchTable<PositionalArguments>& DispatchMembers() {
        static const com::DispatchTable<PositionalArguments> table{
            {u"Item", DISPID_VALUE, nullptr, nullptr, &PositionalArguments::Item},
            {u"Count", 1, nullptr, nullptr, &PositionalArguments::Count},
            {u"Length", 2, &PositionalArguments::Length},
            {u"Named", 3, nullptr, nullptr, &PositionalArguments::Named},
            {u"Unnamed", 4, nullptr, nullptr, &PositionalArguments::Unnamed},
            {u"_NewEnum", DISPID_NEWENUM, nullptr, nullptr, &PositionalArguments::NewEnum},
        };
        return table;
    }

private:
    void Item(const com::DispatchArgs& args, VARIANT& result) {
        args.ExpectCount(1, 1);
        const VARIANT* text = texts_.At(args.Long(0));
        if (text == nullptr)
            throw com::DispatchException(u"L'indice n'appartient pas à la sélection", kSubscript);
        VariantCopy(&result, text);
    }
    void Count(const com::DispatchArgs& args, VARIANT& result) {
        args.ExpectCount(0, 0);
        Length(result);
    }
    void Length(VARIANT& result) { texts_.CountResult(result); }
    void Named(const com::DispatchArgs& args, VARIANT& result) {
        com::ObjectOrItem(named_.Get(), args, result);
    }
    void Unnamed(const com::DispatchArgs& args, VARIANT& result) {
        com::ObjectOrItem(unnamed_.Get(), args, result);
    }
    void NewEnum(const com::DispatchArgs&, VARIANT& result) { texts_.EnumeratorResult(result); }

    com::ValueList texts_;
    com::ComPtr<IDispatch> named_;
    com::ComPtr<IDispatch> unnamed_;
};

class NamedArguments final : public com::TableDispatch<NamedArguments> {
public:
    explicit NamedArguments(std::vector<NamedArgument> named) : named_(std::move(named)) {
        Texts names;
        for (const NamedArgument& argument : named_)
            names.push_back(argument.name);
        names_ = TextList(names);
    }

    static const com::DispatchTable<NamedArguments>& DispatchMembers() {
        static const com::DispatchTable<NamedArguments> table{
            {u"Item", DISPID_VALUE, nullptr, nullptr, &NamedArguments::Item},
            {u"Count", 1, nullptr, nullptr, &NamedArguments::Count},
            {u"Length", 2, &NamedArguments::Length},
            {u"Exists", 3, nullptr, nullptr, &NamedArguments::Exists},
            {u"_NewEnum", DISPID_NEWENUM, nullptr, nullptr, &NamedArguments::NewEnum},
        };
        return table;
    }

private:
    const NamedArgument* Find(const std::u16string& name) const {
        for (const NamedArgument& argument : named_)
            if (com::EqualsIgnoringCase(argument.name, name))
                return &argument;
        return nullptr;
    }
    // A name not given reads as Empty.
    void Item(const com::DispatchArgs& args, VARIANT& result) {
        args.ExpectCount(1, 1);
        if (const NamedArgument* argument = Find(args.String(0)))
            result = com::Variant(std::u16string_view(argument->value)).Detach();
    }
    void Exists(const com::DispatchArgs& args, VARIANT& result) {
        args.ExpectCount(1, 1);
        result = com::Variant(Find(args.String(0)) != nullptr).Detach();
    }
    void Count(const com::DispatchArgs& args, VARIANT& result) {
        args.ExpectCount(0, 0);
        Length(result);
    }
    void Length(VARIANT& result) { result = com::Variant(static_cast<LONG>(named_.size())).Detach(); }
    void NewEnum(const com::DispatchArgs&, VARIANT& result) { names_.EnumeratorResult(result); }

    std::vector<NamedArgument> named_;
    com::ValueList names_;
};

} // namespace

com::ComPtr<IDispatch> MakeArguments(const std::vector<std::u16string>& arguments) {
    std::vector<NamedArgument> named;
    Texts unnamed;
    for (const std::u16string& argument : arguments) {
        if (auto found = AsNamed(argument))
            named.push_back(std::move(*found));
        else
            unnamed.push_back(argument);
    }
    com::ComPtr<IDispatch> namedObject(com::MakeObject<NamedArguments>(std::move(named)).Get());
    com::ComPtr<IDispatch> unnamedObject(
        com::MakeObject<PositionalArguments>(unnamed, com::ComPtr<IDispatch>(), com::ComPtr<IDispatch>())
            .Get());
    return com::ComPtr<IDispatch>(
        com::MakeObject<PositionalArguments>(arguments, std::move(namedObject), std::move(unnamedObject))
            .Get());
}

} // namespace zorv::tools
