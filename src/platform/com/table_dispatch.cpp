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

} // namespace zorv::com
