#include "member_table.h"

#include <array>
#include <memory>

#include "platform/com/text.h"

namespace zorv::opos {
namespace {

std::u16string Folded(std::u16string_view name) {
    std::u16string folded(name);
    for (char16_t& c : folded)
        c = com::FoldCase(c);
    return folded;
}

} // namespace

MemberTable::MemberTable(const KindInfo& kind) {
    for (std::span<const MethodRow> methods : {CommonMethods(), kind.rows.methods})
        for (const MethodRow& row : methods)
            Add({row.name, 0, nullptr, row.call});
    for (std::span<const PropertyRow> rows : {CommonProperties(), kind.rows.properties})
        for (const PropertyRow& row : rows)
            Add({PropName(row.prop), 0, &row, nullptr});
}

void MemberTable::Add(Member member) {
    member.id = static_cast<DISPID>(members_.size() + 1);
    byName_.emplace(Folded(member.name), members_.size());
    members_.push_back(member);
}

const MemberTable& MemberTable::Of(const KindInfo& kind) {
    static std::array<std::unique_ptr<MemberTable>, 7> tables;
    auto& table = tables[static_cast<std::size_t>(kind.kind)];
    if (!table)
        table = std::make_unique<MemberTable>(kind);
    return *table;
}

const Member* MemberTable::Find(std::u16string_view name) const {
    const auto found = byName_.find(Folded(name));
    return found == byName_.end() ? nullptr : &members_[found->second];
}

const Member* MemberTable::Find(DISPID id) const {
    if (id < 1 || static_cast<std::size_t>(id) > members_.size())
        return nullptr;
    return &members_[static_cast<std::size_t>(id) - 1];
}

} // namespace zorv::opos
