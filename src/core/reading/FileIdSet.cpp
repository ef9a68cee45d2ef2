#include "core/reading/FileIdSet.h"

#include <cstdint>

namespace orlenta {

namespace {

constexpr std::size_t kInitialSlots = 1024;
// No device has every bit set: it marks a free slot.
constexpr dev_t kFree = ~dev_t(0);

// A 64-bit finaliser: inode numbers are often consecutive, and consecutive keys must not fill
// consecutive slots.
std::uint64_t Mixed(std::uint64_t value) {
    value ^= value >> 33;
    value *= 0xff51afd7ed558ccdull;
    value ^= value >> 33;
    value *= 0xc4ceb9fe1a85ec53ull;
    value ^= value >> 33;
    return value;
}

} // namespace

TFileIdSet::TFileIdSet() {
    Clear();
}

void TFileIdSet::Clear() {
    FSlots.assign(kInitialSlots, TSlot{kFree, 0});
    FSlots.shrink_to_fit();
    FCount = 0;
}

bool TFileIdSet::Insert(dev_t device, ino_t inode) {
    std::size_t slot = SlotOf(device, inode);
    const std::size_t mask = FSlots.size() - 1;
    for (;; slot = (slot + 1) & mask) {
        TSlot& at = FSlots[slot];
        if (at.Device == kFree)
            break;
        if (at.Device == device && at.Inode == inode)
            return false;
    }
    FSlots[slot] = {device, inode};
    if (++FCount * 2 > FSlots.size())
        Grow();
    return true;
}

std::size_t TFileIdSet::SlotOf(dev_t device, ino_t inode) const {
    const std::uint64_t key =
        static_cast<std::uint64_t>(inode) ^ Mixed(static_cast<std::uint64_t>(device));
    return static_cast<std::size_t>(Mixed(key)) & (FSlots.size() - 1);
}

void TFileIdSet::Grow() {
    std::vector<TSlot> old(FSlots.size() * 2, TSlot{kFree, 0});
    old.swap(FSlots);
    const std::size_t mask = FSlots.size() - 1;
    for (const TSlot& id : old) {
        if (id.Device == kFree)
            continue;
        std::size_t slot = SlotOf(id.Device, id.Inode);
        while (FSlots[slot].Device != kFree)
            slot = (slot + 1) & mask;
        FSlots[slot] = id;
    }
}

} // namespace orlenta
