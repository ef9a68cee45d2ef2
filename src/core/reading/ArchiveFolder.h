#pragma once

// The directory element that holds an archive's contents: it stands beside the archive's own
// Filename, is named like it and bears the format in Archive. The archive's folders become
// Directory elements below it and its files Filename elements, however the headers name them:
// a name is data and never leads out of this folder.

#include "core/catalogue/CatalogueSession.h"
#include "core/reading/ArchiveLister.h"

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace orlenta {

class TArchiveFolder {
public:
    // The folder goes into parent, named name, once Begin is called; its directories take their
    // IDs from session. With recordSizes, files get the sizes and dates of their headers and
    // folders the totals of the files below them.
    TArchiveFolder(TCatalogueSession& session, const IXMLDirectoryType& parent,
                   std::string_view name, bool recordSizes);
    TArchiveFolder(const TArchiveFolder&) = delete;
    TArchiveFolder& operator=(const TArchiveFolder&) = delete;

    // Appends the folder with its format; modified is the archive file's own time, if known.
    void Begin(std::string_view format, std::optional<std::int64_t> modified);
    // Records one header below the folder. Empty, "." and ".." components of its path are left
    // out; backslashes, drive letters and any other bytes stay part of the names.
    void Add(const TArchiveEntry& entry);
    // Writes the folders' totals.
    void Finish();

    // The elements recorded below the folder so far: its files and folders.
    std::uint64_t EntryCount() const { return FEntryCount; }

private:
    struct TFolder {
        IXMLDirectoryType Element;
        TFolder* Parent = nullptr;
        std::uint64_t Total = 0; // of the files right in it until Finish, then of all below
    };

    // The folder that components (without empty, "." or ".." ones) name below the archive's
    // folder, made with those above it when missing.
    TFolder& FolderAt(const std::vector<std::string_view>& components);

    TCatalogueSession& FSession;
    IXMLDirectoryType FParent;
    std::string FName;
    bool FRecordSizes;
    std::uint64_t FEntryCount = 0;
    // In the order made, so a folder comes before those below it; the first is the archive's
    // folder itself. A deque, so the Parent pointers stay valid as it grows.
    std::deque<TFolder> FFolders;
    // Each folder below another, keyed by its parent's address followed by its own name: a key
    // holds one name, not the whole path, so a path nested n deep costs memory and time in
    // proportion to n, not to its square.
    std::unordered_map<std::string, TFolder*> FChildren;
    // The key being looked up, and the components of the entry at hand: one buffer each for
    // the whole archive.
    std::string FKey;
    std::vector<std::string_view> FComponents;
};

} // namespace orlenta
