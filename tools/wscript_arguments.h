#pragma once
// WScript.Arguments: every argument in order (Item, Count, Length, For
// Each), Named ("/name:value" or "/name", found by name without regard to
// case: Item, Exists, Count) and Unnamed (the others, in order).
#include <string>
#include <vector>

#include "platform/com/com_ptr.h"
#include "platform/com/dispatch.h"
#include "platform/com/dispatch_args.h"

namespace zorv::tools {

com::ComPtr<IDispatch> MakeArguments(const std::vector<std::u16string>& arguments);

// A property that holds an object, read with arguments (Arguments(0),
// Arguments.Named("x")): the arguments go to the object's default member.
void ObjectOrItem(IDispatch* object, const com::DispatchArgs& args, VARIANT& result);

} // namespace zorv::tools
