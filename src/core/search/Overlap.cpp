#include "core/search/Overlap.h"

#include "core/search/NameTable.h"

#include <charconv>

namespace orlenta {

namespace {

constexpr std::uint64_t kNoSize = TSizeDateFilter::kNoSize;

bool SizesAgree(std::uint64_t a, std::uint64_t b) {
    return a == b || a == kNoSize || b == kNoSize;
}

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

// One file of the disc: its size, the next of its name, and where it was found so far.
struct TDiscFile {
    std::uint64_t Size;
    std::uint32_t NextOfName = TNameTable::kNone;
    std::uint32_t LastDisc = TNameIndex::kNone; // the other disc it was last counted for
    bool Found = false;
};

void Count(TOverlapCount& count, const TDiscFile& file) {
    ++count.Files;
    if (file.Size != kNoSize)
        count.Bytes += file.Size;
}

} // namespace

TOverlap FindOverlap(const TNameIndex& index, std::uint32_t disc) {
    TOverlap overlap{disc, 0, 0, {}, {TNameIndex::kNone, 0, 0}};
    // The disc's files by name: a small table that every other file's name is looked up in.
    std::vector<TDiscFile> files;
    std::vector<std::uint32_t> firstOfName;
    TNameTable names(1024);
    ForEachFileOf(index, disc, [&](std::uint32_t entry) {
        const std::uint32_t name = names.Add(index.Name(entry));
        if (name == firstOfName.size())
            firstOfName.push_back(TNameTable::kNone);
        TDiscFile& file = files.emplace_back();
        file.Size = index.Size(entry);
        // Each name's files are chained last first; the order does not matter for counting.
        file.NextOfName = firstOfName[name];
        firstOfName[name] = static_cast<std::uint32_t>(files.size() - 1);
        ++overlap.Files;
        if (file.Size != kNoSize)
            overlap.Bytes += file.Size;
    });
    if (files.empty())
        return overlap;

    for (std::uint32_t other = 0; other < index.DiscCount(); ++other) {
        if (other == disc)
            continue;
        TOverlapCount count{other, 0, 0};
        ForEachFileOf(index, other, [&](std::uint32_t entry) {
            const std::uint32_t name = names.Find(index.Name(entry));
            if (name == TNameTable::kNone)
                return;
            const std::uint64_t size = index.Size(entry);
            for (std::uint32_t i = firstOfName[name]; i != TNameTable::kNone;
                 i = files[i].NextOfName) {
                TDiscFile& file = files[i];
                if (file.LastDisc == other || !SizesAgree(file.Size, size))
                    continue;
                file.LastDisc = other;
                Count(count, file);
                if (!file.Found) {
                    file.Found = true;
                    Count(overlap.AllOthers, file);
                }
            }
        });
        if (count.Files > 0)
            overlap.Discs.push_back(count);
    }
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
