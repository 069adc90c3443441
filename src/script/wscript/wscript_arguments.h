#pragma once
// WScript.Arguments: every argument in order (Item, Count, Length, For
// Each), Named ("/name:value" or "/name", found by name without regard to
// case: Item, Exists, Count) and Unnamed (the others, in order).
#include <string>
#include <vector>

#include "platform/com/com_ptr.h"
#include "platform/com/dispatch.h"

namespace zorv::tools {

com::ComPtr<IDispatch> MakeArguments(const std::vector<std::u16string>& arguments);

} // namespace zorv::tools
