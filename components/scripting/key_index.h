#pragma once
// The dictionary's index from key to entry position: open addressing with
// linear probing over the positions, the hash kept beside each, at most half
// full. A flat table keeps lookups to one or two cache misses, where a node
// per key cost several.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace zorv::scripting {

class KeyIndex {
public:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    // The indexed position with that hash for which `matches(position)`.
    template <class Matches> std::size_t Find(std::uint32_t hash, Matches&& matches) const {
        if (slots_.empty())
            return kNone;
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
            const Slot& slot = slots_[i];
            if (slot.position == kFree)
                return kNone;
            if (slot.position != kGone && slot.hash == hash && matches(slot.position))
                return slot.position;
        }
    }
    void Insert(std::uint32_t hash, std::size_t position);
    void Erase(std::uint32_t hash, std::size_t position);
    void Clear();

private:
    static constexpr std::uint32_t kFree = 0xFFFFFFFFu;
    static constexpr std::uint32_t kGone = 0xFFFFFFFEu;
    struct Slot {
        std::uint32_t position = kFree;
        std::uint32_t hash = 0;
    };
    void Grow();

    std::vector<Slot> slots_;
    std::size_t used_ = 0; // live and gone slots
};

} // namespace zorv::scripting
