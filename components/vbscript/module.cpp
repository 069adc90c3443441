// The component library's entry point: the class table asks it for the
// script control's class factory.
#include "platform/com/inproc_server.h"
#include "script_control.h"

namespace {

const zorv::com::ServedClass kClasses[] = {
    {zorv::vbs::kClsidScriptControl,
     [](REFIID riid, void** ppv) { return zorv::com::CreateObjectOf<zorv::vbs::ScriptControl>(riid, ppv); }},
};

} // namespace

ZORV_EXPORT HRESULT DllGetClassObject(REFCLSID rclsid, REFIID riid, void** ppv) {
    return zorv::com::ServeClassObject(kClasses, rclsid, riid, ppv);
}
