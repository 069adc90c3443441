#pragma once
// A member's dispatch identifier from its name, as late binding asks for it.
#include <string_view>

#include "dispatch.h"

namespace zorv::com {

// E_POINTER without an object; otherwise what the object's GetIDsOfNames answers.
HRESULT MemberIdOf(IDispatch* object, std::u16string_view name, DISPID* id);

} // namespace zorv::com
