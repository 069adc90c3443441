#pragma once
// A kind's late-bound members: the common methods, the kind's methods, then
// every property, numbered 1..N in that order and found by name without
// regard to case.
#include <vector>

#include "kinds/kind_table.h"
#include "platform/com/name_index.h"

namespace zorv::opos {

struct Member {
    std::u16string_view name;
    DISPID id;
    const PropertyRow* property = nullptr;
    MethodFunction method = nullptr;
};

class MemberTable {
public:
    explicit MemberTable(const KindInfo& kind);
    MemberTable(const MemberTable&) = delete;
    MemberTable& operator=(const MemberTable&) = delete;

    static const MemberTable& Of(const KindInfo& kind);

    const Member* Find(std::u16string_view name) const;
    const Member* Find(DISPID id) const;
    std::size_t Size() const { return members_.size(); }

private:
    static std::vector<Member> Collect(const KindInfo& kind);

    std::vector<Member> members_;
    com::NameIndex byName_;
};

} // namespace zorv::opos
