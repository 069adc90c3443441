#pragma once
// IDispatch built from a table of members: name, dispatch identifier and the
// getter, setter or method that serves it. Names are found without regard
// to case, as Automation finds them.
#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <new>
#include <optional>
#include <stdexcept>
#include <vector>

#include "com_object.h"
#include "dispatch_args.h"
#include "name_index.h"
#include "text.h"
#include "untyped_dispatch.h"

namespace zorv::com {

template <class T> struct DispatchMember {
    using Getter = void (T::*)(VARIANT& result);
    using Setter = void (T::*)(const VARIANT& value);
    using Method = void (T::*)(const DispatchArgs& args, VARIANT& result);

    std::u16string_view name;
    DISPID id;
    Getter get = nullptr;
    Setter put = nullptr;
    Method call = nullptr;
};

template <class T> class DispatchTable {
public:
    using Member = DispatchMember<T>;

    DispatchTable(std::initializer_list<Member> members) : DispatchTable(std::vector<Member>(members)) {}
    explicit DispatchTable(std::vector<Member> members)
        : members_(std::move(members)),
          byName_(members_.size(), [this](std::size_t i) { return members_[i].name; }) {
        IndexIds();
    }
    DispatchTable(const DispatchTable&) = delete;
    DispatchTable& operator=(const DispatchTable&) = delete;

    const Member* FindName(std::u16string_view name) const {
        const std::ptrdiff_t at = byName_.Find(name, [this](std::size_t i) { return members_[i].name; });
        return at < 0 ? nullptr : &members_[static_cast<std::size_t>(at)];
    }

    const Member* FindId(DISPID id) const {
        const std::int64_t offset = std::int64_t{id} - firstId_;
        if (offset < 0 || offset >= static_cast<std::int64_t>(byId_.size()) || byId_[offset] == 0)
            return nullptr;
        return &members_[byId_[offset] - 1];
    }

    const std::vector<Member>& Members() const { return members_; }

private:
    std::vector<Member> members_;
    // Identifiers are dense in every table (1..N, a few negative standard
    // ones aside), so a direct index over their span is small.
    void IndexIds() {
        if (members_.empty())
            return;
        const auto [low, high] = std::minmax_element(
            members_.begin(), members_.end(), [](const Member& a, const Member& b) { return a.id < b.id; });
        firstId_ = low->id;
        if (std::int64_t{high->id} - firstId_ > 65536)
            throw std::length_error("dispatch identifiers too far apart for a direct index");
        byId_.assign(static_cast<std::size_t>(std::int64_t{high->id} - firstId_ + 1), 0);
        for (std::size_t i = 0; i < members_.size(); ++i)
            byId_[members_[i].id - firstId_] = static_cast<std::uint32_t>(i + 1);
    }

    NameIndex byName_;
    std::vector<std::uint32_t> byId_; // by identifier - firstId_: member index + 1, or 0
    DISPID firstId_ = 0;
};

// Fills EXCEPINFO for a DISP_E_EXCEPTION answer.
void FillExcepInfo(EXCEPINFO* info, std::u16string_view source, std::u16string_view description, SCODE code);

// Runs `body`, turning what it raises into the answer Invoke gives.
template <class Body>
HRESULT GuardedInvoke(std::u16string_view source, EXCEPINFO* excepInfo, UINT* argErr, Body&& body) {
    try {
        body();
        return S_OK;
    } catch (const DispatchError& error) {
        if (argErr != nullptr && error.argument != static_cast<UINT>(-1))
            *argErr = error.argument;
        return error.code;
    } catch (const DispatchException& exception) {
        FillExcepInfo(excepInfo, source, exception.Description(), exception.Code());
        return DISP_E_EXCEPTION;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        FillExcepInfo(excepInfo, source, u"Erreur interne du composant", E_UNEXPECTED);
        return DISP_E_EXCEPTION;
    }
}

// The checks every GetIDsOfNames makes around `find`, which answers the
// identifier of a member name or nothing. Named arguments are not supported.
template <class Find>
HRESULT LookUpMemberId(REFIID riid, LPOLESTR* names, UINT count, DISPID* ids, Find&& find) {
    if (!IsEqualIID(riid, IID_NULL))
        return DISP_E_UNKNOWNINTERFACE;
    if (names == nullptr || ids == nullptr || count == 0)
        return E_INVALIDARG;
    for (UINT i = 0; i < count; ++i)
        ids[i] = DISPID_UNKNOWN;
    const std::optional<DISPID> id = names[0] ? find(OleView(names[0])) : std::nullopt;
    if (!id)
        return DISP_E_UNKNOWNNAME;
    ids[0] = *id;
    return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
}

// Invoke's frame around `body(result)`: the checks of its arguments, a
// result place when the caller gave none, and the answer for what it raises.
template <class Body>
HRESULT InvokeFrame(REFIID riid, DISPPARAMS* params, VARIANT* result, EXCEPINFO* excepInfo, UINT* argErr,
                    std::u16string_view source, Body&& body) {
    if (!IsEqualIID(riid, IID_NULL))
        return DISP_E_UNKNOWNINTERFACE;
    if (params == nullptr || (params->cArgs > 0 && params->rgvarg == nullptr))
        return E_INVALIDARG;
    VARIANT scratch;
    VariantInit(&scratch);
    VARIANT& place = result ? *result : scratch;
    if (result)
        VariantInit(result);
    const HRESULT hr = GuardedInvoke(source, excepInfo, argErr, [&] { body(place); });
    VariantClear(&scratch);
    return hr;
}

// What an Invoke asks of a member.
enum class MemberAccess { Put, Call, Get };

// Checks the call against what the member offers and answers which of them
// serves it; raises the precise DispatchError when none does. A method takes
// a call or a get (callers use both for one without arguments); a property
// is read without arguments and put with the one named argument.
MemberAccess ClassifyInvoke(WORD flags, const DISPPARAMS& params, bool canPut, bool canCall, bool canGet);

// Derived provides `static const DispatchTable<Derived>& DispatchMembers();`
// and may override DispatchSource() for the EXCEPINFO source.
template <class Derived, class... Interfaces> class TableDispatch : public UntypedDispatch<Interfaces...> {
public:
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID,
                                            DISPID* rgDispId) override {
        return LookUpMemberId(riid, rgszNames, cNames, rgDispId,
                              [](std::u16string_view name) -> std::optional<DISPID> {
                                  const auto* member = Derived::DispatchMembers().FindName(name);
                                  return member ? std::optional<DISPID>(member->id) : std::nullopt;
                              });
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID dispIdMember, REFIID riid, LCID, WORD wFlags,
                                     DISPPARAMS* pDispParams, VARIANT* pVarResult, EXCEPINFO* pExcepInfo,
                                     UINT* puArgErr) override {
        return InvokeFrame(riid, pDispParams, pVarResult, pExcepInfo, puArgErr, DispatchSource(),
                           [&](VARIANT& result) {
                               const auto* member = Derived::DispatchMembers().FindId(dispIdMember);
                               if (member == nullptr)
                                   throw DispatchError{DISP_E_MEMBERNOTFOUND};
                               Dispatch(*member, wFlags, *pDispParams, result);
                           });
    }

protected:
    virtual std::u16string_view DispatchSource() const { return u""; }

private:
    void Dispatch(const DispatchMember<Derived>& member, WORD flags, const DISPPARAMS& params,
                  VARIANT& result) {
        auto& self = static_cast<Derived&>(*this);
        switch (ClassifyInvoke(flags, params, member.put != nullptr, member.call != nullptr,
                               member.get != nullptr)) {
        case MemberAccess::Put:
            (self.*member.put)(params.rgvarg[0]);
            return;
        case MemberAccess::Call:
            (self.*member.call)(DispatchArgs(params), result);
            return;
        case MemberAccess::Get:
            (self.*member.get)(result);
            return;
        }
    }
};

} // namespace zorv::com
