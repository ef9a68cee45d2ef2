#include "core/catalogue/TreeDifference.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace orlenta {

namespace {

// A directory of before and the one of after that bears its path, with that path.
struct TDirectoryPair {
    pugi::xml_node Before;
    pugi::xml_node After;
    std::string Path;
};

std::string_view NameOf(pugi::xml_node entry, const char* attribute) {
    return entry.attribute(attribute).value();
}

std::string Joined(const std::string& directory, std::string_view name) {
    std::string path = directory;
    path += '/';
    path += name;
    return path;
}

// The entries of one kind directly in a directory: its Filename elements or its Directory ones.
template <typename TVisit>
void ForEachChild(pugi::xml_node directory, const char* holderTag, const char* tag,
                  TVisit&& visit) {
    const pugi::xml_node holder = ElementFrom(directory.first_child(), holderTag);
    for (pugi::xml_node child = ElementFrom(holder.first_child(), tag); child;
         child = ElementFrom(child.next_sibling(), tag))
        visit(child);
}

// Directories are matched by name under matched parents and files by name in matched
// directories, each through a small table of one directory's names: no path is built but for a
// change, and a catalogue of a million files costs a pass over each tree.
class TDifferenceBuilder {
public:
    explicit TDifferenceBuilder(TTreeDifference& difference) : FDifference(difference) {}

    void Compare(pugi::xml_node before, pugi::xml_node after) {
        std::vector<TDirectoryPair> pending{{before, after, std::string()}};
        while (!pending.empty()) {
            const TDirectoryPair pair = std::move(pending.back());
            pending.pop_back();
            CompareFiles(pair);
            CompareDirectories(pair, pending);
        }
    }

private:
    void Note(TChangeKind kind, std::string path, bool isDirectory) {
        FDifference.Changes.push_back({kind, std::move(path), isDirectory});
    }

    void CompareFiles(const TDirectoryPair& pair) {
        FNames.clear();
        ForEachChild(
            pair.Before, TXMLFilenamesType::kTag, TXMLFilenameType::kTag,
            [&](pugi::xml_node file) { FNames.emplace(NameOf(file, kTextAttribute), file); });
        ForEachChild(pair.After, TXMLFilenamesType::kTag, TXMLFilenameType::kTag,
                     [&](pugi::xml_node file) {
                         const std::string_view name = NameOf(file, kTextAttribute);
                         const auto found = FNames.find(name);
                         if (found == FNames.end()) {
                             Note(TChangeKind::Added, Joined(pair.Path, name), false);
                             return;
                         }
                         const pugi::xml_node known = found->second;
                         FNames.erase(found);
                         if (RecordedSize(known) != RecordedSize(file) ||
                             RecordedModified(known) != RecordedModified(file))
                             Note(TChangeKind::Changed, Joined(pair.Path, name), false);
                     });
        for (const auto& [name, file] : FNames)
            Note(TChangeKind::Removed, Joined(pair.Path, name), false);
    }

    void CompareDirectories(const TDirectoryPair& pair, std::vector<TDirectoryPair>& pending) {
        FNames.clear();
        ForEachChild(pair.Before, TXMLDirectoriesType::kTag, TXMLDirectoryType::kTag,
                     [&](pugi::xml_node directory) {
                         FNames.emplace(NameOf(directory, kNameAttribute), directory);
                     });
        // Collected first: the table is reused by the subtrees listed below.
        std::vector<std::pair<pugi::xml_node, std::string>> added;
        ForEachChild(pair.After, TXMLDirectoriesType::kTag, TXMLDirectoryType::kTag,
                     [&](pugi::xml_node directory) {
                         const std::string_view name = NameOf(directory, kNameAttribute);
                         const auto found = FNames.find(name);
                         if (found == FNames.end()) {
                             added.emplace_back(directory, Joined(pair.Path, name));
                             return;
                         }
                         pending.push_back({found->second, directory, Joined(pair.Path, name)});
                         FNames.erase(found);
                     });
        std::vector<std::pair<pugi::xml_node, std::string>> removed;
        for (const auto& [name, directory] : FNames)
            removed.emplace_back(directory, Joined(pair.Path, name));
        for (auto& [directory, path] : added)
            NoteSubtree(TChangeKind::Added, directory, std::move(path));
        for (auto& [directory, path] : removed)
            NoteSubtree(TChangeKind::Removed, directory, std::move(path));
    }

    // The directory at path and everything in it, all added or all removed.
    void NoteSubtree(TChangeKind kind, pugi::xml_node top, std::string path) {
        std::vector<std::pair<pugi::xml_node, std::string>> pending{{top, std::move(path)}};
        while (!pending.empty()) {
            auto [directory, directoryPath] = std::move(pending.back());
            pending.pop_back();
            ForEachChild(directory, TXMLFilenamesType::kTag, TXMLFilenameType::kTag,
                         [&](pugi::xml_node file) {
                             Note(kind, Joined(directoryPath, NameOf(file, kTextAttribute)), false);
                         });
            ForEachChild(directory, TXMLDirectoriesType::kTag, TXMLDirectoryType::kTag,
                         [&](pugi::xml_node child) {
                             pending.emplace_back(
                                 child, Joined(directoryPath, NameOf(child, kNameAttribute)));
                         });
            Note(kind, std::move(directoryPath), true);
        }
    }

    TTreeDifference& FDifference;
    // One directory's names of one kind; a name twice in a directory is matched once per copy.
    std::unordered_multimap<std::string_view, pugi::xml_node> FNames;
};

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
    TTreeDifference difference;
    TDifferenceBuilder(difference).Compare(before.XmlNode(), after.XmlNode());
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
