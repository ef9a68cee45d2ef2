#pragma once

// The identities (device and inode) of the directories one walk has read, so that none is entered
// twice. Asked once for every directory of a walk, so it is an open-addressing table: one probe
// in the common case, no allocation per directory.

#include <cstddef>
#include <sys/types.h>
#include <vector>

namespace orlenta {

class TFileIdSet {
public:
    TFileIdSet();
    // Empties the set and lets go of the room a large walk took.
    void Clear();
    // Adds the identity; false when it was there already.
    bool Insert(dev_t device, ino_t inode);

private:
    struct TSlot {
        dev_t Device;
        ino_t Inode;
    };

    std::size_t SlotOf(dev_t device, ino_t inode) const;
    void Grow();

    std::vector<TSlot> FSlots; // a power of two in size, at most half of them used
    std::size_t FCount = 0;
};

} // namespace orlenta
