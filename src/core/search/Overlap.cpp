#include "core/search/Overlap.h"

#include "core/catalogue/SizeAndDate.h"
#include "core/search/NameTable.h"
#include "core/search/SizeRuns.h"

#include <algorithm>
#include <charconv>

namespace orlenta {

namespace {

void AppendNumber(std::string& text, std::uint64_t number) {
    char digits[24];
    text.append(digits, std::to_chars(digits, digits + sizeof digits, number).ptr);
}

// Calls visit(entry) for each file name of disc.
template <typename TVisit>
void ForEachFileOf(const TNameIndex& index, std::uint32_t disc, TVisit&& visit) {
    const TNameIndex::TDisc& entry = index.Disc(disc);
    for (std::uint32_t directory = entry.FirstDirectory; directory < entry.EndDirectory;
         ++directory) {
        const std::uint32_t end = index.FilesEnd(directory);
        for (std::uint32_t file = index.DirectoryEntry(directory) + 1; file < end; ++file)
            visit(file);
    }
}

// Files and their bytes, counted.
struct TTally {
    std::uint64_t Files = 0;
    std::uint64_t Bytes = 0;
};

// Adds tally to count, a TTally or a TOverlapCount.
template <typename TCount> void Add(TCount& count, const TTally& tally) {
    count.Files += tally.Files;
    count.Bytes = SaturatingAdd(count.Bytes, tally.Bytes);
}

// The disc's files of one name and one size, or of one name without a size. Whatever finds one
// of them finds all, so each is counted as a whole: a name a disc holds a hundred thousand
// times is then looked at once per file of the other discs, not once per pair of files.
struct TSizeGroup {
    TTally Files;
    std::uint64_t Size = 0; // when it has one
    std::uint32_t Name;
    std::uint32_t LastDisc = TNameIndex::kNone; // the other disc it was last found on
    bool Found = false;                         // on any other disc
};

// The disc's files of one name: its groups with a size, ascending, then the one without.
struct TNameGroups {
    TTally Files;
    std::uint32_t FirstGroup;
    std::uint32_t SizedEnd; // one past the last group with a size
    std::uint32_t EndGroup; // SizedEnd + 1 when some of them have no size
    // The other disc it was last seen on, and the one on which a file of the name without
    // a size found all of its groups.
    std::uint32_t LastDisc = TNameIndex::kNone;
    std::uint32_t AllDisc = TNameIndex::kNone;
    bool AllFound = false;
};

class TOverlapCounter {
public:
    TOverlapCounter(const TNameIndex& index, std::uint32_t disc, TOverlap& overlap)
        : FIndex(index), FOverlap(overlap) {
        // The disc's files, gathered by name: numbered in a small table that every other
        // file's name is looked up in, then sorted by that number.
        std::vector<std::uint32_t> nameOf;
        ForEachFileOf(index, disc, [&](std::uint32_t entry) {
            nameOf.push_back(FNames.Add(index.Name(entry)));
            if (const std::optional<std::uint64_t> size = index.Size(entry))
                FOverlap.Bytes = SaturatingAdd(FOverlap.Bytes, *size);
        });
        FOverlap.Files = nameOf.size();
        std::vector<std::uint32_t> starts(FNames.Count() + 1, 0);
        for (const std::uint32_t name : nameOf)
            ++starts[name + 1];
        for (size_t name = 1; name < starts.size(); ++name)
            starts[name] += starts[name - 1];
        std::vector<std::uint32_t> entries(nameOf.size());
        {
            std::vector<std::uint32_t> filled(starts.begin(), starts.end() - 1);
            std::uint32_t file = 0;
            ForEachFileOf(index, disc,
                          [&](std::uint32_t entry) { entries[filled[nameOf[file++]]++] = entry; });
        }
        TSizeRuns sizeRuns;
        FNameGroups.resize(FNames.Count());
        for (std::uint32_t name = 0; name < FNames.Count(); ++name) {
            TNameGroups& groups = FNameGroups[name];
            groups.FirstGroup = groups.SizedEnd = static_cast<std::uint32_t>(FGroups.size());
            sizeRuns.ForEach(
                index,
                std::span<const std::uint32_t>(entries).subspan(starts[name],
                                                                starts[name + 1] - starts[name]),
                [&](std::optional<std::uint64_t> size, std::span<const std::uint32_t> run) {
                    TSizeGroup& group = FGroups.emplace_back();
                    group.Name = name;
                    group.Files.Files = run.size();
                    if (size) {
                        group.Size = *size;
                        group.Files.Bytes = SaturatingMultiply(*size, run.size());
                        ++groups.SizedEnd;
                    }
                    Add(groups.Files, group.Files);
                });
            groups.EndGroup = static_cast<std::uint32_t>(FGroups.size());
        }
    }

    bool Empty() const { return FGroups.empty(); }

    // Counts what of the disc other holds.
    void Count(std::uint32_t other) {
        FNamesSeen.clear();
        FGroupsFound.clear();
        ForEachFileOf(FIndex, other, [&](std::uint32_t entry) {
            const std::uint32_t name = FNames.Find(FIndex.Name(entry));
            if (name == TNameTable::kNone)
                return;
            TNameGroups& groups = FNameGroups[name];
            if (groups.LastDisc != other) {
                groups.LastDisc = other;
                FNamesSeen.push_back(name);
            }
            if (groups.AllDisc == other)
                return;
            const std::optional<std::uint64_t> size = FIndex.Size(entry);
            if (!size) { // by name alone: every file of the name
                groups.AllDisc = other;
                groups.AllFound = true;
                return;
            }
            const auto begin = FGroups.begin() + groups.FirstGroup;
            const auto end = FGroups.begin() + groups.SizedEnd;
            const auto same = std::lower_bound(
                begin, end, *size,
                [](const TSizeGroup& group, std::uint64_t value) { return group.Size < value; });
            if (same != end && same->Size == *size)
                Find(*same, other);
            if (groups.EndGroup > groups.SizedEnd)
                Find(FGroups[groups.SizedEnd], other);
        });
        TOverlapCount count{other, 0, 0};
        for (const std::uint32_t name : FNamesSeen) {
            if (FNameGroups[name].AllDisc == other)
                Add(count, FNameGroups[name].Files);
        }
        for (const std::uint32_t group : FGroupsFound) {
            if (FNameGroups[FGroups[group].Name].AllDisc != other)
                Add(count, FGroups[group].Files);
        }
        if (count.Files > 0)
            FOverlap.Discs.push_back(count);
    }

    // Counts what of the disc any other disc holds, once every other disc is counted.
    void CountAllOthers() {
        for (const TNameGroups& groups : FNameGroups) {
            if (groups.AllFound) {
                Add(FOverlap.AllOthers, groups.Files);
                continue;
            }
            for (std::uint32_t group = groups.FirstGroup; group < groups.EndGroup; ++group) {
                if (FGroups[group].Found)
                    Add(FOverlap.AllOthers, FGroups[group].Files);
            }
        }
    }

private:
    void Find(TSizeGroup& group, std::uint32_t other) {
        if (group.LastDisc == other)
            return;
        group.LastDisc = other;
        group.Found = true;
        FGroupsFound.push_back(static_cast<std::uint32_t>(&group - FGroups.data()));
    }

    const TNameIndex& FIndex;
    TOverlap& FOverlap;
    TNameTable FNames{1024};
    std::vector<TNameGroups> FNameGroups;
    std::vector<TSizeGroup> FGroups;
    // What the other disc being counted holds: the names it was seen to hold, and the groups
    // found there by their size (both once).
    std::vector<std::uint32_t> FNamesSeen;
    std::vector<std::uint32_t> FGroupsFound;
};

} // namespace

TOverlap FindOverlap(const TNameIndex& index, std::uint32_t disc) {
    TOverlap overlap{disc, 0, 0, {}, {TNameIndex::kNone, 0, 0}};
    TOverlapCounter counter(index, disc, overlap);
    if (counter.Empty())
        return overlap;
    for (std::uint32_t other = 0; other < index.DiscCount(); ++other) {
        if (other != disc)
            counter.Count(other);
    }
    counter.CountAllOthers();
    return overlap;
}

std::string ShareText(std::uint64_t part, std::uint64_t whole) {
    if (whole == 0)
        return {};
    // Tenths of a per cent, rounded down; in 128 bits, as part times 1000 may not fit in 64.
    const auto tenths =
        static_cast<std::uint64_t>(static_cast<unsigned __int128>(part) * 1000 / whole);
    std::string text;
    AppendNumber(text, tenths / 10);
    text += '.';
    text += static_cast<char>('0' + tenths % 10);
    text += '%';
    return text;
}

void AppendOverlapLine(std::string& text, const TOverlap& overlap, const TOverlapCount& count,
                       std::string_view title) {
    if (count.Disc == TNameIndex::kNone)
        text += '*';
    else
        AppendNumber(text, count.Disc);
    text += '\t';
    text += title;
    text += '\t';
    AppendNumber(text, count.Files);
    text += '\t';
    AppendNumber(text, count.Bytes);
    text += '\t';
    text += ShareText(count.Files, overlap.Files);
    text += '\t';
    text += ShareText(count.Bytes, overlap.Bytes);
    text += '\n';
}

} // namespace orlenta
