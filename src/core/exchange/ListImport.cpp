#include "core/exchange/ListImport.h"

#include "core/Clock.h"
#include "core/OrlentaError.h"
#include "core/PathText.h"
#include "core/catalogue/SizeAndDate.h"
#include "core/reading/DiscReading.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <unordered_map>
#include <vector>

namespace orlenta {

namespace {

std::string ReadWholeFile(const std::string& path) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                         &std::fclose);
    if (!file)
        throw CannotOpenFileError(path, errno);
    std::string text;
    char buffer[1 << 16];
    std::size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
        text.append(buffer, count);
    if (std::ferror(file.get()))
        throw CannotOpenFileError(path, errno);
    return text;
}

std::string FileStem(const std::string& path) {
    std::string stem(LastComponent(path));
    const std::size_t dot = stem.rfind('.');
    if (dot != std::string::npos && dot > 0)
        stem.resize(dot);
    return stem;
}

// Builds the tree of one disc from entries whose folders may come in any order.
class TTreeBuilder {
public:
    TTreeBuilder(TCatalogueSession& session, const IXMLDiscType& disc, bool hasSizes)
        : FSession(session), FHasSizes(hasSizes) {
        FDirectories.push_back({disc.Root(), 0, 0, false, {}});
        FByPath.emplace(std::string(), 0);
        if (hasSizes)
            disc.Root().SetSize(0);
    }

    void Add(const TListEntry& entry) {
        if (entry.IsDirectory) {
            const std::size_t index = DirectoryAt(entry.Path, entry.Name);
            TDirectory& directory = FDirectories[index];
            if (entry.Size) {
                directory.Element.SetSize(*entry.Size);
                directory.SizeGiven = true;
            } else if (entry.SizeStated) {
                // The list says it has none: it keeps none.
                directory.Element.XmlNode().remove_attribute(kSizeAttribute);
                directory.SizeGiven = true;
            }
            if (entry.Modified)
                directory.Element.SetModified(*entry.Modified);
            const std::string_view inherited =
                index == 0 ? std::string_view() : FDirectories[directory.Parent].Archive;
            if (!entry.Archive.empty() && entry.Archive != inherited && index != 0) {
                directory.Element.SetArchive(entry.Archive);
                directory.Archive = *directory.Element.Archive();
            }
            return;
        }
        const std::string_view parentPath = ParentPath(entry.Path, entry.Name);
        const std::size_t parent = DirectoryAt(parentPath);
        const IXMLFilenameType file = FDirectories[parent].Element.Filenames().Add();
        file.SetText(entry.Name);
        if (entry.Size)
            file.SetSize(*entry.Size);
        if (entry.Modified)
            file.SetModified(*entry.Modified);
        if (!FDirectories[parent].Archive.empty())
            return;
        ++FFiles;
        if (entry.Size)
            FDirectories[parent].Total = SaturatingAdd(FDirectories[parent].Total, *entry.Size);
    }

    // Writes the counts and the totals of directories whose size the list did not give.
    void Finish(const IXMLDiscType& disc) {
        long long directories = 0;
        for (std::size_t i = FDirectories.size(); i-- > 1;) {
            TDirectory& directory = FDirectories[i];
            directories += directory.Archive.empty();
            if (directory.SizeGiven)
                directory.Total = directory.Element.Size().value_or(0);
            else if (FHasSizes)
                directory.Element.SetSize(directory.Total);
            if (directory.Archive.empty())
                FDirectories[directory.Parent].Total =
                    SaturatingAdd(FDirectories[directory.Parent].Total, directory.Total);
        }
        if (FHasSizes && !FDirectories[0].SizeGiven)
            FDirectories[0].Element.SetSize(FDirectories[0].Total);
        disc.SetDirCount(std::to_string(directories));
        disc.SetFileCount(std::to_string(FFiles));
    }

private:
    struct TDirectory {
        IXMLDirectoryType Element;
        std::size_t Parent = 0;
        std::uint64_t Total = 0;
        bool SizeGiven = false;
        std::string_view Archive; // its own or inherited; points into the document
    };

    static std::string_view ParentPath(std::string_view path, std::string_view name) {
        if (path.size() <= name.size())
            return {};
        return path.substr(0, path.size() - name.size() - 1);
    }

    // The directory at path, made with the folders above it when missing; name is its own name
    // when the list gives one.
    std::size_t DirectoryAt(std::string_view path, std::string_view name = {}) {
        if (path == FLastPath)
            return FLastIndex;
        FKey.assign(path);
        auto found = FByPath.find(FKey);
        std::size_t index = 0;
        if (found != FByPath.end()) {
            index = found->second;
        } else {
            if (name.empty()) {
                const std::size_t slash = path.rfind('/');
                name = slash == std::string_view::npos ? path : path.substr(slash + 1);
            }
            const std::size_t parent = DirectoryAt(ParentPath(path, name));
            index = MakeDirectory(parent, name);
            FByPath.emplace(std::string(path), index);
        }
        FLastPath.assign(path);
        FLastIndex = index;
        return index;
    }

    std::size_t MakeDirectory(std::size_t parent, std::string_view name) {
        const IXMLDirectoryType element = FDirectories[parent].Element.Directories().Add();
        element.SetName(name);
        element.SetID(std::to_string(FSession.NextDirectoryID()));
        // The size comes first, as on a directory read from disc; its value is known at the end.
        if (FHasSizes)
            element.SetSize(0);
        FDirectories.push_back({element, parent, 0, false, FDirectories[parent].Archive});
        return FDirectories.size() - 1;
    }

    TCatalogueSession& FSession;
    bool FHasSizes;
    std::vector<TDirectory> FDirectories;
    std::unordered_map<std::string, std::size_t> FByPath;
    std::string FKey;
    std::string FLastPath = std::string(1, '\0'); // matches no path at first
    std::size_t FLastIndex = 0;
    long long FFiles = 0;
};

} // namespace

IXMLDiscType ImportFileList(TCatalogueSession& session, const std::string& path, TListFormat format,
                            const std::optional<std::string>& title) {
    TFileList list(ReadWholeFile(path), format, path);

    TDiscProperties properties;
    properties.Title = title                       ? *title
                       : !list.DiscTitle().empty() ? list.DiscTitle()
                                                   : FileStem(path);
    properties.ReadDate = TodayDateText();
    // A disc without a source is added as a virtual one; its tree comes from the list.
    TDiscReading reading(session);
    reading.AddDisc({}, false, properties);
    const IXMLDiscType disc = session.XMLDiscData;
    TTreeBuilder builder(session, disc, list.HasSizes());
    list.ForEach([&](const TListEntry& entry) { builder.Add(entry); });
    builder.Finish(disc);
    return disc;
}

} // namespace orlenta
