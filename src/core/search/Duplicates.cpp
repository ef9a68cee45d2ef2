#include "core/search/Duplicates.h"

#include "core/AsciiText.h"
#include "core/search/RepeatedNames.h"

#include <algorithm>
#include <charconv>
#include <new>

namespace orlenta {

namespace {

constexpr std::uint64_t kNoSize = TSizeDateFilter::kNoSize;

// The number of entries of index, directories and file names together.
size_t EntryCount(const TNameIndex& index) {
    return index.DirectoryCount() == 0 ? 0 : index.FilesEnd(index.DirectoryCount() - 1);
}

// Calls visit(copy) for every file name of index, disc by disc in walk order.
template <typename TVisit> void ForEachFile(const TNameIndex& index, TVisit&& visit) {
    for (std::uint32_t disc = 0; disc < index.DiscCount(); ++disc) {
        const TNameIndex::TDisc& entry = index.Disc(disc);
        for (std::uint32_t directory = entry.FirstDirectory; directory < entry.EndDirectory;
             ++directory) {
            const std::uint32_t end = index.FilesEnd(directory);
            for (std::uint32_t file = index.DirectoryEntry(directory) + 1; file < end; ++file)
                visit(TDuplicateCopy{disc, directory, file});
        }
    }
}

std::uint64_t WastedBytes(std::uint64_t size, std::uint32_t copies) {
    const std::uint64_t extra = copies - 1;
    return size != 0 && extra > UINT64_MAX / size ? UINT64_MAX : size * extra;
}

// Builds the groups: the copies gathered per name, then split by size.
class TGrouping {
public:
    TGrouping(const TNameIndex& index, TDuplicates& result) : FIndex(index), FResult(result) {}

    // Adds a group of copies, in walk order, with size (kNoSize: by name).
    void AddGroup(const TDuplicateCopy* copies, size_t count, std::uint64_t size) {
        const auto first = static_cast<std::uint32_t>(FResult.Copies.size());
        FResult.Copies.insert(FResult.Copies.end(), copies, copies + count);
        const auto copyCount = static_cast<std::uint32_t>(count);
        FResult.Groups.push_back(
            {size, size == kNoSize ? 0 : WastedBytes(size, copyCount), first, copyCount});
    }

    // The groups of the copies of one name, in walk order.
    void AddName(std::vector<TDuplicateCopy>& copies, TDuplicateMatch match) {
        if (match == TDuplicateMatch::Name) {
            AddGroup(copies.data(), copies.size(), kNoSize);
            return;
        }
        bool anyWithoutSize = false;
        FBySize = copies;
        // Stable: each size's copies stay in walk order.
        std::stable_sort(FBySize.begin(), FBySize.end(),
                         [this](const TDuplicateCopy& a, const TDuplicateCopy& b) {
                             return FIndex.Size(a.Entry) < FIndex.Size(b.Entry);
                         });
        for (size_t start = 0; start < FBySize.size();) {
            const std::uint64_t size = FIndex.Size(FBySize[start].Entry);
            size_t end = start + 1;
            while (end < FBySize.size() && FIndex.Size(FBySize[end].Entry) == size)
                ++end;
            if (size == kNoSize)
                anyWithoutSize = true;
            else if (end - start >= 2)
                AddGroup(FBySize.data() + start, end - start, size);
            start = end;
        }
        if (anyWithoutSize)
            AddGroup(copies.data(), copies.size(), kNoSize);
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
                      // kNoSize is the largest number: a group by name comes after those
                      // of the same name by size.
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
    const TNameIndex& FIndex;
    TDuplicates& FResult;
    std::vector<TDuplicateCopy> FBySize;
};

} // namespace

TDuplicates FindDuplicates(const TNameIndex& index, const TDuplicateOptions& options) {
    // Every file the options keep, in walk order.
    std::vector<TDuplicateCopy> files;
    files.reserve(EntryCount(index));
    ForEachFile(index, [&](const TDuplicateCopy& file) {
        const std::uint64_t size = index.Size(file.Entry);
        if (size != 0 && (size == kNoSize || size >= options.MinSize))
            files.push_back(file);
    });
    if (files.size() > UINT32_MAX)
        throw std::bad_alloc();

    const TRepeatedNames repeated =
        FindRepeatedNames(static_cast<std::uint32_t>(files.size()),
                          [&](std::uint32_t file) { return index.Name(files[file].Entry); });
    TDuplicates result;
    TGrouping grouping(index, result);
    std::vector<TDuplicateCopy> copies;
    for (std::uint32_t name = 0; name < repeated.NameCount(); ++name) {
        copies.clear();
        for (std::uint32_t i = repeated.Starts[name]; i < repeated.Starts[name + 1]; ++i)
            copies.push_back(files[repeated.Items[i]]);
        grouping.AddName(copies, options.Match);
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
        if (const std::uint64_t size = index.Size(copy.Entry); size != kNoSize)
            text.append(digits, std::to_chars(digits, digits + sizeof digits, size).ptr);
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
