#include "object_table.h"

namespace zorv::registry {

ObjectTable& ObjectTable::Instance() {
    static ObjectTable table;
    return table;
}

void ObjectTable::Publish(const std::u16string& name, com::ComPtr<IDispatch> object) {
    objects_[name] = std::move(object);
}

com::ComPtr<IDispatch> ObjectTable::Find(const std::u16string& name) const {
    const auto found = objects_.find(name);
    return found == objects_.end() ? com::ComPtr<IDispatch>() : found->second;
}

void ObjectTable::RemoveHolder() {
    if (--holders_ > 0)
        return;
    // Moved out first: releasing an object may call back into a registry.
    auto released = std::move(objects_);
    objects_.clear();
}

} // namespace zorv::registry
