#pragma once

// What a new reading of a disc changed against the tree the catalogue holds: the basis of
// bringing a disc up to date without losing what the user wrote about it.

#include "core/catalogue/OrlentaData.h"

#include <cstddef>
#include <string>
#include <vector>

namespace orlenta {

enum class TChangeKind { Added, Removed, Changed };

struct TTreeChange {
    TChangeKind Kind;
    // Below the top directory, as searches print it: "/2022", "/2022/beach.jpg".
    std::string Path;
    bool IsDirectory;
};

struct TTreeDifference {
    // Every change, in path order (a directory before what lies in it).
    std::vector<TTreeChange> Changes;
    std::size_t Added = 0;
    std::size_t Removed = 0;
    std::size_t Changed = 0;

    bool Empty() const { return Changes.empty(); }
};

// The changes from the tree below before to the tree below after (two top directories, of one
// document or two). A directory is added or removed; a file is added, removed, or changed when its
// recorded size or time differs. Names compare byte for byte, so a new case is a new name, and a
// renamed entry is one removed and one added. Nothing is added to either document.
TTreeDifference DifferenceOfTrees(const TXMLDirectoryType& before, const TXMLDirectoryType& after);

// Whether a comes before b in path order: component by component, '/' before any character.
bool PathLess(const std::string& a, const std::string& b);

} // namespace orlenta
