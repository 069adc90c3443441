#pragma once
// IDispatch built from a table of members: name, dispatch identifier and the
// getter, setter or method that serves it. Names are found without regard
// to case, as Automation finds them.
#include <algorithm>
#include <initializer_list>
#include <cstdint>
#include <stdexcept>
#include <new>
#include <vector>

#include "com_object.h"
#include "dispatch_args.h"
#include "text.h"

namespace zorv::com {

template <class T>
struct DispatchMember {
    using Getter = void (T::*)(VARIANT& result);
    using Setter = void (T::*)(const VARIANT& value);
    using Method = void (T::*)(const DispatchArgs& args, VARIANT& result);

    std::u16string_view name;
    DISPID id;
    Getter get = nullptr;
    Setter put = nullptr;
    Method call = nullptr;
};

// Hash of a name folded to lower case, from its length and a few of its
// characters: member names differ in their first letters, their middle or
// their ends ("CapRecNearEndSensor", "CapSlpNearEndSensor"), and the
// comparison that follows settles the rest. No folded copy is made.
inline std::uint32_t FoldedHash(std::u16string_view name) {
    const std::size_t n = name.size();
    std::uint32_t hash = 2166136261u ^ static_cast<std::uint32_t>(n);
    auto mix = [&](std::size_t i) { hash = (hash ^ FoldCase(name[i])) * 16777619u; };
    if (n <= 8) {
        for (std::size_t i = 0; i < n; ++i)
            mix(i);
        return hash;
    }
    for (std::size_t i : {std::size_t{0}, std::size_t{3}, std::size_t{4}, std::size_t{5}, n / 2, n - 3, n - 2, n - 1})
        mix(i);
    return hash;
}

inline bool SameNameIgnoringCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size())
        return false;
    if (a == b) // callers mostly spell names as declared
        return true;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i] && FoldCase(a[i]) != FoldCase(b[i]))
            return false;
    return true;
}

template <class T>
class DispatchTable {
public:
    using Member = DispatchMember<T>;

    DispatchTable(std::initializer_list<Member> members) : DispatchTable(std::vector<Member>(members)) {}
    explicit DispatchTable(std::vector<Member> members) : members_(std::move(members)) {
        std::size_t buckets = 8;
        while (buckets < members_.size() * 2)
            buckets *= 2;
        byName_.assign(buckets, 0);
        for (std::size_t i = 0; i < members_.size(); ++i) {
            std::size_t slot = FoldedHash(members_[i].name) & (buckets - 1);
            while (byName_[slot] != 0)
                slot = (slot + 1) & (buckets - 1);
            byName_[slot] = static_cast<std::uint32_t>(i + 1);
        }
        IndexIds();
    }
    DispatchTable(const DispatchTable&) = delete;
    DispatchTable& operator=(const DispatchTable&) = delete;

    // Open addressing over a table at most half full.
    const Member* FindName(std::u16string_view name) const {
        const std::size_t mask = byName_.size() - 1;
        for (std::size_t slot = FoldedHash(name) & mask; byName_[slot] != 0; slot = (slot + 1) & mask) {
            const Member& member = members_[byName_[slot] - 1];
            if (SameNameIgnoringCase(member.name, name))
                return &member;
        }
        return nullptr;
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

    std::vector<std::uint32_t> byName_; // member index + 1; 0 is a free slot
    std::vector<std::uint32_t> byId_;   // by identifier - firstId_: member index + 1, or 0
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

// Derived provides `static const DispatchTable<Derived>& DispatchMembers();`
// and may override DispatchSource() for the EXCEPINFO source.
template <class Derived, class... Interfaces>
class TableDispatch : public ComObject<IDispatch, Interfaces...> {
public:
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pctinfo) override {
        if (pctinfo == nullptr)
            return E_INVALIDARG;
        *pctinfo = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) override {
        if (ppTInfo != nullptr)
            *ppTInfo = nullptr;
        return DISP_E_BADINDEX;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID,
                                            DISPID* rgDispId) override {
        if (!IsEqualIID(riid, IID_NULL))
            return DISP_E_UNKNOWNINTERFACE;
        if (rgszNames == nullptr || rgDispId == nullptr || cNames == 0)
            return E_INVALIDARG;
        for (UINT i = 0; i < cNames; ++i)
            rgDispId[i] = DISPID_UNKNOWN;
        const auto* member = rgszNames[0] ? Derived::DispatchMembers().FindName(rgszNames[0]) : nullptr;
        if (member == nullptr)
            return DISP_E_UNKNOWNNAME;
        rgDispId[0] = member->id;
        // Named arguments are not supported by table members.
        return cNames == 1 ? S_OK : DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID dispIdMember, REFIID riid, LCID, WORD wFlags, DISPPARAMS* pDispParams,
                                     VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr) override {
        if (!IsEqualIID(riid, IID_NULL))
            return DISP_E_UNKNOWNINTERFACE;
        if (pDispParams == nullptr || (pDispParams->cArgs > 0 && pDispParams->rgvarg == nullptr))
            return E_INVALIDARG;
        const auto* member = Derived::DispatchMembers().FindId(dispIdMember);
        if (member == nullptr)
            return DISP_E_MEMBERNOTFOUND;
        VARIANT scratch;
        VariantInit(&scratch);
        VARIANT& result = pVarResult ? *pVarResult : scratch;
        if (pVarResult)
            VariantInit(pVarResult);
        const HRESULT hr = GuardedInvoke(DispatchSource(), pExcepInfo, puArgErr, [&] {
            Dispatch(*member, wFlags, *pDispParams, result);
        });
        VariantClear(&scratch);
        return hr;
    }

protected:
    virtual std::u16string_view DispatchSource() const { return u""; }

private:
    void Dispatch(const DispatchMember<Derived>& member, WORD flags, const DISPPARAMS& params, VARIANT& result) {
        auto& self = static_cast<Derived&>(*this);
        const DispatchArgs args(params);
        if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
            if (member.put == nullptr)
                throw DispatchError{DISP_E_MEMBERNOTFOUND};
            if (params.cNamedArgs != 1 || params.rgdispidNamedArgs == nullptr ||
                params.rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)
                throw DispatchError{DISP_E_PARAMNOTOPTIONAL};
            if (params.cArgs != 1)
                throw DispatchError{DISP_E_BADPARAMCOUNT};
            (self.*member.put)(params.rgvarg[0]);
            return;
        }
        if (params.cNamedArgs != 0)
            throw DispatchError{DISP_E_NONAMEDARGS};
        if (member.call != nullptr && (flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET))) {
            (self.*member.call)(args, result);
            return;
        }
        if (member.get != nullptr && (flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET))) {
            if (params.cArgs != 0)
                throw DispatchError{DISP_E_BADPARAMCOUNT};
            (self.*member.get)(result);
            return;
        }
        throw DispatchError{DISP_E_MEMBERNOTFOUND};
    }
};

} // namespace zorv::com
