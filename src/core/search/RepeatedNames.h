#pragma once

// Which of a million names stand more than once. A hash table of the names would be probed at
// random a million times, each probe a cache miss in a table of tens of megabytes and another
// in the names it compares; instead the names' hashes are sorted, in one pass that spreads them
// over buckets by their top bits and a short sort of each bucket, and only names whose hashes
// meet are ever compared.

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace orlenta {

// A name's 64-bit hash; a weaker one may be given to see names whose hashes meet told apart.
using TNameHash = std::uint64_t (*)(std::string_view name);
std::uint64_t NameHash(std::string_view name);

// The items, each one number, whose names stand more than once, gathered by name.
struct TRepeatedNames {
    // Name by name, each name's items in ascending order; the names in no order of note.
    std::vector<std::uint32_t> Items;
    // Where each name's items begin in Items, and one more for the end.
    std::vector<std::uint32_t> Starts = {0};

    std::uint32_t NameCount() const { return static_cast<std::uint32_t>(Starts.size() - 1); }
};

// The items 0 to count - 1 whose names (nameOf(item)) are the same byte for byte as another
// item's.
TRepeatedNames FindRepeatedNames(std::uint32_t count,
                                 const std::function<std::string_view(std::uint32_t)>& nameOf,
                                 TNameHash hash = NameHash);

} // namespace orlenta
