#pragma once

// From a node of the catalogue tree back to its directory element and disc: what a click on the
// tree needs, kept apart from any widget.

#include "core/catalogue/OrlentaData.h"

#include <string_view>
#include <vector>

namespace orlenta {

// The directory in directory's subtree (itself included) whose ID attribute is id, or none.
// Reads the DOM as it stands: nothing is added on the way.
TXMLDirectoryType FindDirectoryByID(const TXMLDirectoryType& directory, std::string_view id);

// The disc that holds directory; empty when it stands in none.
TXMLDiscType DiscOf(const TXMLNode& directory);

// The tree node data of a directory ID: a decimal integer in the 32-bit range. Throws
// "'%s' is not a valid integer value" otherwise.
int TreeNodeData(std::string_view id);

// The element each tree node was built from, by node index, kept while every ID of the
// catalogue is in plain decimal form and unique: a click then goes straight to the element that
// the walk over every disc would find, instead of walking up to a hundred thousand directories.
// Every change of the catalogue ends in a rebuild, which renews it.
class TNodeDirectories {
public:
    // A rebuild begins: nothing noted, the shortcut assumed to hold.
    void Start();
    // The tree node node was appended for directory, whose ID gave the node data data.
    void Note(int node, const TXMLDirectoryType& directory, int data);
    // Every node is noted: the shortcut holds only when no two IDs are equal.
    void Finish();
    // Nothing is noted and the shortcut does not hold (a rebuild failed).
    void Clear();
    // The directory node was built from while the shortcut holds; empty otherwise.
    TXMLDirectoryType Directory(int node) const;

private:
    std::vector<TXMLDirectoryType> FDirectories;
    std::vector<int> FIDs;
    bool FHolds = false;
};

// Where a tree node leads: its directory and the disc that holds it; both empty for none.
struct TNodeTarget {
    TXMLDiscType Disc;
    TXMLDirectoryType Directory;
};

// The directory of the node with this index and data: straight from the noted elements while
// they hold, else the first directory, disc by disc in document order, whose ID is the data in
// decimal.
TNodeTarget FindNodeTarget(const TXMLOrlentaDataType& root, const TNodeDirectories& directories,
                           int node, int data);

} // namespace orlenta
