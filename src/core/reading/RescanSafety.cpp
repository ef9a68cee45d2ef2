#include "core/reading/RescanSafety.h"

#include "core/base/PathText.h"
#include "core/catalogue/DirectoryWalk.h"

#include <cstdio>
#include <mntent.h>
#include <sys/stat.h>

namespace orlenta {

namespace {

struct TEntryCounts {
    std::size_t Directories = 0; // below the top
    std::size_t Files = 0;
};

TEntryCounts CountEntries(const TXMLDirectoryType& top) {
    TEntryCounts counts;
    WalkDirectories(top, TWalkAccess::ReadOnly, [&](const TXMLDirectoryType& directory, int depth) {
        if (depth > 0)
            ++counts.Directories;
        ForEachFilenameElement(directory.XmlNode(), [&](pugi::xml_node) { ++counts.Files; });
        return true;
    });
    return counts;
}

TEntryCounts CountRemoved(const TTreeDifference& difference) {
    TEntryCounts counts;
    for (const TTreeChange& change : difference.Changes) {
        if (change.Kind != TChangeKind::Removed)
            continue;
        ++(change.IsDirectory ? counts.Directories : counts.Files);
    }
    return counts;
}

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

std::string Plural(std::size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

} // namespace

bool IsUnmountedMountPoint(const std::string& directory, const std::string& fileSystemTable) {
    const std::string wanted = AbsolutePath(directory);
    FILE* table = ::setmntent(fileSystemTable.c_str(), "r");
    if (table == nullptr)
        return false;
    bool listed = false;
    while (const mntent* entry = ::getmntent(table)) {
        if (entry->mnt_dir != nullptr && AbsolutePath(entry->mnt_dir) == wanted) {
            listed = true;
            break;
        }
    }
    ::endmntent(table);
    if (!listed || wanted == "/")
        return false;
    struct stat own {};
    struct stat parent {};
    if (::stat(wanted.c_str(), &own) != 0 || ::stat((wanted + "/..").c_str(), &parent) != 0)
        return false;
    return own.st_dev == parent.st_dev;
}

std::optional<TRescanWarning> RescanWarning(const TXMLDirectoryType& before,
                                            const TXMLDirectoryType& after,
                                            const TTreeDifference& difference,
                                            const std::string& source,
                                            const std::string& fileSystemTable) {
    const TEntryCounts held = CountEntries(before);
    if (held.Files == 0 && held.Directories == 0)
        return std::nullopt; // nothing to lose
    const TEntryCounts removed = CountRemoved(difference);
    const bool everyFileGoes =
        held.Files > 0 ? removed.Files >= held.Files : removed.Directories >= held.Directories;
    if (!everyFileGoes)
        return std::nullopt;
    const std::string lost = held.Files > 0 ? Plural(held.Files, "file", "files") + " and " +
                                                  Plural(held.Directories, "folder", "folders")
                                            : Plural(held.Directories, "folder", "folders");
    if (IsUnmountedMountPoint(source, fileSystemTable))
        return TRescanWarning{TRescanRisk::NotMounted,
                              "Nothing is mounted on " + Quoted(source) +
                                  ": applying would remove all " + lost +
                                  " of the disc. Mount it and rescan again."};
    const TEntryCounts found = CountEntries(after);
    if (found.Files == 0 && found.Directories == 0)
        return TRescanWarning{TRescanRisk::SourceEmpty,
                              "The folder " + Quoted(source) +
                                  " is empty: applying would remove all " + lost +
                                  " of the disc. Is the disc mounted?"};
    return TRescanWarning{TRescanRisk::RemovesEveryFile, "No file of the disc is left in " +
                                                             Quoted(source) +
                                                             ": applying would remove all " + lost +
                                                             ". Is this the right disc or folder?"};
}

} // namespace orlenta
