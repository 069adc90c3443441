#include "key_index.h"

#include <new>

namespace zorv::scripting {

void KeyIndex::Insert(std::uint32_t hash, std::size_t position) {
    if (position >= kGone)
        throw std::bad_alloc();
    if ((used_ + 1) * 2 > slots_.size())
        Grow();
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = hash & mask;
    while (slots_[i].position != kFree && slots_[i].position != kGone)
        i = (i + 1) & mask;
    if (slots_[i].position == kFree)
        ++used_;
    slots_[i] = {static_cast<std::uint32_t>(position), hash};
}

void KeyIndex::Erase(std::uint32_t hash, std::size_t position) {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hash & mask; slots_[i].position != kFree; i = (i + 1) & mask) {
        if (slots_[i].position == position && slots_[i].hash == hash) {
            slots_[i].position = kGone;
            return;
        }
    }
}

void KeyIndex::Clear() {
    slots_.clear();
    used_ = 0;
}

// Doubles the table (or rebuilds it at the same size when gone slots fill it)
// and places the live positions again; only the kept hash is needed.
void KeyIndex::Grow() {
    std::size_t live = 0;
    for (const Slot& slot : slots_)
        live += slot.position < kGone;
    std::size_t size = 16;
    while (size <= (live + 1) * 2)
        size *= 2;
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(size, Slot{});
    used_ = 0;
    const std::size_t mask = size - 1;
    for (const Slot& slot : old) {
        if (slot.position >= kGone)
            continue;
        std::size_t i = slot.hash & mask;
        while (slots_[i].position != kFree)
            i = (i + 1) & mask;
        slots_[i] = slot;
        ++used_;
    }
}

} // namespace zorv::scripting
