#pragma once

// Duplicates: the file names of a catalogue that stand more than once, across discs and within
// one, found in a name index so that the window can look again after every change.
//
// Two files are the same when their names are the same byte for byte (Photo.JPG and photo.jpg
// are two names, as on the file systems discs are read from here) and, where both have a size
// recorded, their sizes are too. A file read without sizes cannot be told apart by size, so it
// is matched by name alone: a group "by name" gathers every file of that name, those with sizes
// included, and says so; those with sizes also keep their groups by name and size.

#include "core/search/NameIndex.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orlenta {

// How files are matched.
enum class TDuplicateMatch {
    NameAndSize, // by name and size where sizes are recorded, by name alone where not
    Name,        // by name alone, sizes not compared
};

struct TDuplicateOptions {
    // Files with a recorded size below it are left out; so are empty files, whatever it says.
    // A file without a recorded size is never left out: nothing says it is small.
    std::uint64_t MinSize = 1;
    TDuplicateMatch Match = TDuplicateMatch::NameAndSize;
};

// One copy: a file name of the index.
struct TDuplicateCopy {
    std::uint32_t Disc;      // the disc's index, from 0
    std::uint32_t Directory; // the directory holding it
    std::uint32_t Entry;     // its entry
};

struct TDuplicateGroup {
    // The copies' size; nothing for a group by name.
    std::optional<std::uint64_t> Size;
    // The bytes beyond the first copy, Size times copies less one (at most the largest number);
    // 0 for a group by name, whose waste is not known.
    std::uint64_t Wasted;
    std::uint32_t FirstCopy; // into TDuplicates::Copies
    std::uint32_t CopyCount; // at least 2
    bool ByName() const { return !Size; }
};

struct TDuplicates {
    // Ordered by wasted space, largest first, then by name (letters a to z without case first,
    // then bytewise), then by size, largest first, groups by name last.
    std::vector<TDuplicateGroup> Groups;
    // Group by group, each group's copies in walk order (by disc, then as the index holds them).
    std::vector<TDuplicateCopy> Copies;

    std::span<const TDuplicateCopy> CopiesOf(const TDuplicateGroup& group) const {
        return std::span<const TDuplicateCopy>(Copies).subspan(group.FirstCopy, group.CopyCount);
    }
};

// The groups of files of index that are the same, as options say.
TDuplicates FindDuplicates(const TNameIndex& index, const TDuplicateOptions& options);

// The copy's path below its disc's top directory: "/2022/beach.jpg".
std::string CopyPath(const TNameIndex& index, const TDuplicateCopy& copy);

// Appends a line per copy of group as orlenta-cli duplicates prints it: the group's number,
// the copy's size (empty when not recorded), its disc's index and title and its path,
// tab-separated, each ending in a line feed.
void AppendDuplicateLines(std::string& text, const TNameIndex& index, const TDuplicates& duplicates,
                          const TDuplicateGroup& group, std::uint64_t number);

} // namespace orlenta
