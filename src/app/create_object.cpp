#include "app/create_object.h"

#include <string>

#include "outside/ole_error.h"
#include "platform/com/class_table.h"

namespace zorv::app {

com::ComPtr<IDispatch> CreateObject(std::u16string_view progId) {
    CLSID clsid;
    outside::CheckResult(com::FindClass(progId, &clsid));
    com::ComPtr<IDispatch> object;
    outside::CheckResult(com::CreateInstance(clsid, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                             object.ReleaseAndGetVoidAddress()));
    return object;
}

} // namespace zorv::app
