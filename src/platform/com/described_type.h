#pragma once
// Type information built from a plain description, for objects that have no
// type library: a dispatch interface (a type name, and the events a source
// interface fires) and a class naming its default source interface. And the
// client side: what a script host reads back from an object.
#include <optional>
#include <string>
#include <vector>

#include "com_ptr.h"
#include "type_info.h"

namespace zorv::com {

struct DescribedFunction {
    DISPID id;
    std::u16string name;
    std::vector<std::u16string> parameters;
};

ComPtr<ITypeInfo> MakeDispatchTypeInfo(std::u16string name, const IID& iid,
                                       std::vector<DescribedFunction> functions);
// A class whose one implemented type is `events`, flagged default source.
ComPtr<ITypeInfo> MakeClassTypeInfo(std::u16string name, const CLSID& clsid, ComPtr<ITypeInfo> events);

struct EventInterface {
    IID iid;
    std::vector<DescribedFunction> events;
};

// The default source interface that an object describes through
// IProvideClassInfo; none when it does not.
std::optional<EventInterface> DescribeEvents(IUnknown* object);
// The name of the type an object describes through IDispatch::GetTypeInfo;
// empty when it does not.
std::u16string TypeNameOf(IDispatch* object);

} // namespace zorv::com
