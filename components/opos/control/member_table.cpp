#include "control/member_table.h"

#include <array>
#include <memory>

namespace zorv::opos {

std::vector<Member> MemberTable::Collect(const KindInfo& kind) {
    std::vector<Member> members;
    for (std::span<const MethodRow> methods : {CommonMethods(), kind.rows.methods})
        for (const MethodRow& row : methods)
            members.push_back({row.name, 0, nullptr, row.call});
    for (std::span<const PropertyRow> rows : {CommonProperties(), kind.rows.properties})
        for (const PropertyRow& row : rows)
            members.push_back({PropName(row.prop), 0, &row, nullptr});
    for (std::size_t i = 0; i < members.size(); ++i)
        members[i].id = static_cast<DISPID>(i + 1);
    return members;
}

MemberTable::MemberTable(const KindInfo& kind)
    : members_(Collect(kind)), byName_(members_.size(), [this](std::size_t i) { return members_[i].name; }) {}

const MemberTable& MemberTable::Of(const KindInfo& kind) {
    static std::array<std::unique_ptr<MemberTable>, 7> tables;
    auto& table = tables[static_cast<std::size_t>(kind.kind)];
    if (!table)
        table = std::make_unique<MemberTable>(kind);
    return *table;
}

const Member* MemberTable::Find(std::u16string_view name) const {
    const std::ptrdiff_t at = byName_.Find(name, [this](std::size_t i) { return members_[i].name; });
    return at < 0 ? nullptr : &members_[static_cast<std::size_t>(at)];
}

const Member* MemberTable::Find(DISPID id) const {
    if (id < 1 || static_cast<std::size_t>(id) > members_.size())
        return nullptr;
    return &members_[static_cast<std::size_t>(id) - 1];
}

} // namespace zorv::opos
