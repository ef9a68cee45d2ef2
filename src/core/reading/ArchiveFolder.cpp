#include "core/reading/ArchiveFolder.h"

#include "core/catalogue/SizeAndDate.h"

#include <vector>

namespace orlenta {

namespace {

// Splits path at '/' into the components that name something: an empty one (a leading '/' or
// '//'), "." and ".." are dropped, so that no header reaches above the archive's folder.
void CleanComponents(std::string_view path, std::vector<std::string_view>& components) {
    components.clear();
    while (!path.empty()) {
        const std::size_t slash = path.find('/');
        const std::string_view component = path.substr(0, slash);
        if (!component.empty() && component != "." && component != "..")
            components.push_back(component);
        if (slash == std::string_view::npos)
            break;
        path.remove_prefix(slash + 1);
    }
}

} // namespace

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
    FFolders.emplace(std::string(), TFolder{folder});
}

TArchiveFolder::TFolder& TArchiveFolder::FolderAt(std::string_view path) {
    const auto found = FFolders.find(std::string(path));
    if (found != FFolders.end())
        return found->second;
    // Down from the top, making what is missing: a loop, since a crafted path may nest deeper
    // than the call stack would allow.
    TFolder* folder = &FFolders.at(std::string());
    std::size_t begin = 0;
    while (begin <= path.size()) {
        std::size_t end = path.find('/', begin);
        if (end == std::string_view::npos)
            end = path.size();
        const std::string prefix(path.substr(0, end));
        auto [place, added] = FFolders.try_emplace(prefix, TFolder{IXMLDirectoryType(), folder});
        if (added) {
            const IXMLDirectoryType element = folder->Element.Directories().Add();
            element.SetName(path.substr(begin, end - begin));
            element.SetID(std::to_string(FSession.NextDirectoryID()));
            if (FRecordSizes)
                element.SetSize(0);
            place->second.Element = element;
            ++FEntryCount;
        }
        folder = &place->second;
        begin = end + 1;
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
    FPath.clear();
    for (const std::string_view component : components) {
        if (!FPath.empty())
            FPath.push_back('/');
        FPath.append(component);
    }
    TFolder& folder = FolderAt(FPath);
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
        for (TFolder* above = &folder; above; above = above->Parent)
            above->Total = SaturatingAdd(above->Total, entry.Size);
    }
    if (entry.ModifiedKnown)
        file.SetModified(entry.Modified);
}

void TArchiveFolder::Finish() {
    if (!FRecordSizes)
        return;
    for (const auto& [path, folder] : FFolders)
        folder.Element.SetSize(folder.Total);
}

} // namespace orlenta
