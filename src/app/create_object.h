#pragma once
// Creates an outside component from its ProgID, as the window does for the
// registry and the script engine; a failure raises EOleError.
#include <string_view>

#include "platform/com/com_ptr.h"
#include "platform/com/dispatch.h"

namespace zorv::app {

com::ComPtr<IDispatch> CreateObject(std::u16string_view progId);

} // namespace zorv::app
