#include "core/catalogue/TreeDifference.h"

#include "core/catalogue/DirectoryWalk.h"

#include <algorithm>
#include <optional>
#include <unordered_map>

namespace orlenta {

namespace {

struct TEntryValues {
    bool IsDirectory = false;
    std::optional<std::uint64_t> Size;
    std::optional<std::int64_t> Modified;
    bool Matched = false;
};

// Calls visit(path, isDirectory, node) for every directory below top and every file name in
// top and below it, reading the document as it stands.
template <typename TVisit> void VisitEntries(const TXMLDirectoryType& top, TVisit&& visit) {
    std::vector<std::string> prefixes;
    WalkDirectories(top, TWalkAccess::ReadOnly, [&](const TXMLDirectoryType& directory, int depth) {
        prefixes.resize(static_cast<std::size_t>(depth) + 1);
        std::string& path = prefixes[static_cast<std::size_t>(depth)];
        if (depth == 0) {
            path.clear();
        } else {
            path = prefixes[static_cast<std::size_t>(depth) - 1];
            path += '/';
            path += directory.XmlNode().attribute("Name").value();
            visit(path, true, directory.XmlNode());
        }
        const pugi::xml_node filenames =
            ElementFrom(directory.XmlNode().first_child(), TXMLFilenamesType::kTag);
        std::string filePath;
        for (pugi::xml_node file = ElementFrom(filenames.first_child(), TXMLFilenameType::kTag);
             file; file = ElementFrom(file.next_sibling(), TXMLFilenameType::kTag)) {
            filePath = path;
            filePath += '/';
            filePath += file.attribute("Text").value();
            visit(filePath, false, file);
        }
        return true;
    });
}

// Keys carry the kind, so that a file that became a directory of the same name is one removed
// and one added.
std::string Key(const std::string& path, bool isDirectory) {
    std::string key = path;
    key += isDirectory ? 'd' : 'f';
    return key;
}

} // namespace

bool PathLess(const std::string& a, const std::string& b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        if (a[i] == b[i])
            continue;
        if (a[i] == '/' || b[i] == '/')
            return a[i] == '/';
        return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[i]);
    }
    return a.size() < b.size();
}

TTreeDifference DifferenceOfTrees(const TXMLDirectoryType& before, const TXMLDirectoryType& after) {
    std::unordered_map<std::string, TEntryValues> known;
    VisitEntries(before, [&](const std::string& path, bool isDirectory, pugi::xml_node node) {
        known.emplace(Key(path, isDirectory),
                      TEntryValues{isDirectory, RecordedSize(node), RecordedModified(node)});
    });
    TTreeDifference difference;
    VisitEntries(after, [&](const std::string& path, bool isDirectory, pugi::xml_node node) {
        const auto found = known.find(Key(path, isDirectory));
        if (found == known.end()) {
            difference.Changes.push_back({TChangeKind::Added, path, isDirectory});
            return;
        }
        // A name twice in one directory is matched once; the second counts as added.
        if (found->second.Matched) {
            difference.Changes.push_back({TChangeKind::Added, path, isDirectory});
            return;
        }
        found->second.Matched = true;
        if (!isDirectory && (found->second.Size != RecordedSize(node) ||
                             found->second.Modified != RecordedModified(node)))
            difference.Changes.push_back({TChangeKind::Changed, path, false});
    });
    for (const auto& [key, values] : known) {
        if (!values.Matched)
            difference.Changes.push_back(
                {TChangeKind::Removed, key.substr(0, key.size() - 1), values.IsDirectory});
    }
    std::sort(difference.Changes.begin(), difference.Changes.end(),
              [](const TTreeChange& a, const TTreeChange& b) {
                  if (a.Path != b.Path)
                      return PathLess(a.Path, b.Path);
                  // The same path as a file and as a directory: what went before what came.
                  return a.Kind == TChangeKind::Removed && b.Kind != TChangeKind::Removed;
              });
    for (const TTreeChange& change : difference.Changes) {
        switch (change.Kind) {
        case TChangeKind::Added: ++difference.Added; break;
        case TChangeKind::Removed: ++difference.Removed; break;
        case TChangeKind::Changed: ++difference.Changed; break;
        }
    }
    return difference;
}

} // namespace orlenta
