// The component library's entry point: the class table asks it for the
// script control's and the regular expression's class factories.
#include "platform/com/inproc_server.h"
#include "regexp.h"
#include "script_control.h"

namespace {

const zorv::com::ServedClass kClasses[] = {
    {zorv::vbs::kClsidScriptControl,
     [](REFIID riid, void** ppv) { return zorv::com::CreateObjectOf<zorv::vbs::ScriptControl>(riid, ppv); },
     u"ScriptControl"},
    {zorv::vbs::kClsidRegExp, &zorv::vbs::CreateRegExp, u"VBScript.RegExp"},
};

} // namespace

ZORV_COMPONENT_ENTRY_POINTS(kClasses)
