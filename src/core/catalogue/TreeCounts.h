#pragma once

// What a disc's tree holds, with the contents of archives counted apart from the file system:
// a directory bearing Archive holds an archive's folders and files, which are not the disc's.

#include "core/catalogue/OrlentaData.h"

#include <cstdint>
#include <optional>

namespace orlenta {

struct TTreeCounts {
    long long Directories = 0;    // below top, outside archives (archive folders themselves not)
    long long Files = 0;          // outside archives
    long long Archives = 0;       // directories bearing Archive
    long long ArchiveEntries = 0; // folders and files inside archives
};

// Adds what lies below top to counts: the items of each directory's first Directories and
// Filenames, as the access layer would find them. Reads the DOM as it stands, adding nothing.
void AddTreeCounts(const TXMLDirectoryType& top, TTreeCounts& counts);

// Whether any directory below top holds an archive's contents; looks at directories only and
// stops at the first. Reading adds nothing.
bool HoldsArchives(const TXMLDirectoryType& top);

// The total size recorded on disc's Root; nothing when absent or when disc is empty. It never
// adds a Root.
std::optional<std::uint64_t> DiscTotalSize(const IXMLDiscType& disc);
// The folders and files inside the disc's archives; nothing when it holds no archive's contents.
// Reading adds nothing.
std::optional<long long> DiscArchiveEntries(const IXMLDiscType& disc);

// Whether directory holds an archive's contents. Reading it adds nothing.
bool IsArchiveFolder(const TXMLDirectoryType& directory);

} // namespace orlenta
