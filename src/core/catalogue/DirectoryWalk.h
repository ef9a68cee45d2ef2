#pragma once

// The one walk over a disc's directories that the tree, the click, the search and the
// command-line listings share.

#include "core/catalogue/OrlentaData.h"

#include <vector>

namespace orlenta {

// How a walk reaches a directory's subdirectories.
enum class TWalkAccess {
    // The DOM as it stands: nothing is added, no item list is built. For read-only passes.
    ReadOnly,
    // Through the typed getter, which appends an absent Directories element to the directory,
    // as every reader of the access layer does.
    AccessLayer,
};

// Visits top and every directory below it in pre-order, subdirectories in document order:
// visit(directory, depth) with depth 0 for top, until it returns false. False when stopped. An
// explicit stack, not recursion: a catalogue from elsewhere may nest deeper than the call stack
// allows; no item list is built.
template <typename TVisit>
bool WalkDirectories(const TXMLDirectoryType& top, TWalkAccess access, TVisit&& visit) {
    auto firstSubdirectory = [access](const TXMLDirectoryType& directory) {
        const pugi::xml_node directories =
            access == TWalkAccess::AccessLayer
                ? directory.Directories().XmlNode()
                : ElementFrom(directory.XmlNode().first_child(), TXMLDirectoriesType::kTag);
        return ElementFrom(directories.first_child(), TXMLDirectoryType::kTag);
    };
    if (!visit(top, 0))
        return false;
    // The next directory to visit at each depth below top.
    std::vector<pugi::xml_node> next{firstSubdirectory(top)};
    while (!next.empty()) {
        const pugi::xml_node node = next.back();
        if (!node) {
            next.pop_back();
            continue;
        }
        next.back() = ElementFrom(node.next_sibling(), TXMLDirectoryType::kTag);
        const TXMLDirectoryType directory(node, top.OwnerDocument(), TXMLBinding::Directory);
        if (!visit(directory, static_cast<int>(next.size())))
            return false;
        next.push_back(firstSubdirectory(directory));
    }
    return true;
}

// The Disc elements of root in document order, read as the access layer counts them but without
// its additions: the first of them (none when there is no Discs), and the one after disc.
inline pugi::xml_node FirstDiscElement(const TXMLOrlentaDataType& root) {
    const pugi::xml_node discs = ElementFrom(root.XmlNode().first_child(), TXMLDiscsType::kTag);
    return ElementFrom(discs.first_child(), TXMLDiscType::kTag);
}

inline pugi::xml_node NextDiscElement(pugi::xml_node disc) {
    return ElementFrom(disc.next_sibling(), TXMLDiscType::kTag);
}

// Calls visit(pugi::xml_node filename) for each Filename of the directory element's first
// Filenames, as the access layer counts them, adding nothing.
template <typename TVisit> void ForEachFilenameElement(pugi::xml_node directory, TVisit&& visit) {
    const pugi::xml_node filenames = ElementFrom(directory.first_child(), TXMLFilenamesType::kTag);
    for (pugi::xml_node item = ElementFrom(filenames.first_child(), TXMLFilenameType::kTag); item;
         item = ElementFrom(item.next_sibling(), TXMLFilenameType::kTag))
        visit(item);
}

} // namespace orlenta
