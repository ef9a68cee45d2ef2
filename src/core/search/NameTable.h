#pragma once

// Names numbered by a hash table, for finding the names that stand more than once among a
// million without a string made per name: the table keeps views into memory that its user
// owns (a name index), which must outlive it.

#include <cstdint>
#include <string_view>
#include <vector>

namespace orlenta {

class TNameTable {
public:
    static constexpr std::uint32_t kNone = UINT32_MAX;

    // A table sized for about expected names; it grows beyond them.
    explicit TNameTable(size_t expected);

    // The number of name (0, 1, 2, ... in the order first added), added when new.
    std::uint32_t Add(std::string_view name);
    // The number of name, kNone when it was never added.
    std::uint32_t Find(std::string_view name) const;
    std::uint32_t Count() const { return static_cast<std::uint32_t>(FNames.size()); }

private:
    struct TSlot {
        std::uint32_t Hash;
        std::uint32_t Number; // kNone: empty
    };
    static std::uint32_t HashOf(std::string_view name);
    // The slot of name with hash: its own, or the empty one where it belongs.
    size_t SlotOf(std::string_view name, std::uint32_t hash) const;
    void Grow();

    std::vector<TSlot> FSlots; // a power of two, at most half full
    std::vector<std::string_view> FNames;
};

} // namespace orlenta
