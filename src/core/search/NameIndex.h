#pragma once

// A flat copy of every name of a catalogue, for searches that run at each keystroke. Walking
// the document touches a million scattered nodes per search; the copy lays the names out one
// after another in walk order, so a search is one pass over contiguous memory. It is built once
// per state of the document and knows nothing of later changes: whoever changes the catalogue
// builds a new one.

#include "core/catalogue/OrlentaData.h"
#include "core/search/SizeDateFilter.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orlenta {

class TNameIndex {
public:
    // What a disc contributes besides its names: the disc fields as stored (the memo escaped),
    // and its directories, numbered in walk order across the whole catalogue.
    struct TDisc {
        std::string Title;
        std::string Vendor;
        std::string Memo;
        std::uint32_t FirstDirectory; // its top directory
        std::uint32_t EndDirectory;   // one past its last directory
    };

    static constexpr std::uint32_t kNone = UINT32_MAX;

    // An index of nothing.
    TNameIndex() = default;
    // Copies the names of every disc under root. It reads the document as it stands and adds
    // nothing to it: an absent attribute, Root or collection counts as empty, as the access
    // layer reads it, but is not created.
    explicit TNameIndex(const TXMLOrlentaDataType& root);

    std::uint32_t DiscCount() const { return static_cast<std::uint32_t>(FDiscs.size()); }
    const TDisc& Disc(std::uint32_t disc) const { return FDiscs[disc]; }
    std::uint32_t DirectoryCount() const { return static_cast<std::uint32_t>(FParents.size()); }

    // Directories are numbered depth first in document order (a directory before its
    // subdirectories), and so are their name entries: a directory's entry is followed by one
    // entry per file name it holds, then come its subdirectories.
    std::uint32_t DirectoryEntry(std::uint32_t directory) const {
        return FDirectoryEntries[directory];
    }
    // One past the entry of the last file name of directory.
    std::uint32_t FilesEnd(std::uint32_t directory) const {
        return FDirectoryEntries[directory + 1];
    }
    std::string_view Name(std::uint32_t entry) const {
        return std::string_view(FNames.data() + FStarts[entry],
                                FStarts[entry + 1] - FStarts[entry]);
    }
    // The size recorded for entry (a directory's the total below it); nothing when none is.
    std::optional<std::uint64_t> Size(std::uint32_t entry) const {
        const std::uint64_t size = entry < FSizes.size() ? FSizes[entry] : kNoSizeMark;
        if (size != kNoSizeMark || HasLargestSize(entry))
            return size;
        return std::nullopt;
    }
    // The modification time recorded for entry, seconds since 1970;
    // TSizeDateFilter::kNoModified when none is.
    std::int64_t Modified(std::uint32_t entry) const {
        return entry < FModified.size() ? FModified[entry] : TSizeDateFilter::kNoModified;
    }
    // Whether any entry has a size recorded, and any a modification time.
    bool HasSizes() const { return !FSizes.empty(); }
    bool HasModified() const { return !FModified.empty(); }
    // The entry whose size and time stand for hit's values: its own, or for a disc field (entry
    // kNone) the disc's top directory's.
    std::uint32_t ValueEntry(std::uint32_t entry, std::uint32_t directory) const {
        return entry != kNone ? entry : FDirectoryEntries[directory];
    }
    // The directory whose entry or file name entry is (entry < the number of entries).
    std::uint32_t DirectoryOf(std::uint32_t entry) const;
    // The disc whose directory is (directory < DirectoryCount()).
    std::uint32_t DiscOf(std::uint32_t directory) const;
    // The directory above directory, kNone for a disc's top directory.
    std::uint32_t Parent(std::uint32_t directory) const { return FParents[directory]; }
    // The directory's ID text as stored.
    std::string_view DirectoryID(std::uint32_t directory) const {
        return std::string_view(FIDs).substr(FIDStarts[directory],
                                             FIDStarts[directory + 1] - FIDStarts[directory]);
    }
    // Appends the path of directory below its disc's top directory: "/2022/misc", nothing for
    // the top directory itself.
    void AppendPath(std::string& path, std::uint32_t directory) const;

    // The bytes of every directory and file name held.
    size_t NameBytes() const { return FNames.size(); }
    // The bytes the index holds on the heap.
    size_t MemoryBytes() const;

private:
    friend class TNameIndexBuilder;

    // Sizes the tables for firstDisc and the discs after it.
    void Reserve(pugi::xml_node firstDisc);
    // Adds disc, an element of root's document, below the directories of directoryAtDepth.
    void AddDisc(pugi::xml_node disc, const TXMLOrlentaDataType& root,
                 std::vector<std::uint32_t>& directoryAtDepth);
    // Adds directory (an element, or none for an absent Root) with its file names.
    std::uint32_t AddDirectory(pugi::xml_node directory, std::uint32_t parent);
    // Adds the last entry's size and time from their attributes' texts (null when absent).
    void AddValues(const char* size, const char* modified);
    void Finish();
    // Whether entry, marked in FSizes as without a size, has the largest size instead.
    bool HasLargestSize(std::uint32_t entry) const;

    // What FSizes holds for an entry without a size. It is also a size a file may have, so
    // the few entries that do have it are listed apart: a flag per entry would cost every
    // catalogue memory for sizes that no disc holds.
    static constexpr std::uint64_t kNoSizeMark = UINT64_MAX;

    std::vector<TDisc> FDiscs;
    std::string FNames;                           // every name, one after the other
    std::vector<std::uint32_t> FStarts;           // entry -> start in FNames; one more for the end
    std::vector<std::uint32_t> FDirectoryEntries; // directory -> its entry; one more for the end
    std::vector<std::uint32_t> FParents;
    std::string FIDs;
    std::vector<std::uint32_t> FIDStarts; // directory -> start in FIDs; one more for the end
    // entry -> size and time, with kNoSizeMark and TSizeDateFilter::kNoModified for none.
    // Empty until an entry has a value, so that a catalogue read without them costs nothing;
    // then as long as the entries up to the last one with a value.
    std::vector<std::uint64_t> FSizes;
    std::vector<std::int64_t> FModified;
    // The entries whose size is kNoSizeMark itself, ascending.
    std::vector<std::uint32_t> FLargestSizes;
};

// Builds an index a few discs at a time, for a caller that must get on with other work in
// between: the window's thread, between events. It keeps no node of the document from one call
// to the next, only how many discs are in: a document changed in between gives a wrong index,
// never a read of freed memory, and whoever changed it starts a new build anyway.
class TNameIndexBuilder {
public:
    using TClock = std::chrono::steady_clock;

    explicit TNameIndexBuilder(const TXMLOrlentaDataType& root);
    // Adds discs, at least one, until the clock passes until; whether every disc is in.
    bool AddDiscs(TClock::time_point until);
    // The index of every disc added; the builder is spent.
    TNameIndex Finish();

private:
    TXMLOrlentaDataType FRoot;
    TNameIndex FIndex;
    std::uint32_t FDiscsDone = 0;
    // The number of the directory last visited at each depth: the parents of the next one.
    std::vector<std::uint32_t> FDirectoryAtDepth;
};

} // namespace orlenta
