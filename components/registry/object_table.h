#pragma once
// The one table of published objects in the process, shared by every
// registry object. Entries live while at least one registry object does:
// when the last one goes, the table lets its objects go too, so nothing the
// registry holds outlives every holder of a registry.
#include <map>
#include <string>

#include "platform/com/com_ptr.h"
#include "platform/com/dispatch.h"

namespace zorv::registry {

class ObjectTable {
public:
    static ObjectTable& Instance();

    void Publish(const std::u16string& name, com::ComPtr<IDispatch> object);
    // Null when nothing is published under exactly that name.
    com::ComPtr<IDispatch> Find(const std::u16string& name) const;

    void AddHolder() { ++holders_; }
    void RemoveHolder();

private:
    std::map<std::u16string, com::ComPtr<IDispatch>> objects_;
    int holders_ = 0;
};

} // namespace zorv::registry
