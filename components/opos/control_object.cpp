#include "control_object.h"

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
    if (!IsEqualIID(riid, IID_NULL))
        return DISP_E_UNKNOWNINTERFACE;
    if (rgszNames == nullptr || rgDispId == nullptr || cNames == 0)
        return E_INVALIDARG;
    for (UINT i = 0; i < cNames; ++i)
        rgDispId[i] = DISPID_UNKNOWN;
    const Member* member = rgszNames[0] ? members_.Find(std::u16string_view(rgszNames[0])) : nullptr;
    if (member == nullptr)
        return DISP_E_UNKNOWNNAME;
    rgDispId[0] = member->id;
    return cNames == 1 ? S_OK : DISP_E_UNKNOWNNAME;
}

HRESULT ControlObject::Invoke(DISPID dispIdMember, REFIID riid, LCID, WORD wFlags, DISPPARAMS* pDispParams,
                              VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr) {
    if (!IsEqualIID(riid, IID_NULL))
        return DISP_E_UNKNOWNINTERFACE;
    if (pDispParams == nullptr || (pDispParams->cArgs > 0 && pDispParams->rgvarg == nullptr))
        return E_INVALIDARG;
    const Member* member = members_.Find(dispIdMember);
    if (member == nullptr)
        return DISP_E_MEMBERNOTFOUND;
    com::Variant scratch;
    VARIANT& result = pVarResult ? *pVarResult : static_cast<VARIANT&>(scratch);
    if (pVarResult)
        VariantInit(pVarResult);
    return com::GuardedInvoke(kind_.progId, pExcepInfo, puArgErr,
                              [&] { InvokeMember(*member, wFlags, *pDispParams, result); });
}

// Properties answer get and put; methods answer a call or a get, as
// Automation callers use both for a method without arguments.
void ControlObject::InvokeMember(const Member& member, WORD flags, const DISPPARAMS& params,
                                 VARIANT& result) {
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        if (member.property == nullptr || member.property->access == Access::ReadOnly)
            throw com::DispatchError{DISP_E_MEMBERNOTFOUND};
        if (params.cNamedArgs != 1 || params.rgdispidNamedArgs == nullptr ||
            params.rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)
            throw com::DispatchError{DISP_E_PARAMNOTOPTIONAL};
        if (params.cArgs != 1)
            throw com::DispatchError{DISP_E_BADPARAMCOUNT};
        device_.Put(*member.property, ConvertValue(params.rgvarg[0], member.property->initial.type));
        return;
    }
    if (params.cNamedArgs != 0)
        throw com::DispatchError{DISP_E_NONAMEDARGS};
    if (!(flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET)))
        throw com::DispatchError{DISP_E_MEMBERNOTFOUND};
    if (member.property != nullptr) {
        if (params.cArgs != 0)
            throw com::DispatchError{DISP_E_BADPARAMCOUNT};
        StoreValue(device_.Get(member.property->prop), result);
        return;
    }
    const LONG code = member.method(device_, com::DispatchArgs(params));
    result.vt = VT_I4;
    result.lVal = code;
}

HRESULT ControlObject::EnumConnectionPoints(IEnumConnectionPoints** ppEnum) {
    return points_.EnumConnectionPoints(ppEnum);
}

HRESULT ControlObject::FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) {
    return points_.FindConnectionPoint(riid, ppCP);
}

void ControlObject::Post(std::function<void()> call) {
    com::ComPtr<IDispatch> keepAlive(static_cast<IDispatch*>(this));
    com::PostCall([keepAlive, call = std::move(call)] { call(); });
}

void ControlObject::Fire(DISPID id, VARIANT* args, UINT count) {
    events_.FireDispatch(id, args, count);
}

} // namespace zorv::opos
