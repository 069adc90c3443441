#include "wscript_arguments.h"

#include <memory>
#include <optional>

#include "platform/com/table_dispatch.h"
#include "platform/com/text.h"

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

void Text(VARIANT& result, std::u16string_view text) {
    result = com::Variant(text).Detach();
}

// Enumerates texts for For Each; an IDispatch too, as the script engine wants.
class TextEnumerator final : public com::ComObject<IDispatch, IEnumVARIANT> {
public:
    explicit TextEnumerator(std::shared_ptr<const Texts> texts) : texts_(std::move(texts)) {}

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count == nullptr)
            return E_INVALIDARG;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info != nullptr)
            *info = nullptr;
        return DISP_E_BADINDEX;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE Next(ULONG wanted, VARIANT* out, ULONG* fetched) override {
        if (fetched != nullptr)
            *fetched = 0;
        if (out == nullptr && wanted > 0)
            return E_POINTER;
        ULONG n = 0;
        for (; n < wanted && next_ < texts_->size(); ++n)
            out[n] = com::Variant(std::u16string_view((*texts_)[next_++])).Detach();
        if (fetched != nullptr)
            *fetched = n;
        return n == wanted ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
        const std::size_t left = texts_->size() - next_;
        next_ += count < left ? count : left;
        return count <= left ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override {
        next_ = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** copy) override {
        if (copy == nullptr)
            return E_POINTER;
        auto clone = com::MakeObject<TextEnumerator>(texts_);
        clone->next_ = next_;
        *copy = clone.Detach();
        return S_OK;
    }

private:
    std::shared_ptr<const Texts> texts_;
    std::size_t next_ = 0;
};

// Arguments by position: the whole list and Unnamed.
class PositionalArguments final : public com::TableDispatch<PositionalArguments> {
public:
    PositionalArguments(Texts texts, com::ComPtr<IDispatch> named, com::ComPtr<IDispatch> unnamed)
        : texts_(std::make_shared<const Texts>(std::move(texts))), named_(std::move(named)),
          unnamed_(std::move(unnamed)) {}

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
        const LONG at = args.Long(0);
        if (at < 0 || static_cast<std::size_t>(at) >= texts_->size())
            throw com::DispatchException(u"L'indice n'appartient pas à la sélection", kSubscript);
        Text(result, (*texts_)[static_cast<std::size_t>(at)]);
    }
    void Count(const com::DispatchArgs& args, VARIANT& result) {
        args.ExpectCount(0, 0);
        Length(result);
    }
    void Length(VARIANT& result) { result = com::Variant(static_cast<LONG>(texts_->size())).Detach(); }
    void Named(const com::DispatchArgs& args, VARIANT& result) { ObjectOrItem(named_.Get(), args, result); }
    void Unnamed(const com::DispatchArgs& args, VARIANT& result) {
        ObjectOrItem(unnamed_.Get(), args, result);
    }
    void NewEnum(const com::DispatchArgs&, VARIANT& result) {
        auto enumerator = com::MakeObject<TextEnumerator>(texts_);
        result = com::Variant(static_cast<IDispatch*>(enumerator.Get())).Detach();
    }

    std::shared_ptr<const Texts> texts_;
    com::ComPtr<IDispatch> named_;
    com::ComPtr<IDispatch> unnamed_;
};

class NamedArguments final : public com::TableDispatch<NamedArguments> {
public:
    explicit NamedArguments(std::vector<NamedArgument> named) : named_(std::move(named)) {
        auto names = std::make_shared<Texts>();
        for (const NamedArgument& argument : named_)
            names->push_back(argument.name);
        names_ = std::move(names);
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
            Text(result, argument->value);
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
    void NewEnum(const com::DispatchArgs&, VARIANT& result) {
        auto enumerator = com::MakeObject<TextEnumerator>(names_);
        result = com::Variant(static_cast<IDispatch*>(enumerator.Get())).Detach();
    }

    std::vector<NamedArgument> named_;
    std::shared_ptr<const Texts> names_;
};

} // namespace

void ObjectOrItem(IDispatch* object, const com::DispatchArgs& args, VARIANT& result) {
    if (args.Count() == 0 || object == nullptr) {
        result = com::Variant(object).Detach();
        return;
    }
    std::vector<VARIANT> reversed;
    for (UINT i = args.Count(); i-- > 0;)
        reversed.push_back(args.Raw(i));
    DISPPARAMS params{reversed.data(), nullptr, args.Count(), 0};
    EXCEPINFO info{};
    const HRESULT hr =
        object->Invoke(DISPID_VALUE, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                       &params, &result, &info, nullptr);
    const std::u16string description(com::BstrView(info.bstrDescription));
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrHelpFile);
    if (hr == DISP_E_EXCEPTION)
        throw com::DispatchException(description, info.scode);
    if (FAILED(hr))
        throw com::DispatchError{hr};
}

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
