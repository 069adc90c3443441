#pragma once
// What the collections of this library answer: a snapshot of their values
// as an array (Keys, Items) or as an enumerator (For Each).
#include <memory>
#include <vector>

#include "platform/com/com_ptr.h"
#include "platform/com/variant_value.h"

namespace zorv::scripting {

using Values = std::vector<com::Variant>;

// A one-dimensional array of variants from 0, in `result`.
void ArrayResult(const Values& values, VARIANT& result);
// An enumerator over the values, as an object in `result` (what _NewEnum answers).
void EnumeratorResult(std::shared_ptr<const Values> values, VARIANT& result);

} // namespace zorv::scripting
