#pragma once
// VBScript's RegExp object and the Matches, Match and SubMatches
// collections it answers, as dispatch objects built from member tables.
#include <string_view>

#include "platform/com/dispatch.h"
#include "value.h"

namespace zorv::vbs {

// A new RegExp instance (New RegExp).
Value NewRegExp();
// The TypeName of one of the objects above, or an empty text.
std::u16string_view RegExpTypeName(IDispatch* object);

} // namespace zorv::vbs
