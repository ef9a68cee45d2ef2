#pragma once

// Which of a million names stand more than once. A hash table of the names would be probed at
// random a million times, each probe a cache miss in a table of tens of megabytes and another
// in the names it compares; instead the names' hashes are sorted, in one pass that spreads them
// over buckets by their top bits and a short sort of each bucket, and only names whose hashes
// meet are ever compared.

#include <cstdint>
#include <functional>
#include <span>
#include <string_view>
#include <vector>

namespace orlenta {

// A name's hash. 32 bits are enough to sort by: among a million names a hundred or so pairs
// of different names share one, and those are told apart by their names.
std::uint32_t NameHash(std::string_view name);

// The items, each one number, whose names stand more than once, gathered by name.
struct TRepeatedNames {
    // Name by name, each name's items in ascending order; the names in no order of note.
    std::vector<std::uint32_t> Items;
    // Where each name's items begin in Items, and one more for the end.
    std::vector<std::uint32_t> Starts = {0};

    std::uint32_t NameCount() const { return static_cast<std::uint32_t>(Starts.size() - 1); }
};

// The items 0 to hashes.size() - 1 whose names (nameOf(item), hashed in hashes[item] by one
// hash function) are the same byte for byte as another item's. The caller hashes the names as
// it lists them; nameOf is asked only for names whose hashes meet.
TRepeatedNames FindRepeatedNames(std::span<const std::uint32_t> hashes,
                                 const std::function<std::string_view(std::uint32_t)>& nameOf);

} // namespace orlenta
