// The library's entry point: one class per device kind.
#include <array>

#include "control/control_object.h"
#include "platform/com/inproc_server.h"

namespace {

using namespace zorv::opos;

template <Kind kind> HRESULT Create(REFIID riid, void** ppv) {
    return zorv::com::CreateObjectOf<ControlObject>(riid, ppv, InfoOf(kind));
}

// Kind names are literals, so their ProgIDs are terminated.
template <Kind kind> zorv::com::ServedClass Served() {
    return {InfoOf(kind).clsid, Create<kind>, InfoOf(kind).progId.data()};
}

const std::array<zorv::com::ServedClass, 7>& ServedClasses() {
    static const std::array<zorv::com::ServedClass, 7> classes = {{
        Served<Kind::Scanner>(),
        Served<Kind::Printer>(),
        Served<Kind::LineDisplay>(),
        Served<Kind::Keylock>(),
        Served<Kind::MSR>(),
        Served<Kind::POSKeyboard>(),
        Served<Kind::CashDrawer>(),
    }};
    return classes;
}

} // namespace

ZORV_COMPONENT_ENTRY_POINTS(ServedClasses())
