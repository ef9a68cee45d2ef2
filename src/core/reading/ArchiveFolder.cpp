#include "core/reading/ArchiveFolder.h"

#include "core/base/PathText.h"
#include "core/catalogue/SizeAndDate.h"

#include <vector>

namespace orlenta {

TArchiveFolder::TArchiveFolder(TCatalogueSession& session, const IXMLDirectoryType& parent,
                               std::string_view name, bool recordSizes)
    : FSession(session), FParent(parent), FName(name), FRecordSizes(recordSizes) {}

void TArchiveFolder::Begin(std::string_view format, std::optional<std::int64_t> modified) {
    const IXMLDirectoryType folder = FParent.Directories().Add();
    folder.SetName(FName);
    folder.SetID(std::to_string(FSession.NextDirectoryID()));
    if (FRecordSizes) {
        // The size comes first, as on a directory of the file system; its value is the total.
        folder.SetSize(0);
        if (modified)
            folder.SetModified(*modified);
    }
    folder.SetArchive(format);
    FFolders.push_back(TFolder{folder});
}

TArchiveFolder::TFolder& TArchiveFolder::FolderAt(const std::vector<std::string_view>& components) {
    // Down from the top, making what is missing: a loop, since a crafted path may nest deeper
    // than the call stack would allow.
    TFolder* folder = &FFolders.front();
    for (const std::string_view component : components) {
        // The parent's address, then the child's name.
        FKey.assign(reinterpret_cast<const char*>(&folder), sizeof folder);
        FKey.append(component);
        const auto found = FChildren.find(FKey);
        if (found != FChildren.end()) {
            folder = found->second;
            continue;
        }
        const IXMLDirectoryType element = folder->Element.Directories().Add();
        element.SetName(component);
        element.SetID(std::to_string(FSession.NextDirectoryID()));
        if (FRecordSizes)
            element.SetSize(0);
        TFolder* const child = &FFolders.emplace_back(TFolder{element, folder});
        FChildren.emplace(FKey, child);
        ++FEntryCount;
        folder = child;
    }
    return *folder;
}

void TArchiveFolder::Add(const TArchiveEntry& entry) {
    std::vector<std::string_view>& components = FComponents;
    CleanComponents(entry.Path, components);
    // A file's name is its last component; a header whose path names nothing is still a file
    // of the archive, recorded with the empty name.
    std::string_view fileName;
    if (!entry.IsDirectory && !components.empty()) {
        fileName = components.back();
        components.pop_back();
    }
    TFolder& folder = FolderAt(components);
    if (entry.IsDirectory) {
        if (FRecordSizes && entry.ModifiedKnown && folder.Parent)
            folder.Element.SetModified(entry.Modified);
        return;
    }
    const IXMLFilenameType file = folder.Element.Filenames().Add();
    file.SetText(fileName);
    ++FEntryCount;
    if (!FRecordSizes)
        return;
    if (entry.SizeKnown) {
        file.SetSize(entry.Size);
        // The folders above get it in Finish, once for all files: a walk up from every file
        // would cost the depth of its folder each time.
        folder.Total = SaturatingAdd(folder.Total, entry.Size);
    }
    if (entry.ModifiedKnown)
        file.SetModified(entry.Modified);
}

void TArchiveFolder::Finish() {
    if (!FRecordSizes)
        return;
    // Those below before those above, so each total is whole when it is passed up.
    for (auto folder = FFolders.rbegin(); folder != FFolders.rend(); ++folder) {
        folder->Element.SetSize(folder->Total);
        if (folder->Parent)
            folder->Parent->Total = SaturatingAdd(folder->Parent->Total, folder->Total);
    }
}

} // namespace orlenta
