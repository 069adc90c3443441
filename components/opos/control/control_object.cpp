#include "control/control_object.h"

#include "control/class_info.h"
#include "platform/com/apartment.h"
#include "platform/com/table_dispatch.h"

namespace zorv::opos {

ControlObject::ControlObject(const KindInfo& kind)
    : kind_(kind), members_(MemberTable::Of(kind)), points_(*this), events_(points_.Add(kind.eventIid)),
      device_(kind, *this), extent_{847, 847} {}

HRESULT ControlObject::GetTypeInfoCount(UINT* pctinfo) {
    if (pctinfo == nullptr)
        return E_INVALIDARG;
    *pctinfo = 0;
    return S_OK;
}

HRESULT ControlObject::GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) {
    if (ppTInfo != nullptr)
        *ppTInfo = nullptr;
    return DISP_E_BADINDEX;
}

HRESULT ControlObject::GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID, DISPID* rgDispId) {
    return com::LookUpMemberId(riid, rgszNames, cNames, rgDispId, [this](std::u16string_view name) {
        const Member* member = members_.Find(name);
        return member ? std::optional<DISPID>(member->id) : std::nullopt;
    });
}

HRESULT ControlObject::Invoke(DISPID dispIdMember, REFIID riid, LCID, WORD wFlags, DISPPARAMS* pDispParams,
                              VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr) {
    return com::InvokeFrame(riid, pDispParams, pVarResult, pExcepInfo, puArgErr, kind_.progId,
                            [&](VARIANT& result) {
                                const Member* member = members_.Find(dispIdMember);
                                if (member == nullptr)
                                    throw com::DispatchError{DISP_E_MEMBERNOTFOUND};
                                InvokeMember(*member, wFlags, *pDispParams, result);
                            });
}

// Properties answer get and put (a read-only one no put); methods answer a
// call or a get.
void ControlObject::InvokeMember(const Member& member, WORD flags, const DISPPARAMS& params,
                                 VARIANT& result) {
    const bool writable = member.property != nullptr && member.property->access != Access::ReadOnly;
    switch (
        com::ClassifyInvoke(flags, params, writable, member.method != nullptr, member.property != nullptr)) {
    case com::MemberAccess::Put:
        device_.Put(*member.property, ConvertValue(params.rgvarg[0], member.property->initial.type));
        return;
    case com::MemberAccess::Get:
        StoreValue(device_.Get(member.property->prop), result);
        return;
    case com::MemberAccess::Call:
        result.vt = VT_I4;
        result.lVal = member.method(device_, com::DispatchArgs(params));
        return;
    }
}

HRESULT ControlObject::EnumConnectionPoints(IEnumConnectionPoints** ppEnum) {
    return points_.EnumConnectionPoints(ppEnum);
}

HRESULT ControlObject::FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) {
    return points_.FindConnectionPoint(riid, ppCP);
}

HRESULT ControlObject::GetClassInfo(ITypeInfo** ppTI) {
    if (ppTI == nullptr)
        return E_POINTER;
    *ppTI = ClassInfoOf(kind_).Detach();
    return S_OK;
}

void ControlObject::Post(std::function<void()> call) {
    com::ComPtr<IDispatch> keepAlive(static_cast<IDispatch*>(this));
    com::PostCall([keepAlive, call = std::move(call)] { call(); });
}

void ControlObject::Fire(DISPID id, VARIANT* args, UINT count) {
    events_.FireDispatch(id, args, count);
}

} // namespace zorv::opos
