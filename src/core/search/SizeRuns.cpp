#include "core/search/SizeRuns.h"

namespace orlenta {

void TSizeRuns::SortBySize(const TNameIndex& index, std::span<const std::uint32_t> entries) {
    FBySize.clear();
    for (const std::uint32_t entry : entries) {
        const std::optional<std::uint64_t> size = index.Size(entry);
        FBySize.push_back({size.value_or(0), entry, size.has_value()});
    }
    // Stable: each size's entries stay in the order given.
    std::stable_sort(FBySize.begin(), FBySize.end(), [](const TSized& a, const TSized& b) {
        return a.Known != b.Known ? a.Known : a.Size < b.Size;
    });
}

} // namespace orlenta
