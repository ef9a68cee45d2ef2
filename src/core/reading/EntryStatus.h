#pragma once

#include <cstdint>

namespace orlenta {

// What a walk learns of an entry besides its name, when it is asked for sizes and dates.
struct TEntryStatus {
    bool Known = false;        // false when the stat failed: vanished, denied, a dangling link
    std::uint64_t Size = 0;    // st_size of what the name points to
    std::int64_t Modified = 0; // its modification time, seconds since 1970 in UTC
};

} // namespace orlenta
