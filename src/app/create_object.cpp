#include "app/create_object.h"

#include <string>

#include "outside/ole_error.h"
#include "platform/com/class_table.h"

namespace zorv::app {

com::ComPtr<IDispatch> CreateObject(std::u16string_view progId) {
    CLSID clsid;
    outside::CheckResult(CLSIDFromProgID(std::u16string(progId).c_str(), &clsid));
    com::ComPtr<IDispatch> object;
    outside::CheckResult(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                          IID_IDispatch, object.ReleaseAndGetVoidAddress()));
    return object;
}

} // namespace zorv::app
