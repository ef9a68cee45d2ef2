#include "core/search/RepeatedNames.h"

#include "core/base/MemoryPages.h"

#include <algorithm>
#include <bit>
#include <new>

namespace orlenta {

namespace {

struct THashedItem {
    std::uint32_t Hash;
    std::uint32_t Item;
};

// Sorts a bucket by hash, keeping items of one hash in the order they came (ascending). A
// bucket holds a handful of items unless many names are the same, or hash alike.
void SortBucket(THashedItem* begin, THashedItem* end) {
    const auto byHash = [](const THashedItem& a, const THashedItem& b) { return a.Hash < b.Hash; };
    if (end - begin > 32) {
        std::stable_sort(begin, end, byHash);
        return;
    }
    for (THashedItem* next = begin + 1; next < end; ++next) {
        const THashedItem item = *next;
        THashedItem* place = next;
        for (; place > begin && byHash(item, place[-1]); --place)
            *place = place[-1];
        *place = item;
    }
}

// Adds the names among the items of one hash (ascending) that stand more than once. Names whose
// hashes meet are rare, so each round takes the first item's name and puts the others aside.
void AddRun(TRepeatedNames& result, std::vector<std::uint32_t>& run,
            std::vector<std::uint32_t>& others,
            const std::function<std::string_view(std::uint32_t)>& nameOf) {
    while (run.size() >= 2) {
        const std::string_view name = nameOf(run.front());
        const size_t start = result.Items.size();
        others.clear();
        for (const std::uint32_t item : run) {
            if (item == run.front() || nameOf(item) == name)
                result.Items.push_back(item);
            else
                others.push_back(item);
        }
        if (result.Items.size() - start >= 2)
            result.Starts.push_back(static_cast<std::uint32_t>(result.Items.size()));
        else
            result.Items.resize(start);
        run.swap(others);
    }
}

} // namespace

std::uint32_t NameHash(std::string_view name) {
    const std::uint64_t hash = std::hash<std::string_view>()(name);
    return static_cast<std::uint32_t>(hash ^ (hash >> 32));
}

TRepeatedNames FindRepeatedNames(std::span<const std::uint32_t> hashes,
                                 const std::function<std::string_view(std::uint32_t)>& nameOf) {
    TRepeatedNames result;
    if (hashes.size() > UINT32_MAX)
        throw std::bad_alloc();
    const auto count = static_cast<std::uint32_t>(hashes.size());
    if (count < 2)
        return result;

    // About eight items to a bucket, by the top bits of their hashes; in each bucket they come
    // in ascending order.
    const int bits = std::max(1, static_cast<int>(std::bit_width(count)) - 3);
    const int shift = 32 - bits;
    std::vector<std::uint32_t> starts((size_t{1} << bits) + 1, 0);
    for (const std::uint32_t value : hashes)
        ++starts[(value >> shift) + 1];
    for (size_t bucket = 1; bucket < starts.size(); ++bucket)
        starts[bucket] += starts[bucket - 1];
    std::vector<THashedItem> sorted;
    sorted.reserve(count);
    FillPages(sorted.data(), count * sizeof(THashedItem));
    sorted.resize(count);
    {
        std::vector<std::uint32_t> filled(starts.begin(), starts.end() - 1);
        for (std::uint32_t item = 0; item < count; ++item)
            sorted[filled[hashes[item] >> shift]++] = {hashes[item], item};
    }

    std::vector<std::uint32_t> run;
    std::vector<std::uint32_t> others;
    for (size_t bucket = 0; bucket + 1 < starts.size(); ++bucket) {
        THashedItem* const begin = sorted.data() + starts[bucket];
        THashedItem* const end = sorted.data() + starts[bucket + 1];
        if (end - begin < 2)
            continue;
        SortBucket(begin, end);
        for (THashedItem* first = begin; first < end;) {
            THashedItem* last = first + 1;
            while (last < end && last->Hash == first->Hash)
                ++last;
            if (last - first >= 2) {
                run.clear();
                for (const THashedItem* item = first; item < last; ++item)
                    run.push_back(item->Item);
                AddRun(result, run, others, nameOf);
            }
            first = last;
        }
    }
    return result;
}

} // namespace orlenta
