#pragma once

// What makes a rescan look like the disc went missing rather than changed: an unmounted disc
// leaves an empty mount point, and applying its reading would empty the disc in the catalogue.
// Such a rescan is held back until the user insists.

#include "core/catalogue/OrlentaData.h"
#include "core/catalogue/TreeDifference.h"

#include <optional>
#include <string>

namespace orlenta {

enum class TRescanRisk {
    NotMounted,       // the source is a mount point of the file system table, not mounted now
    SourceEmpty,      // the source holds nothing, where the disc held something
    RemovesEveryFile, // no file of the disc would be left (or, without files, no folder)
};

struct TRescanWarning {
    TRescanRisk Risk;
    std::string Text; // what to tell the user, naming the source and what would be lost
};

// The warning, if any, for putting the tree read from source (below after) in place of the disc's
// tree (below before), with difference between them. fileSystemTable is where the mount points
// are listed. Nothing is added to either document.
std::optional<TRescanWarning> RescanWarning(const TXMLDirectoryType& before,
                                            const TXMLDirectoryType& after,
                                            const TTreeDifference& difference,
                                            const std::string& source,
                                            const std::string& fileSystemTable = "/etc/fstab");

// Whether directory is listed as a mount point in fileSystemTable but nothing is mounted on it
// now (it lies on the same file system as its parent).
bool IsUnmountedMountPoint(const std::string& directory, const std::string& fileSystemTable);

} // namespace orlenta
