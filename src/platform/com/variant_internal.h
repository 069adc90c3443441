#pragma once
// Helpers shared by the VARIANT and SAFEARRAY sources; not part of the API.
#include "hresult.h"
#include "variant.h"

namespace zorv::com::detail {

// Element types a SAFEARRAY can hold (and so the x of VT_ARRAY|x).
bool IsArrayElementType(VARTYPE vt);

// Whether a VARIANT may carry this tag: plain values, VT_ARRAY|x, and
// VT_BYREF of either. VT_DECIMAL and VT_RECORD are not supported here.
bool IsValidVariantType(VARTYPE vt);

// A shallow view of the value a by-reference variant points at; one level
// only, so a referenced VARIANT that is itself by reference is E_INVALIDARG.
HRESULT DereferenceView(const VARIANT& src, VARIANT* view);

// Copies what `src` holds into raw storage `dest` (not cleared first);
// BYREF is copied as the reference. On failure `dest` is left VT_EMPTY.
HRESULT CopyVariantInto(VARIANT* dest, const VARIANT& src);

} // namespace zorv::com::detail
