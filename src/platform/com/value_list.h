#pragma once
// What a collection object hands out, whoever implements it (the scripting
// library, the script engine's RegExp, the runner's WScript): a snapshot of
// values read by position (Item), counted, copied out as an array (Keys,
// Items) or walked with For Each. Copies share the snapshot.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "dispatch_args.h"
#include "variant_value.h"

namespace zorv::com {

using Values = std::vector<Variant>;

class ValueList {
public:
    ValueList() : values_(std::make_shared<const Values>()) {}
    explicit ValueList(Values values) : values_(std::make_shared<const Values>(std::move(values))) {}

    std::size_t Count() const { return values_->size(); }
    // The value at `index` (from 0), or null past either end.
    const VARIANT* At(std::int64_t index) const {
        return index >= 0 && static_cast<std::size_t>(index) < values_->size() ? &(*values_)[index] : nullptr;
    }

    void CountResult(VARIANT& result) const;
    // A one-dimensional array of variants from 0.
    void ArrayResult(VARIANT& result) const;
    // An enumerator over the values, as the object _NewEnum answers. It is
    // also a memberless IDispatch: script engines take that answer as an object.
    void EnumeratorResult(VARIANT& result) const;

private:
    std::shared_ptr<const Values> values_;
};

// A property that holds an object, read with arguments (Arguments(0),
// Folder.SubFolders("name")): the arguments go to that object's default member.
void ObjectOrItem(IDispatch* object, const DispatchArgs& args, VARIANT& result);

} // namespace zorv::com
