#pragma once
// VBScript's RegExp object and the Matches, Match and SubMatches
// collections it answers, as dispatch objects built from member tables.
#include <string_view>

#include "platform/com/dispatch.h"
#include "value.h"

namespace zorv::vbs {

inline constexpr CLSID kClsidRegExp = {0x7A3C5E22, 0x4B6D, 0x4F8A, {0x9C, 0x2E, 0x5D, 0x1B, 0x0A, 0x9E, 0x3F, 0x47}};

// A new RegExp instance (New RegExp).
Value NewRegExp();
// The same object for the class table ("VBScript.RegExp").
HRESULT CreateRegExp(REFIID riid, void** ppv);
// The TypeName of one of the objects above, or an empty text.
std::u16string_view RegExpTypeName(IDispatch* object);

} // namespace zorv::vbs
