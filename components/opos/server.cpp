// The library's entry point: one class per device kind.
#include <array>

#include "control/control_object.h"
#include "platform/com/inproc_server.h"

namespace {

using namespace zorv::opos;

template <Kind kind> HRESULT Create(REFIID riid, void** ppv) {
    return zorv::com::CreateObjectOf<ControlObject>(riid, ppv, InfoOf(kind));
}

const std::array<zorv::com::ServedClass, 7>& ServedClasses() {
    static const std::array<zorv::com::ServedClass, 7> classes = {{
        {InfoOf(Kind::Scanner).clsid, Create<Kind::Scanner>},
        {InfoOf(Kind::Printer).clsid, Create<Kind::Printer>},
        {InfoOf(Kind::LineDisplay).clsid, Create<Kind::LineDisplay>},
        {InfoOf(Kind::Keylock).clsid, Create<Kind::Keylock>},
        {InfoOf(Kind::MSR).clsid, Create<Kind::MSR>},
        {InfoOf(Kind::POSKeyboard).clsid, Create<Kind::POSKeyboard>},
        {InfoOf(Kind::CashDrawer).clsid, Create<Kind::CashDrawer>},
    }};
    return classes;
}

} // namespace

ZORV_EXPORT HRESULT DllGetClassObject(REFCLSID rclsid, REFIID riid, void** ppv) {
    return zorv::com::ServeClassObject(ServedClasses(), rclsid, riid, ppv);
}
