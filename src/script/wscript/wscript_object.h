#pragma once
// The WScript object that command-line scripts take for granted: Echo,
// Arguments, Quit, Sleep, ScriptName, ScriptFullName, StdIn/StdOut/StdErr,
// CreateObject, GetObject, ConnectObject, DisconnectObject, Timeout,
// Version. The host says where output goes and what Quit and Timeout do;
// event binding goes through the script control it is added to.
#include <functional>
#include <string>
#include <vector>

#include "platform/com/table_dispatch.h"

namespace zorv::tools {

struct WScriptHost {
    std::u16string scriptFullName;
    std::u16string hostFullName;
    std::vector<std::u16string> arguments;
    // The control the object is added to; not held, the control holds this object.
    IDispatch* control = nullptr;
    std::function<void(std::u16string_view line)> echo;
    // Ends the process with the code; empty where the host cannot (the window).
    std::function<void(int code)> quit;
    // Seconds, 0 for none.
    std::function<void(long seconds)> setTimeout;
    // StdIn, StdOut and StdErr exist only in a console host.
    bool console = false;
};

com::ComPtr<IDispatch> MakeWScript(WScriptHost host);

// The text Echo prints for a value: as the French engine prints it.
std::u16string EchoText(const VARIANT& value);

} // namespace zorv::tools
