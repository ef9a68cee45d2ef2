#pragma once

// The files of one name split by their recorded sizes: Duplicates makes its groups of them, and
// Overlap counts each size's files of a disc as one.

#include "core/search/NameIndex.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace orlenta {

class TSizeRuns {
public:
    // Calls visit(size, run) once for each size among the entries' sizes, ascending, then once
    // with nothing for the entries without a size (when there are any); run holds the entries
    // of that size in the order given. Its memory is the object's until the next call.
    template <typename TVisit>
    void ForEach(const TNameIndex& index, std::span<const std::uint32_t> entries, TVisit&& visit) {
        if (entries.empty())
            return;
        const std::optional<std::uint64_t> first = index.Size(entries.front());
        if (std::all_of(entries.begin() + 1, entries.end(),
                        [&](std::uint32_t entry) { return index.Size(entry) == first; })) {
            // The usual case: copies of one size.
            visit(first, entries);
            return;
        }
        SortBySize(index, entries);
        for (size_t start = 0; start < FBySize.size();) {
            const TSized& head = FBySize[start];
            size_t end = start + 1;
            while (end < FBySize.size() && FBySize[end].Known == head.Known &&
                   FBySize[end].Size == head.Size)
                ++end;
            FRun.clear();
            for (size_t i = start; i < end; ++i)
                FRun.push_back(FBySize[i].Entry);
            visit(head.Known ? std::optional<std::uint64_t>(head.Size) : std::nullopt,
                  std::span<const std::uint32_t>(FRun));
            start = end;
        }
    }

private:
    struct TSized {
        std::uint64_t Size; // 0 when not known
        std::uint32_t Entry;
        bool Known;
    };

    // Fills FBySize with entries, ascending by size, those without one last, each size's
    // entries in the order given.
    void SortBySize(const TNameIndex& index, std::span<const std::uint32_t> entries);

    std::vector<TSized> FBySize;
    std::vector<std::uint32_t> FRun;
};

} // namespace orlenta
