#include "core/xml/DocumentMemory.h"

#include "core/base/MemoryPages.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <mutex>
#include <pugixml.hpp>
#include <sys/mman.h>
#include <vector>

// AddressSanitizer watches the blocks of the heap; in regions mapped here it would see nothing.
#if defined(__SANITIZE_ADDRESS__)
#define ORLENTA_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ORLENTA_ADDRESS_SANITIZER 1
#endif
#endif

namespace orlenta {

namespace {

constexpr size_t kSmallPage = 4096;

// pugixml's pages hold 32 KiB of nodes after a header of a few pointers; a slot fits one with
// room for the header of any build. Smaller requests (half a page and less: long strings) go to
// the C heap, where they are few.
constexpr size_t kSlotBytes = 32 * 1024 + 256;
constexpr size_t kSmallestSlotRequest = kSlotBytes / 2;
// Regions are filled a quarter mebibyte at a time as their slots are first handed out: a small
// document holds little more than it uses.
constexpr size_t kRegionBytes = size_t{4} << 20;
constexpr size_t kSlotsPerRegion = kRegionBytes / kSlotBytes;
constexpr size_t kFillBytes = size_t{256} << 10;
// From here on a block is mapped on its own.
constexpr size_t kLargeBlockBytes = size_t{1} << 20;

// Anonymous memory; null when the kernel refuses the mapping.
void* MapMemory(size_t bytes) {
    void* memory = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    return memory == MAP_FAILED ? nullptr : memory;
}

size_t RoundUp(size_t bytes, size_t unit) {
    return (bytes + unit - 1) / unit * unit;
}

// A region of page slots: handed out in address order first, then reused from the list of
// those given back. Free slots hold the link to the next free one.
struct TRegion {
    char* Base = nullptr;
    size_t Used = 0;      // slots ever handed out, from the start
    size_t Live = 0;      // slots handed out and not given back
    void* Free = nullptr; // the first given-back slot
    size_t Filled = 0;    // bytes from the start with their pages put in

    bool Holds(const void* memory) const {
        const auto* byte = static_cast<const char*>(memory);
        return byte >= Base && byte < Base + kRegionBytes;
    }
    void* Take() {
        void* slot = Free;
        if (slot != nullptr)
            Free = *static_cast<void**>(slot);
        else if (Used < kSlotsPerRegion)
            slot = SlotAt(kSlotBytes * Used++);
        if (slot != nullptr)
            ++Live;
        return slot;
    }
    // The slot at offset, its pages put in first.
    void* SlotAt(size_t offset) {
        if (offset + kSlotBytes > Filled) {
            const size_t fill = std::min(kFillBytes, kRegionBytes - Filled);
            FillPages(Base + Filled, fill);
            Filled += fill;
        }
        return Base + offset;
    }
    void GiveBack(void* slot) {
        *static_cast<void**>(slot) = Free;
        Free = slot;
        --Live;
    }
};

class TDocumentMemory {
public:
    void* Allocate(size_t size) {
        if (size >= kLargeBlockBytes)
            return AllocateLarge(size);
        if (size < kSmallestSlotRequest || size > kSlotBytes)
            return std::malloc(size);
        const std::lock_guard<std::mutex> lock(FMutex);
        for (TRegion& region : FRegions) {
            if (void* slot = region.Take())
                return slot;
        }
        void* base = MapMemory(kRegionBytes);
        if (base == nullptr)
            return nullptr;
        try {
            FRegions.push_back(TRegion{static_cast<char*>(base)});
        } catch (...) {
            munmap(base, kRegionBytes);
            return nullptr;
        }
        return FRegions.back().Take();
    }

    void Free(void* memory) {
        if (memory == nullptr)
            return;
        {
            const std::lock_guard<std::mutex> lock(FMutex);
            for (auto region = FRegions.begin(); region != FRegions.end(); ++region) {
                if (!region->Holds(memory))
                    continue;
                region->GiveBack(memory);
                // A document given up gives its regions back to the system, as the heap would.
                if (region->Live == 0) {
                    munmap(region->Base, kRegionBytes);
                    FRegions.erase(region);
                }
                return;
            }
            const auto large = FLargeBlocks.find(memory);
            if (large != FLargeBlocks.end()) {
                munmap(memory, large->second);
                FLargeBlocks.erase(large);
                return;
            }
        }
        std::free(memory);
    }

    TDocumentMemoryUse Use() {
        const std::lock_guard<std::mutex> lock(FMutex);
        TDocumentMemoryUse use;
        use.Regions = FRegions.size();
        for (const TRegion& region : FRegions)
            use.Pages += region.Live;
        use.LargeBlocks = FLargeBlocks.size();
        return use;
    }

private:
    void* AllocateLarge(size_t size) {
        const size_t bytes = RoundUp(size, kSmallPage);
        void* memory = MapMemory(bytes);
        if (memory == nullptr)
            return nullptr;
        // A large block is text that is written from its start to its end at once.
        FillPages(memory, bytes);
        try {
            const std::lock_guard<std::mutex> lock(FMutex);
            FLargeBlocks.emplace(memory, bytes);
        } catch (...) {
            munmap(memory, bytes);
            return nullptr;
        }
        return memory;
    }

    std::mutex FMutex;
    std::vector<TRegion> FRegions;
    std::map<void*, size_t> FLargeBlocks;
};

// Never destroyed: documents held by static objects may be freed after it would be.
TDocumentMemory& Memory() {
    static auto* memory = new TDocumentMemory;
    return *memory;
}

} // namespace

void* AllocateDocumentMemory(size_t size) noexcept {
    // What may still throw here (the lock, the allocator's creation) does so before anything is
    // mapped.
    try {
        return Memory().Allocate(size);
    } catch (...) {
        return nullptr;
    }
}

void FreeDocumentMemory(void* memory) noexcept {
    Memory().Free(memory);
}

TDocumentMemoryUse DocumentMemoryUse() {
    return Memory().Use();
}

void UseDocumentMemory() {
#ifndef ORLENTA_ADDRESS_SANITIZER
    static std::once_flag once;
    std::call_once(once, [] {
        pugi::set_memory_management_functions(AllocateDocumentMemory, FreeDocumentMemory);
    });
#endif
}

} // namespace orlenta
