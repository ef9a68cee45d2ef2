#include "core/exchange/ListImport.h"

#include "core/base/Clock.h"
#include "core/base/OrlentaError.h"
#include "core/base/PathText.h"
#include "core/catalogue/SizeAndDate.h"
#include "core/datafile/DataFile.h"
#include "core/reading/DiscReading.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <deque>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>
#include <vector>

namespace orlenta {

namespace {

// Whether a list may be read from a file of this st_mode: a device or a directory could give
// bytes without end, or none at all.
bool IsListSource(mode_t mode) {
    return S_ISREG(mode) || S_ISFIFO(mode);
}

// Counts the lines of a list as it comes in and stops it at a line longer than any list line
// can be: a stream that never ends a line would otherwise fill the memory.
class TLineBound {
public:
    TLineBound(const std::string& path, TListFormat format) : FPath(path), FFormat(format) {}

    void Check(const char* data, std::size_t size) {
        for (std::size_t i = 0; i < size; ++i) {
            const char c = data[i];
            // A CR alone ends a CSV record, as one before LF ends the line with it.
            if (FPendingCR && c != '\n')
                ++FLines;
            FPendingCR = c == '\r';
            if (c == '\n' || c == '\r' || c == '\0') {
                FLines += c == '\n';
                FRecords += c == '\0';
                FRun = 0;
            } else if (++FRun > kMaxListLineBytes) {
                // A list of NUL-ended records numbers them as its lines.
                const bool nulEnded = FFormat == TListFormat::Find0 || FRecords > 0;
                throw MalformedListLineError(FPath, (nulEnded ? FRecords : FLines) + 1,
                                             "the line is longer than 1 MiB");
            }
        }
    }

private:
    const std::string& FPath;
    TListFormat FFormat;
    std::size_t FRun = 0;
    std::size_t FLines = 0;
    std::size_t FRecords = 0;
    bool FPendingCR = false;
};

std::string ReadListText(const std::string& path, TListFormat format) {
    // Looked at before opening, because opening a device may already do something to it.
    struct stat info {};
    if (stat(path.c_str(), &info) != 0)
        throw CannotOpenFileError(path, errno);
    if (!IsListSource(info.st_mode))
        throw CannotOpenNonListFileError(path, info.st_mode);
    const int fd = open(path.c_str(), O_RDONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        throw CannotOpenFileError(path, errno);
    const TFilePtr file(fdopen(fd, "rb"));
    if (!file) {
        const int error = errno;
        close(fd);
        throw CannotOpenFileError(path, error);
    }
    // What was looked at may have been replaced before the open.
    if (fstat(fd, &info) != 0)
        throw CannotOpenFileError(path, errno);
    if (!IsListSource(info.st_mode))
        throw CannotOpenNonListFileError(path, info.st_mode);
    TLineBound bound(path, format);
    std::string text;
    char buffer[1 << 16];
    std::size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
        bound.Check(buffer, count);
        text.append(buffer, count);
    }
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

// The files named so far, by directory and name: one array with open addressing, since a list
// may name millions of files, and a node of their own would cost each one an allocation and a
// cache miss or two more on every look-up.
class TFileNameTable {
public:
    struct TSlot {
        std::uint64_t Hash = 0; // with its lowest bit set; 0 marks a free slot
        std::uint32_t Parent = 0;
        std::uint32_t NameSize = 0;
        const char* Name = nullptr;
        pugi::xml_node File;
    };

    // The slot of name in directory parent, or nullptr.
    TSlot* Find(std::size_t parent, std::string_view name) {
        if (FSlots.empty())
            return nullptr;
        TSlot& slot = SlotFor(HashOf(parent, name), parent, name);
        return slot.Hash != 0 ? &slot : nullptr;
    }

    // The slot of name in directory parent, and whether it was free and is now taken for it
    // (its Name then views name until the caller points it elsewhere). A later Insert may
    // move every slot.
    std::pair<TSlot*, bool> Insert(std::size_t parent, std::string_view name) {
        if (2 * (FCount + 1) > FSlots.size())
            Grow();
        const std::uint64_t hash = HashOf(parent, name);
        TSlot& slot = SlotFor(hash, parent, name);
        if (slot.Hash != 0)
            return {&slot, false};
        slot = {hash,
                static_cast<std::uint32_t>(parent),
                static_cast<std::uint32_t>(name.size()),
                name.data(),
                {}};
        ++FCount;
        return {&slot, true};
    }

    // Never 0: its lowest bit is set.
    static std::uint64_t HashOf(std::size_t parent, std::string_view name) {
        return (std::hash<std::string_view>()(name) ^ (parent * 0x9E3779B97F4A7C15ull)) | 1;
    }

private:
    TSlot& SlotFor(std::uint64_t hash, std::size_t parent, std::string_view name) {
        const std::size_t mask = FSlots.size() - 1;
        for (std::size_t i = (hash >> 1) & mask;; i = (i + 1) & mask) {
            TSlot& slot = FSlots[i];
            if (slot.Hash == 0 || (slot.Hash == hash && slot.Parent == parent &&
                                   std::string_view(slot.Name, slot.NameSize) == name))
                return slot;
        }
    }

    void Grow() {
        std::vector<TSlot> old(FSlots.empty() ? 1024 : FSlots.size() * 2);
        old.swap(FSlots);
        const std::size_t mask = FSlots.size() - 1;
        for (const TSlot& slot : old) {
            if (slot.Hash == 0)
                continue;
            std::size_t i = (slot.Hash >> 1) & mask;
            while (FSlots[i].Hash != 0)
                i = (i + 1) & mask;
            FSlots[i] = slot;
        }
    }

    std::vector<TSlot> FSlots;
    std::size_t FCount = 0;
};

// Builds the tree of one disc from entries whose folders may come in any order. Paths follow
// the rule of archive headers: empty components, "." and ".." are dropped, so no name is empty
// or leads elsewhere. The tree is made in loops, never by recursion, since a list may name a
// folder deeper than the call stack would allow.
class TTreeBuilder {
public:
    TTreeBuilder(TCatalogueSession& session, const IXMLDiscType& disc, bool hasSizes,
                 std::string listName)
        : FSession(session), FHasSizes(hasSizes), FListName(std::move(listName)) {
        FDirectories.push_back({disc.Root(), 0, 0, false, {}});
        if (hasSizes)
            disc.Root().SetSize(0);
    }

    void Add(const TListEntry& entry) {
        std::string_view name;
        const std::size_t parent = HolderOf(entry, name);
        if (entry.IsDirectory) {
            const bool ownArchive = ArchiveOfItsOwn(parent, entry);
            const std::size_t index =
                name.empty() ? parent : DirectoryIn(parent, name, entry.Line, ownArchive);
            if (!name.empty())
                FByPath.emplace(entry.Path, index);
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
            if (index != 0 && ownArchive) {
                directory.Element.SetArchive(entry.Archive);
                directory.Archive = *directory.Element.Archive();
            }
            return;
        }
        if (name.empty())
            throw MalformedListLineError(FListName, entry.Line, "the path names no file");
        AddFile(parent, name, entry);
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
        // Whether names of either kind stand in it: most folders hold only one kind, and a
        // look-up for the other kind is then spared.
        bool HasDirectories = false;
        bool HasFiles = false;
    };

    // A name in a directory, as the list gives it.
    struct TNameKey {
        std::size_t Parent;
        std::string_view Name;
        bool operator==(const TNameKey&) const = default;
    };
    struct TNameKeyHash {
        std::size_t operator()(const TNameKey& key) const {
            return TFileNameTable::HashOf(key.Parent, key.Name);
        }
    };

    // Whether the directory row entry, below parent, is the folder that holds an archive's
    // contents: it stands beside the archive's file of the same name.
    bool ArchiveOfItsOwn(std::size_t parent, const TListEntry& entry) const {
        return !entry.Archive.empty() && entry.Archive != FDirectories[parent].Archive;
    }

    [[noreturn]] void ThrowFileAndFolder(std::size_t line) const {
        throw MalformedListLineError(FListName, line, "the path names both a file and a folder");
    }

    // The directory that holds the entry, made with the folders above it when missing; name
    // becomes the entry's own name (empty for the top directory). A name the list gives apart
    // is taken whole, as our own export writes names that hold a '/'.
    std::size_t HolderOf(const TListEntry& entry, std::string_view& name) {
        std::string_view parentPath;
        if (entry.Name.empty() || entry.Name == "." || entry.Name == "..") {
            CleanComponents(entry.Path, FComponents);
            if (FComponents.empty()) {
                name = {};
                return 0;
            }
            name = FComponents.back();
            parentPath =
                entry.Path.substr(0, static_cast<std::size_t>(name.data() - entry.Path.data()));
        } else {
            name = entry.Name;
            const std::size_t cut = entry.Path.size() - name.size();
            parentPath = entry.Path.substr(0, cut == 0 ? 0 : cut - 1);
        }
        if (parentPath == FLastPath)
            return FLastIndex;
        std::size_t index = 0;
        FKey.assign(parentPath);
        if (const auto found = FByPath.find(FKey); found != FByPath.end()) {
            index = found->second;
        } else {
            CleanComponents(parentPath, FComponents);
            for (const std::string_view component : FComponents)
                index = DirectoryIn(index, component, entry.Line, false);
        }
        FLastPath.assign(parentPath);
        FLastIndex = index;
        return index;
    }

    // The directory name in parent, made when missing. Outside archives only the folder of an
    // archive's contents (archiveFolder) may share its name with a file.
    std::size_t DirectoryIn(std::size_t parent, std::string_view name, std::size_t line,
                            bool archiveFolder) {
        if (const auto found = FDirectoryNames.find({parent, name}); found != FDirectoryNames.end())
            return found->second;
        if (!archiveFolder && FDirectories[parent].HasFiles && FFileNames.Find(parent, name))
            ThrowFileAndFolder(line);
        return MakeDirectory(parent, name);
    }

    std::size_t MakeDirectory(std::size_t parent, std::string_view name) {
        const IXMLDirectoryType element = FDirectories[parent].Element.Directories().Add();
        element.SetName(name);
        element.SetID(std::to_string(FSession.NextDirectoryID()));
        // The size comes first, as on a directory read from disc; its value is known at the end.
        if (FHasSizes)
            element.SetSize(0);
        FDirectories.push_back({element, parent, 0, false, FDirectories[parent].Archive});
        const std::size_t index = FDirectories.size() - 1;
        FDirectories[parent].HasDirectories = true;
        FDirectoryNames.emplace(TNameKey{parent, KeptName(element.Name(), name)}, index);
        return index;
    }

    // Inside an archive the entries stay as the archive lists them, as reading records them;
    // elsewhere a file listed twice is one file, the values of its later lines taking the place
    // of those before.
    void AddFile(std::size_t parent, std::string_view name, const TListEntry& entry) {
        TDirectory& directory = FDirectories[parent];
        if (!directory.Archive.empty()) {
            AddFilename(directory, name, entry);
            return;
        }
        if (directory.HasDirectories) {
            if (const auto folder = FDirectoryNames.find({parent, name});
                folder != FDirectoryNames.end() && FDirectories[folder->second].Archive.empty())
                ThrowFileAndFolder(entry.Line);
        }
        // One look-up for a new name, the commonest case by far.
        const auto [slot, added] = FFileNames.Insert(parent, name);
        if (added) {
            const IXMLFilenameType file = AddFilename(directory, name, entry);
            const std::string_view kept = KeptName(file.Text(), name);
            slot->Name = kept.data();
            slot->File = file.XmlNode();
            directory.HasFiles = true;
            ++FFiles;
            if (entry.Size)
                directory.Total = SaturatingAdd(directory.Total, *entry.Size);
            return;
        }
        const IXMLFilenameType file(slot->File, FDirectories[0].Element.OwnerDocument(),
                                    TXMLBinding::Filename);
        if (entry.Size) {
            // The later line's size takes the place of the earlier one's.
            directory.Total -= std::min(directory.Total, RecordedSize(slot->File).value_or(0));
            directory.Total = SaturatingAdd(directory.Total, *entry.Size);
            file.SetSize(*entry.Size);
        }
        if (entry.Modified)
            file.SetModified(*entry.Modified);
    }

    static IXMLFilenameType AddFilename(const TDirectory& directory, std::string_view name,
                                        const TListEntry& entry) {
        const IXMLFilenameType file = directory.Element.Filenames().Add();
        file.SetText(name);
        if (entry.Size)
            file.SetSize(*entry.Size);
        if (entry.Modified)
            file.SetModified(*entry.Modified);
        return file;
    }

    // The name as a key that lives as long as the builder: the document's own text where it
    // holds the name as given, a copy where the document had to store it otherwise (bytes that
    // are not UTF-8, characters XML cannot carry).
    std::string_view KeptName(std::string_view stored, std::string_view given) {
        if (stored == given)
            return stored;
        return FOddNames.emplace_back(given);
    }

    TCatalogueSession& FSession;
    bool FHasSizes;
    std::string FListName;
    std::vector<TDirectory> FDirectories;
    std::unordered_map<TNameKey, std::size_t, TNameKeyHash> FDirectoryNames;
    TFileNameTable FFileNames;
    std::deque<std::string> FOddNames;
    // The directories of the list's own directory lines, by the path the list gives them.
    std::unordered_map<std::string, std::size_t> FByPath;
    std::string FKey;
    std::vector<std::string_view> FComponents;
    std::string FLastPath = std::string(1, '\0'); // matches no path at first
    std::size_t FLastIndex = 0;
    long long FFiles = 0;
};

} // namespace

IXMLDiscType ImportFileList(TCatalogueSession& session, const std::string& path, TListFormat format,
                            const std::optional<std::string>& title, bool forSpreadsheets) {
    TFileList list(ReadListText(path, format), format, path, forSpreadsheets);

    TDiscProperties properties;
    properties.Title = title                       ? *title
                       : !list.DiscTitle().empty() ? list.DiscTitle()
                                                   : FileStem(path);
    properties.ReadDate = TodayDateText();
    // A disc without a source is added as a virtual one; its tree comes from the list.
    const bool hadCatalogue = static_cast<bool>(session.XMLIndexData());
    const std::string lastDirectoryID =
        hadCatalogue ? std::string(session.XMLIndexData().LastDirectoryID()) : std::string();
    const IXMLDiscType selected = session.XMLDiscData();
    TDiscReading reading(session);
    reading.AddDisc({}, false, properties);
    const IXMLDiscType disc = session.XMLDiscData();
    try {
        TTreeBuilder builder(session, disc, list.HasSizes(), path);
        list.ForEach([&](const TListEntry& entry) { builder.Add(entry); });
        builder.Finish(disc);
    } catch (...) {
        // Some paths contradict others, which shows only once the tree is made: the disc is
        // taken back, and with it the directory IDs it was given.
        if (hadCatalogue) {
            session.XMLIndexData().Discs().Remove(disc);
            session.XMLIndexData().SetLastDirectoryID(lastDirectoryID);
        } else {
            session.ReplaceCatalogue({});
        }
        session.SelectDisc(selected);
        throw;
    }
    return disc;
}

} // namespace orlenta
