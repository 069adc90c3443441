#include "table_dispatch.h"

namespace zorv::com {

void FillExcepInfo(EXCEPINFO* info, std::u16string_view source, std::u16string_view description, SCODE code) {
    if (info == nullptr)
        return;
    *info = EXCEPINFO{};
    info->bstrSource = Bstr(source).Detach();
    info->bstrDescription = Bstr(description).Detach();
    info->scode = code;
}

MemberAccess ClassifyInvoke(WORD flags, const DISPPARAMS& params, bool canPut, bool canCall, bool canGet) {
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        if (!canPut)
            throw DispatchError{DISP_E_MEMBERNOTFOUND};
        if (params.cNamedArgs != 1 || params.rgdispidNamedArgs == nullptr ||
            params.rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)
            throw DispatchError{DISP_E_PARAMNOTOPTIONAL};
        if (params.cArgs != 1)
            throw DispatchError{DISP_E_BADPARAMCOUNT};
        return MemberAccess::Put;
    }
    if (params.cNamedArgs != 0)
        throw DispatchError{DISP_E_NONAMEDARGS};
    if ((flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET)) == 0)
        throw DispatchError{DISP_E_MEMBERNOTFOUND};
    if (canCall)
        return MemberAccess::Call;
    if (!canGet)
        throw DispatchError{DISP_E_MEMBERNOTFOUND};
    if (params.cArgs != 0)
        throw DispatchError{DISP_E_BADPARAMCOUNT};
    return MemberAccess::Get;
}

} // namespace zorv::com
