#include "core/search/Duplicates.h"

#include "core/base/AsciiText.h"
#include "core/base/MemoryPages.h"
#include "core/catalogue/SizeAndDate.h"
#include "core/search/RepeatedNames.h"
#include "core/search/SizeRuns.h"

#include <algorithm>
#include <charconv>

namespace orlenta {

namespace {

// The number of entries of index, directories and file names together.
size_t EntryCount(const TNameIndex& index) {
    return index.DirectoryCount() == 0 ? 0 : index.FilesEnd(index.DirectoryCount() - 1);
}

// Builds the groups: the copies gathered per name, then split by size.
class TGrouping {
public:
    TGrouping(const TNameIndex& index, TDuplicates& result) : FIndex(index), FResult(result) {}

    // The groups of the files of one name, given by their entries in walk order. Many names
    // stand more than once with other sizes each time, so a file's directory and disc are
    // found only once it is in a group.
    void AddName(std::span<const std::uint32_t> entries, TDuplicateMatch match) {
        if (match == TDuplicateMatch::Name) {
            AddGroup(entries, std::nullopt);
            return;
        }
        bool anyWithoutSize = false;
        FSizeRuns.ForEach(
            FIndex, entries,
            [&](std::optional<std::uint64_t> size, std::span<const std::uint32_t> run) {
                if (!size)
                    anyWithoutSize = true;
                else if (run.size() >= 2)
                    AddGroup(run, size);
            });
        if (anyWithoutSize)
            AddGroup(entries, std::nullopt);
    }

    void Sort() {
        const auto name = [this](const TDuplicateGroup& group) {
            return FIndex.Name(FResult.Copies[group.FirstCopy].Entry);
        };
        std::vector<TDuplicateGroup>& groups = FResult.Groups;
        std::sort(groups.begin(), groups.end(),
                  [&](const TDuplicateGroup& a, const TDuplicateGroup& b) {
                      if (a.Wasted != b.Wasted)
                          return a.Wasted > b.Wasted;
                      if (const int byName = CompareNames(name(a), name(b)))
                          return byName < 0;
                      // A group by name comes after those of the same name by size.
                      if (a.Size != b.Size)
                          return a.ByName() != b.ByName() ? b.ByName() : a.Size > b.Size;
                      return FResult.Copies[a.FirstCopy].Entry < FResult.Copies[b.FirstCopy].Entry;
                  });
        // The copies in the groups' new order.
        std::vector<TDuplicateCopy> copies;
        copies.reserve(FResult.Copies.size());
        for (TDuplicateGroup& group : groups) {
            const auto first = static_cast<std::uint32_t>(copies.size());
            const auto begin = FResult.Copies.begin() + group.FirstCopy;
            copies.insert(copies.end(), begin, begin + group.CopyCount);
            group.FirstCopy = first;
        }
        FResult.Copies = std::move(copies);
    }

private:
    // Adds a group of the files of entries, in walk order, with size (nothing: by name).
    void AddGroup(std::span<const std::uint32_t> entries, std::optional<std::uint64_t> size) {
        const auto first = static_cast<std::uint32_t>(FResult.Copies.size());
        for (const std::uint32_t entry : entries) {
            const std::uint32_t directory = FIndex.DirectoryOf(entry);
            FResult.Copies.push_back({FIndex.DiscOf(directory), directory, entry});
        }
        const auto copyCount = static_cast<std::uint32_t>(entries.size());
        FResult.Groups.push_back(
            {size, size ? SaturatingMultiply(*size, copyCount - 1) : 0, first, copyCount});
    }

    const TNameIndex& FIndex;
    TDuplicates& FResult;
    TSizeRuns FSizeRuns;
};

} // namespace

TDuplicates FindDuplicates(const TNameIndex& index, const TDuplicateOptions& options) {
    // The entry of every file the options keep, in walk order, and its name's hash.
    std::vector<std::uint32_t> entries;
    std::vector<std::uint32_t> hashes;
    entries.reserve(EntryCount(index));
    hashes.reserve(EntryCount(index));
    FillPages(entries.data(), entries.capacity() * sizeof(std::uint32_t));
    FillPages(hashes.data(), hashes.capacity() * sizeof(std::uint32_t));
    for (std::uint32_t directory = 0; directory < index.DirectoryCount(); ++directory) {
        const std::uint32_t end = index.FilesEnd(directory);
        for (std::uint32_t entry = index.DirectoryEntry(directory) + 1; entry < end; ++entry) {
            const std::optional<std::uint64_t> size = index.Size(entry);
            if (!size || (*size != 0 && *size >= options.MinSize)) {
                entries.push_back(entry);
                hashes.push_back(NameHash(index.Name(entry)));
            }
        }
    }
    const TRepeatedNames repeated =
        FindRepeatedNames(hashes, [&](std::uint32_t item) { return index.Name(entries[item]); });
    hashes = {};

    TDuplicates result;
    TGrouping grouping(index, result);
    std::vector<std::uint32_t> nameEntries;
    for (std::uint32_t name = 0; name < repeated.NameCount(); ++name) {
        nameEntries.clear();
        for (std::uint32_t i = repeated.Starts[name]; i < repeated.Starts[name + 1]; ++i)
            nameEntries.push_back(entries[repeated.Items[i]]);
        grouping.AddName(nameEntries, options.Match);
    }
    grouping.Sort();
    return result;
}

std::string CopyPath(const TNameIndex& index, const TDuplicateCopy& copy) {
    std::string path;
    index.AppendPath(path, copy.Directory);
    path += '/';
    path += index.Name(copy.Entry);
    return path;
}

void AppendDuplicateLines(std::string& text, const TNameIndex& index, const TDuplicates& duplicates,
                          const TDuplicateGroup& group, std::uint64_t number) {
    char digits[24];
    for (const TDuplicateCopy& copy : duplicates.CopiesOf(group)) {
        text.append(digits, std::to_chars(digits, digits + sizeof digits, number).ptr);
        text += '\t';
        if (const std::optional<std::uint64_t> size = index.Size(copy.Entry))
            text.append(digits, std::to_chars(digits, digits + sizeof digits, *size).ptr);
        text += '\t';
        text.append(digits, std::to_chars(digits, digits + sizeof digits, copy.Disc).ptr);
        text += '\t';
        text += index.Disc(copy.Disc).Title;
        text += '\t';
        index.AppendPath(text, copy.Directory);
        text += '/';
        text += index.Name(copy.Entry);
        text += '\n';
    }
}

} // namespace orlenta
