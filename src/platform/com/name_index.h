#pragma once
// Finding a member by name without regard to case, as Automation does,
// without making a folded copy of the name: an open-addressing table of
// positions, at most half full, over names the owner keeps.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "text.h"

namespace zorv::com {

// Hash of a name folded to lower case, from its length and a few of its
// characters: member names differ in their first letters, their middle or
// their ends ("CapRecNearEndSensor", "CapSlpNearEndSensor"), and the
// comparison that follows settles the rest. No folded copy is made.
inline std::uint32_t FoldedHash(std::u16string_view name) {
    const std::size_t n = name.size();
    std::uint32_t hash = 2166136261u ^ static_cast<std::uint32_t>(n);
    auto mix = [&](std::size_t i) { hash = (hash ^ FoldCase(name[i])) * 16777619u; };
    if (n <= 8) {
        for (std::size_t i = 0; i < n; ++i)
            mix(i);
        return hash;
    }
    for (std::size_t i :
         {std::size_t{0}, std::size_t{3}, std::size_t{4}, std::size_t{5}, n / 2, n - 3, n - 2, n - 1})
        mix(i);
    return hash;
}

inline bool SameNameIgnoringCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size())
        return false;
    if (a == b) // callers mostly spell names as declared
        return true;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i] && FoldCase(a[i]) != FoldCase(b[i]))
            return false;
    return true;
}

class NameIndex {
public:
    // Indexes the names nameAt(0) .. nameAt(count - 1).
    template <class NameAt> NameIndex(std::size_t count, NameAt&& nameAt) {
        std::size_t buckets = 8;
        while (buckets < count * 2)
            buckets *= 2;
        slots_.assign(buckets, 0);
        for (std::size_t i = 0; i < count; ++i) {
            std::size_t slot = FoldedHash(nameAt(i)) & (buckets - 1);
            while (slots_[slot] != 0)
                slot = (slot + 1) & (buckets - 1);
            slots_[slot] = static_cast<std::uint32_t>(i + 1);
        }
    }

    // The position of `name`, or -1; nameAt gives the indexed names back.
    template <class NameAt> std::ptrdiff_t Find(std::u16string_view name, NameAt&& nameAt) const {
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t slot = FoldedHash(name) & mask; slots_[slot] != 0; slot = (slot + 1) & mask) {
            const std::size_t position = slots_[slot] - 1;
            if (SameNameIgnoringCase(nameAt(position), name))
                return static_cast<std::ptrdiff_t>(position);
        }
        return -1;
    }

private:
    std::vector<std::uint32_t> slots_; // position + 1; 0 is a free slot
};

} // namespace zorv::com
