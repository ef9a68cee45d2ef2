#pragma once

// The walk that every export shares: a disc's directories in document order with the path of
// each below the disc's top directory and the archive its entries come from. It reads the DOM as
// it stands, so exporting adds nothing to the catalogue.

#include "core/catalogue/DirectoryWalk.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orlenta {

// A directory as the export walk reports it.
struct TExportDirectory {
    pugi::xml_node Node;      // the Root or a Directory
    int Depth = 0;            // 0 for the Root
    std::string_view Name;    // "" for the Root
    std::string_view Path;    // below the top directory, '/' between names; "" for the Root
    std::string_view Archive; // its own Archive, else its nearest ancestor's; "" when none
};

// Calls visit(const TExportDirectory&) for the disc's Root and every directory below it, in
// pre-order; the views die with the call. No allocation per directory beyond the path's growth.
template <typename TVisit>
void WalkExportDirectories(const TXMLDirectoryType& root, TVisit&& visit) {
    std::string path;
    std::vector<std::size_t> pathEnds;
    std::vector<std::string_view> archives;
    WalkDirectories(
        root, TWalkAccess::ReadOnly, [&](const TXMLDirectoryType& directory, int depth) {
            const pugi::xml_node node = directory.XmlNode();
            const auto level = static_cast<std::size_t>(depth);
            pathEnds.resize(level + 1);
            archives.resize(level + 1);
            std::string_view name;
            if (depth > 0) {
                name = node.attribute(kNameAttribute).value();
                path.resize(pathEnds[level - 1]);
                if (!path.empty())
                    path.push_back('/');
                path.append(name);
            }
            pathEnds[level] = path.size();
            const pugi::xml_attribute archive = node.attribute(kArchiveAttribute);
            archives[level] = archive ? std::string_view(archive.value())
                                      : (depth > 0 ? archives[level - 1] : std::string_view());
            visit(TExportDirectory{node, depth, name, path, archives[level]});
            return true;
        });
}

// The discs an export writes, with their indexes: every disc, or the one at only (when given).
inline std::vector<std::pair<int, pugi::xml_node>> ExportedDiscs(const TXMLOrlentaDataType& root,
                                                                 std::optional<int> only) {
    std::vector<std::pair<int, pugi::xml_node>> chosen;
    int index = 0;
    for (pugi::xml_node disc = FirstDiscElement(root); disc;
         disc = NextDiscElement(disc), ++index) {
        if (!only || *only == index)
            chosen.emplace_back(index, disc);
    }
    return chosen;
}

} // namespace orlenta
