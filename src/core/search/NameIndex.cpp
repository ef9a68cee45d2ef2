#include "core/search/NameIndex.h"

#include "core/base/DecimalText.h"
#include "core/base/MemoryPages.h"
#include "core/base/UtcTime.h"
#include "core/catalogue/DirectoryWalk.h"
#include "core/catalogue/SizeAndDate.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace orlenta {

namespace {

// An offset into a table of 32-bit offsets; a catalogue beyond that does not fit in memory
// with its document anyway.
std::uint32_t Offset(size_t size) {
    if (size > UINT32_MAX - 1)
        throw std::bad_alloc();
    return static_cast<std::uint32_t>(size);
}

template <typename T> size_t HeapBytes(const std::vector<T>& items) {
    return items.capacity() * sizeof(T);
}

// Gives back the room table leaves unused when it is more than an eighth of what it holds; less
// is not worth copying a table of tens of megabytes for.
template <typename TTable> void ShrinkSlack(TTable& table) {
    if (table.capacity() - table.size() > table.size() / 8)
        table.shrink_to_fit();
}

} // namespace

TNameIndex::TNameIndex(const TXMLOrlentaDataType& root) {
    TNameIndexBuilder builder(root);
    builder.AddDiscs(TNameIndexBuilder::TClock::time_point::max());
    *this = builder.Finish();
}

void TNameIndex::AddDisc(pugi::xml_node disc, const TXMLOrlentaDataType& root,
                         std::vector<std::uint32_t>& directoryAtDepth) {
    TDisc& entry = FDiscs.emplace_back();
    entry.Title = disc.attribute(kTitleAttribute).value();
    entry.Vendor = disc.attribute(kVendorAttribute).value();
    entry.Memo = disc.attribute(kMemoAttribute).value();
    entry.FirstDirectory = DirectoryCount();
    // An absent Root is a top directory without name or files.
    const TXMLDirectoryType top(ElementFrom(disc.first_child(), TXMLDirectoryType::kRootTag),
                                root.OwnerDocument(), TXMLBinding::Directory);
    WalkDirectories(top, TWalkAccess::ReadOnly, [&](const TXMLDirectoryType& directory, int depth) {
        const auto level = static_cast<size_t>(depth);
        const std::uint32_t parent = level == 0 ? kNone : directoryAtDepth[level - 1];
        directoryAtDepth.resize(level);
        directoryAtDepth.push_back(AddDirectory(directory.XmlNode(), parent));
        return true;
    });
    entry.EndDirectory = DirectoryCount();
}

TNameIndexBuilder::TNameIndexBuilder(const TXMLOrlentaDataType& root) : FRoot(root) {
    FIndex.Reserve(FirstDiscElement(FRoot));
}

bool TNameIndexBuilder::AddDiscs(TClock::time_point until) {
    // Found again by counting: a few hundred steps, against keeping a node that a change made
    // in between would free.
    pugi::xml_node disc = FirstDiscElement(FRoot);
    for (std::uint32_t skipped = 0; disc && skipped < FDiscsDone; ++skipped)
        disc = NextDiscElement(disc);
    for (bool first = true; disc && (first || TClock::now() < until); first = false) {
        FIndex.AddDisc(disc, FRoot, FDirectoryAtDepth);
        ++FDiscsDone;
        disc = NextDiscElement(disc);
    }
    return !disc;
}

TNameIndex TNameIndexBuilder::Finish() {
    FIndex.Finish();
    return std::move(FIndex);
}

void TNameIndex::Reserve(pugi::xml_node firstDisc) {
    // The discs' own counts size the tables up front: growing a table by doubling copies it and
    // faults in fresh pages each time, which costs about as much as filling it. The counts are
    // only a hint (a catalogue from elsewhere may lack them or be wrong), so they are bounded,
    // and the tables still grow when they fall short. The bound, eight million names, keeps a
    // count that lies from reserving more than a few hundred megabytes, given back at the end.
    // The largest tables get their pages in one call each (a fault per page costs a fifth of the
    // build on a virtual machine), so a lying count does cost that memory for the build's time.
    constexpr size_t kLimit = size_t{1} << 23;
    constexpr size_t kNameBytes = 20; // a name's usual length, a little over the average
    constexpr size_t kIDBytes = 6;
    const auto count = [](pugi::xml_node disc, const char* name) {
        return static_cast<size_t>(std::clamp<long long>(
            DecimalOrZero(disc.attribute(name).value()), 0, static_cast<long long>(kLimit)));
    };
    size_t directories = 0;
    size_t files = 0;
    for (pugi::xml_node disc = firstDisc; disc; disc = NextDiscElement(disc)) {
        directories = std::min(kLimit, directories + 1 + count(disc, kDirCountAttribute));
        files = std::min(kLimit - directories, files + count(disc, kFileCountAttribute));
    }
    FStarts.reserve(directories + files + 1);
    FDirectoryEntries.reserve(directories + 1);
    FParents.reserve(directories);
    FIDStarts.reserve(directories + 1);
    FIDs.reserve(directories * kIDBytes);
    FNames.reserve((directories + files) * kNameBytes);
    FillPages(FStarts.data(), FStarts.capacity() * sizeof(std::uint32_t));
    FillPages(FNames.data(), FNames.capacity());
}

namespace {

// A node's name and its recorded values as text: the first attribute of each name, as
// pugixml's lookup by name finds it (and RecordedSize and RecordedModified with it).
struct TNodeTexts {
    const char* Name = nullptr;
    const char* Size = nullptr;
    const char* Modified = nullptr;
};

// One pass over the node's attributes instead of a lookup for each: every lookup compares the
// names from the first attribute on, and the names lie in the document's text, far apart.
TNodeTexts ReadNode(pugi::xml_node node, const char* nameAttribute) {
    TNodeTexts texts;
    for (pugi::xml_attribute attribute = node.first_attribute(); attribute;
         attribute = attribute.next_attribute()) {
        const char* name = attribute.name();
        if (texts.Name == nullptr && std::strcmp(name, nameAttribute) == 0)
            texts.Name = attribute.value();
        else if (texts.Size == nullptr && name[0] == 'S' && std::strcmp(name, kSizeAttribute) == 0)
            texts.Size = attribute.value();
        else if (texts.Modified == nullptr && name[0] == 'M' &&
                 std::strcmp(name, kModifiedAttribute) == 0)
            texts.Modified = attribute.value();
        else
            continue;
        if (texts.Name != nullptr && texts.Size != nullptr && texts.Modified != nullptr)
            break;
    }
    if (texts.Name == nullptr)
        texts.Name = "";
    return texts;
}

// Sets the value of the last entry, entries - 1, in table, which holds none until the first
// value comes and then grows as entries do.
template <typename T>
void SetLast(std::vector<T>& table, size_t entries, size_t expected, T value, T none) {
    if (!table.empty() && table.size() + 1 == entries) { // the usual case once a value came
        table.push_back(value);
        return;
    }
    if (value == none && table.empty())
        return;
    if (table.empty()) {
        table.reserve(std::max(entries, expected));
        FillPages(table.data(), table.capacity() * sizeof(T));
    }
    table.resize(entries - 1, none);
    table.push_back(value);
}

} // namespace

std::uint32_t TNameIndex::AddDirectory(pugi::xml_node directory, std::uint32_t parent) {
    const std::uint32_t number = DirectoryCount();
    FParents.push_back(parent);
    FIDStarts.push_back(Offset(FIDs.size()));
    FIDs += directory.attribute(kIDAttribute).value();
    FDirectoryEntries.push_back(Offset(FStarts.size()));
    FStarts.push_back(Offset(FNames.size()));
    const TNodeTexts texts = ReadNode(directory, kNameAttribute);
    FNames += texts.Name;
    AddValues(texts.Size, texts.Modified);
    ForEachFilenameElement(directory, [this](pugi::xml_node file) {
        FStarts.push_back(Offset(FNames.size()));
        const TNodeTexts fileTexts = ReadNode(file, kTextAttribute);
        FNames += fileTexts.Name;
        AddValues(fileTexts.Size, fileTexts.Modified);
    });
    return number;
}

void TNameIndex::AddValues(const char* size, const char* modified) {
    // RecordedSize's and RecordedModified's reading of the texts found.
    const std::optional<std::uint64_t> bytes =
        size != nullptr ? ParseByteCount(size) : std::nullopt;
    const std::optional<std::int64_t> seconds =
        modified != nullptr ? ParseUtcTime(modified) : std::nullopt;
    if (bytes == kNoSizeMark)
        FLargestSizes.push_back(Offset(FStarts.size() - 1));
    SetLast(FSizes, FStarts.size(), FStarts.capacity(), bytes.value_or(kNoSizeMark), kNoSizeMark);
    // A time of kNoModified cannot be stored: it lies far outside the years a time may have.
    SetLast(FModified, FStarts.size(), FStarts.capacity(),
            seconds.value_or(TSizeDateFilter::kNoModified), TSizeDateFilter::kNoModified);
}

void TNameIndex::Finish() {
    FDirectoryEntries.push_back(Offset(FStarts.size()));
    FStarts.push_back(Offset(FNames.size()));
    FIDStarts.push_back(Offset(FIDs.size()));
    // A table grown by doubling, or sized by counts that were too large, has room left unused;
    // the index lives as long as the state of the document it copies.
    ShrinkSlack(FNames);
    ShrinkSlack(FStarts);
    ShrinkSlack(FDirectoryEntries);
    ShrinkSlack(FParents);
    ShrinkSlack(FIDs);
    ShrinkSlack(FIDStarts);
    ShrinkSlack(FDiscs);
    ShrinkSlack(FSizes);
    ShrinkSlack(FModified);
    ShrinkSlack(FLargestSizes);
}

bool TNameIndex::HasLargestSize(std::uint32_t entry) const {
    return std::binary_search(FLargestSizes.begin(), FLargestSizes.end(), entry);
}

std::uint32_t TNameIndex::DirectoryOf(std::uint32_t entry) const {
    // The last directory whose entry is not after entry; one more for the end is in the table.
    const auto end = FDirectoryEntries.end() - 1;
    return static_cast<std::uint32_t>(std::upper_bound(FDirectoryEntries.begin(), end, entry) -
                                      FDirectoryEntries.begin() - 1);
}

std::uint32_t TNameIndex::DiscOf(std::uint32_t directory) const {
    const auto after = std::upper_bound(
        FDiscs.begin(), FDiscs.end(), directory,
        [](std::uint32_t number, const TDisc& disc) { return number < disc.FirstDirectory; });
    return static_cast<std::uint32_t>(after - FDiscs.begin() - 1);
}

void TNameIndex::AppendPath(std::string& path, std::uint32_t directory) const {
    // The names come from the bottom up: measure, then fill the path from its end.
    size_t length = 0;
    for (std::uint32_t d = directory; FParents[d] != kNone; d = FParents[d])
        length += 1 + Name(FDirectoryEntries[d]).size();
    size_t end = path.size() + length;
    path.resize(end);
    for (std::uint32_t d = directory; FParents[d] != kNone; d = FParents[d]) {
        const std::string_view name = Name(FDirectoryEntries[d]);
        end -= name.size();
        name.copy(path.data() + end, name.size());
        path[--end] = '/';
    }
}

size_t TNameIndex::MemoryBytes() const {
    size_t bytes = FNames.capacity() + FIDs.capacity() + HeapBytes(FStarts) +
                   HeapBytes(FDirectoryEntries) + HeapBytes(FParents) + HeapBytes(FIDStarts) +
                   HeapBytes(FDiscs) + HeapBytes(FSizes) + HeapBytes(FModified) +
                   HeapBytes(FLargestSizes);
    // Short strings live inside TDisc itself, which HeapBytes(FDiscs) counts.
    for (const TDisc& disc : FDiscs) {
        for (const std::string* text : {&disc.Title, &disc.Vendor, &disc.Memo}) {
            if (text->capacity() > std::string().capacity())
                bytes += text->capacity() + 1;
        }
    }
    return bytes;
}

} // namespace orlenta
