#include "core/catalogue/TreeCounts.h"

#include "core/catalogue/DirectoryWalk.h"
#include "core/catalogue/SizeAndDate.h"

#include <vector>

namespace orlenta {

bool IsArchiveFolder(const TXMLDirectoryType& directory) {
    return static_cast<bool>(directory.XmlNode().attribute(kArchiveAttribute));
}

bool HoldsArchives(const TXMLDirectoryType& top) {
    return !WalkDirectories(top, TWalkAccess::ReadOnly,
                            [](const TXMLDirectoryType& directory, int depth) {
                                return depth == 0 || !IsArchiveFolder(directory);
                            });
}

void AddTreeCounts(const TXMLDirectoryType& top, TTreeCounts& counts) {
    // Whether the directory visited last at each depth is inside an archive; the walk is
    // pre-order, so a directory's parent is the last one visited one level up.
    std::vector<bool> inside{false};
    WalkDirectories(top, TWalkAccess::ReadOnly, [&](const TXMLDirectoryType& directory, int depth) {
        inside.resize(static_cast<std::size_t>(depth) + 1);
        bool within = false;
        if (depth > 0) {
            const bool parentWithin = inside[static_cast<std::size_t>(depth) - 1];
            within = parentWithin || IsArchiveFolder(directory);
            if (parentWithin)
                ++counts.ArchiveEntries;
            else if (within)
                ++counts.Archives;
            else
                ++counts.Directories;
        }
        inside[static_cast<std::size_t>(depth)] = within;
        long long files = 0;
        ForEachFilenameElement(directory.XmlNode(), [&files](pugi::xml_node) { ++files; });
        (within ? counts.ArchiveEntries : counts.Files) += files;
        return true;
    });
}

std::optional<std::uint64_t> DiscTotalSize(const IXMLDiscType& disc) {
    // Read from the document as it is: showing a disc must not give it a Root it lacks.
    if (!disc)
        return std::nullopt;
    return RecordedSize(ElementFrom(disc.XmlNode().first_child(), TXMLDirectoryType::kRootTag));
}

std::optional<long long> DiscArchiveEntries(const IXMLDiscType& disc) {
    if (!disc)
        return std::nullopt;
    const pugi::xml_node root =
        ElementFrom(disc.XmlNode().first_child(), TXMLDirectoryType::kRootTag);
    const TXMLDirectoryType top(root, disc.OwnerDocument(), TXMLBinding::Directory);
    if (!root || !HoldsArchives(top))
        return std::nullopt;
    TTreeCounts counts;
    AddTreeCounts(top, counts);
    return counts.ArchiveEntries;
}

} // namespace orlenta
