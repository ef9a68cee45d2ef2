#include "core/search/NameTable.h"

#include <bit>
#include <functional>
#include <new>

namespace orlenta {

TNameTable::TNameTable(size_t expected) {
    FSlots.assign(std::bit_ceil(std::max<size_t>(16, expected * 2)), TSlot{0, kNone});
    FNames.reserve(expected);
}

std::uint32_t TNameTable::HashOf(std::string_view name) {
    return static_cast<std::uint32_t>(std::hash<std::string_view>()(name));
}

size_t TNameTable::SlotOf(std::string_view name, std::uint32_t hash) const {
    const size_t mask = FSlots.size() - 1;
    for (size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const TSlot& entry = FSlots[slot];
        if (entry.Number == kNone || (entry.Hash == hash && FNames[entry.Number] == name))
            return slot;
    }
}

std::uint32_t TNameTable::Add(std::string_view name) {
    const std::uint32_t hash = HashOf(name);
    size_t slot = SlotOf(name, hash);
    if (FSlots[slot].Number != kNone)
        return FSlots[slot].Number;
    if (FNames.size() >= kNone - 1)
        throw std::bad_alloc();
    if ((FNames.size() + 1) * 2 > FSlots.size()) {
        Grow();
        slot = SlotOf(name, hash);
    }
    const auto number = static_cast<std::uint32_t>(FNames.size());
    FNames.push_back(name);
    FSlots[slot] = {hash, number};
    return number;
}

std::uint32_t TNameTable::Find(std::string_view name) const {
    return FSlots[SlotOf(name, HashOf(name))].Number;
}

void TNameTable::Grow() {
    std::vector<TSlot> old(FSlots.size() * 2, TSlot{0, kNone});
    old.swap(FSlots);
    const size_t mask = FSlots.size() - 1;
    for (const TSlot& entry : old) {
        if (entry.Number == kNone)
            continue;
        size_t slot = entry.Hash & mask;
        while (FSlots[slot].Number != kNone)
            slot = (slot + 1) & mask;
        FSlots[slot] = entry;
    }
}

} // namespace orlenta
