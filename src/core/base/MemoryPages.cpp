#include "core/base/MemoryPages.h"

#include <cstdint>
#include <sys/mman.h>

namespace orlenta {

void FillPages(void* memory, std::size_t bytes) {
    constexpr std::uintptr_t kPage = 4096;
    const auto start = reinterpret_cast<std::uintptr_t>(memory);
    const std::uintptr_t first = (start + kPage - 1) & ~(kPage - 1);
    const std::uintptr_t end = (start + bytes) & ~(kPage - 1);
    if (end > first)
        madvise(reinterpret_cast<void*>(first), end - first, MADV_POPULATE_WRITE);
}

} // namespace orlenta
