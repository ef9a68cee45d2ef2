#pragma once

// The directory element that holds an archive's contents: it stands beside the archive's own
// Filename, is named like it and bears the format in Archive. The archive's folders become
// Directory elements below it and its files Filename elements, however the headers name them:
// a name is data and never leads out of this folder.

#include "core/catalogue/CatalogueSession.h"
#include "core/reading/ArchiveLister.h"

#include <cstdint>
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
        std::uint64_t Total = 0;
    };

    // The folder for path (components joined by '/', without empty, "." or ".." ones), made
    // with those above it when missing.
    TFolder& FolderAt(std::string_view path);

    TCatalogueSession& FSession;
    IXMLDirectoryType FParent;
    std::string FName;
    bool FRecordSizes;
    std::uint64_t FEntryCount = 0;
    // Keyed by the cleaned path below the folder; "" is the folder itself. Node-based, so the
    // Parent pointers stay valid as it grows.
    std::unordered_map<std::string, TFolder> FFolders;
    // The cleaned path of the entry at hand, one buffer for the whole archive.
    std::string FPath;
    std::vector<std::string_view> FComponents;
};

} // namespace orlenta
