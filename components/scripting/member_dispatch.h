#pragma once
// IDispatch over a table of members for objects whose properties take
// arguments (Item(key) = value, Key(key) = other): each member gets the whole
// call, put value apart, and decides what a get, a call or a put means.
#include <optional>

#include "platform/com/described_type.h"
#include "platform/com/name_index.h"
#include "platform/com/table_dispatch.h"
#include "platform/com/value_list.h"

namespace zorv::scripting {

struct Invocation {
    WORD flags;
    com::DispatchArgs args;       // the arguments, put value excluded
    const VARIANT* put = nullptr; // the value of a property put
    VARIANT& result;

    bool IsPut() const { return put != nullptr; }
};

// The answer of a property that holds an object. Read with arguments
// (Folder.SubFolders("name")), it passes them to that object's default member.
inline void ObjectResult(Invocation& call, IDispatch* object) {
    com::ObjectOrItem(object, call.args, call.result);
}

template <class T> struct Member {
    std::u16string_view name;
    DISPID id;
    void (T::*serve)(Invocation& call);
};

// Derived provides `static std::span<const Member<Derived>> Members();` and
// `std::u16string_view TypeName() const`.
template <class Derived, class... Interfaces>
class MemberDispatch : public com::ComObject<IDispatch, Interfaces...> {
public:
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count == nullptr)
            return E_INVALIDARG;
        *count = 1;
        return S_OK;
    }
    // Type information names the type, for TypeName.
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
        if (info == nullptr)
            return E_INVALIDARG;
        *info = nullptr;
        if (index != 0)
            return DISP_E_BADINDEX;
        const std::u16string_view name = static_cast<Derived*>(this)->TypeName();
        *info = com::MakeDispatchTypeInfo(std::u16string(name), IID_IDispatch, {}).Detach();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override {
        return com::LookUpMemberId(riid, names, count, ids,
                                   [](std::u16string_view name) -> std::optional<DISPID> {
                                       const auto* member = Find(name);
                                       return member ? std::optional<DISPID>(member->id) : std::nullopt;
                                   });
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* excepInfo, UINT* argErr) override {
        const std::u16string_view source = static_cast<Derived*>(this)->TypeName();
        return com::InvokeFrame(riid, params, result, excepInfo, argErr, source, [&](VARIANT& place) {
            const auto* member = FindId(id);
            if (member == nullptr)
                throw com::DispatchError{DISP_E_MEMBERNOTFOUND};
            Serve(*member, flags, *params, place);
        });
    }

private:
    // A few members each: a scan beats hashing the name.
    static const Member<Derived>* Find(std::u16string_view name) {
        for (const auto& member : Derived::Members())
            if (com::SameNameIgnoringCase(member.name, name))
                return &member;
        return nullptr;
    }
    static const Member<Derived>* FindId(DISPID id) {
        for (const auto& member : Derived::Members())
            if (member.id == id)
                return &member;
        return nullptr;
    }

    void Serve(const Member<Derived>& member, WORD flags, const DISPPARAMS& params, VARIANT& result) {
        const bool put = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
        if (put &&
            (params.cNamedArgs != 1 || params.rgdispidNamedArgs[0] != DISPID_PROPERTYPUT || params.cArgs < 1))
            throw com::DispatchError{DISP_E_PARAMNOTOPTIONAL};
        if (!put && params.cNamedArgs != 0)
            throw com::DispatchError{DISP_E_NONAMEDARGS};
        // The put value is the first in the reversed list; the rest follow it.
        DISPPARAMS rest{put ? params.rgvarg + 1 : params.rgvarg, nullptr,
                        put ? params.cArgs - 1 : params.cArgs, 0};
        Invocation call{flags, com::DispatchArgs(rest), put ? &params.rgvarg[0] : nullptr, result};
        (static_cast<Derived*>(this)->*member.serve)(call);
    }
};

} // namespace zorv::scripting
