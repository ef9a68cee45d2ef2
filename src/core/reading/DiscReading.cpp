#include "core/reading/DiscReading.h"

#include "core/base/DecimalText.h"
#include "core/base/OrlentaError.h"
#include "core/base/PathText.h"
#include "core/catalogue/SizeAndDate.h"
#include "core/reading/ArchiveFolder.h"
#include "core/reading/ArchiveLister.h"

#include <cstdio>
#include <ctime>
#include <sys/stat.h>

namespace orlenta {

namespace {

constexpr const char* kUnitName = "MainFormUnit";

IXMLDirectoryType AsDirectory(const TXMLNode& node) {
    return IXMLDirectoryType(node.XmlNode(), node.OwnerDocument(), node.Binding());
}

} // namespace

TDiscReading::TDiscReading(TCatalogueSession& session) : FSession(session) {
    FDirReader.SetRecursive(true);
    FDirReader.SetFilemask("*.*");
    FDirReader.SetOnDirectoryFound([this](TDirReader& sender, std::string_view directory) {
        DirectoryFoundHandler(sender, directory);
    });
    FDirReader.SetOnReady([this](TDirReader& sender) { ReadyHandler(sender); });
}

TAddDiscResult TDiscReading::AddDisc(const std::string& source, bool includeFilenames,
                                     const TDiscProperties& properties) {
    if (!source.empty() && !IsExistingDirectory(source)) {
        FSession.Host().ShowMessage(TMessageKind::Information, kInvalidDirectoryText);
        return TAddDiscResult::InvalidDirectory;
    }
    FIncludeFilenames = includeFilenames;
    FDirReader.SetStatEntries(FRecordSizes);
    // Without file names the files are still walked when their sizes make the totals.
    if (includeFilenames || FRecordSizes) {
        FDirReader.SetOnFileFound([this](TDirReader& sender, std::string_view fileName) {
            FileFoundHandler(sender, fileName);
        });
    } else {
        FDirReader.SetOnFileFound(nullptr);
    }
    const IXMLDiscType disc = FSession.AppendDisc();
    disc.Root().SetID(std::to_string(FSession.NextDirectoryID()));
    WriteDiscProperties(disc, properties);
    // Where to read it again when the disc is brought up to date.
    if (!source.empty())
        disc.SetSource(AbsolutePath(source));
    if (OnDiscPanelCleared)
        OnDiscPanelCleared();
    LastParentDirectory = source;
    LastXMLDirectory = disc.Root();
    FOpenDirectories.clear();
    FUnreadableDirectories.clear();
    FArchiveCount = 0;
    FArchivesNotWhole = 0;
    FArchiveEntryCount = 0;
    if (FRecordSizes)
        FOpenDirectories.push_back({disc.Root()});

    if (source.empty()) {
        if (OnReady)
            OnReady();
        return TAddDiscResult::Added;
    }

    if (OnReadingStarts)
        OnReadingStarts(disc);
    FSession.Host().SetBusy("Reading disc information...");
    FReadyFired = false;
    try {
        FDirReader.SetDirectory(source);
        FDirReader.Start();
    } catch (...) {
        // Without a walk there was no ready event to undo what was shown and leave busy mode.
        if (!FReadyFired) {
            if (OnReadingNotStarted)
                OnReadingNotStarted();
            FSession.Host().SetBusy("");
        }
        throw;
    }
    return TAddDiscResult::Added;
}

std::string UnreadableDirectoriesText(const TDiscReading& reading, std::string_view outcome) {
    const auto& unreadable = reading.UnreadableDirectories();
    if (unreadable.empty())
        return {};
    // A few paths show where to look; a whole locked-down tree would bury the message.
    constexpr std::size_t kPathsShown = 5;
    std::string text =
        std::to_string(unreadable.size()) +
        (unreadable.size() == 1 ? " folder could not be read" : " folders could not be read");
    if (!outcome.empty())
        text.append("; ").append(outcome);
    text += ':';
    for (std::size_t i = 0; i < unreadable.size() && i < kPathsShown; ++i) {
        std::string_view path = unreadable[i].Path;
        if (path.size() > 1 && path.back() == '/')
            path.remove_suffix(1);
        text += "\n  ";
        text += path;
    }
    if (unreadable.size() > kPathsShown)
        text += "\n  and " + std::to_string(unreadable.size() - kPathsShown) + " more";
    return text;
}

void TDiscReading::ReadyHandler(TDirReader& /*sender*/) {
    // However the walk ended, every directory still open gets the total of what was found.
    while (!FOpenDirectories.empty())
        CloseDirectory();
    FReadyFired = true;
    if (OnReady)
        OnReady();
}

void TDiscReading::DirectoryFoundHandler(TDirReader& sender, std::string_view directory) {
    if (OnDirectoryFound)
        OnDirectoryFound(directory);
    const TEntryStatus& status = sender.EntryStatus();
    // The disc's Root already stands for the start directory.
    if (directory == sender.Directory()) {
        if (sender.DirectoryUnreadable())
            FUnreadableDirectories.push_back({std::string(directory), LastXMLDirectory});
        if (FRecordSizes && status.Known) {
            FOpenDirectories.front().Known = true;
            LastXMLDirectory.SetSize(0);
            LastXMLDirectory.SetModified(status.Modified);
        }
        return;
    }
    if (!LastXMLDirectory)
        throw EAssertionFailed(
            "TOrlentaForm.DirectoryFoundHandler -> LastXMLDirectory not Assigned", kUnitName, 192);
    const IXMLDiscType& disc = FSession.XMLDiscData();
    disc.SetDirCount(IncrementedDecimal(disc.DirCount()));
    const IXMLDirectoryType parent = CheckParentDirectory(directory);
    LastXMLDirectory = parent;
    LastParentDirectory = directory;
    LastXMLDirectory = parent.Directories().Add();
    LastXMLDirectory.SetName(LastComponent(directory));
    LastXMLDirectory.SetID(std::to_string(FSession.NextDirectoryID()));
    if (sender.DirectoryUnreadable())
        FUnreadableDirectories.push_back({std::string(directory), LastXMLDirectory});
    if (FRecordSizes) {
        FOpenDirectories.push_back({LastXMLDirectory, 0, status.Known});
        if (status.Known) {
            // The size comes first, as on a file name; its value is the total, known at the end.
            LastXMLDirectory.SetSize(0);
            LastXMLDirectory.SetModified(status.Modified);
        }
    }
}

void TDiscReading::FileFoundHandler(TDirReader& sender, std::string_view fileName) {
    if (!LastXMLDirectory)
        throw EAssertionFailed("TOrlentaForm.FileFoundHandler  ->  LastXMLDirectory not assigned",
                               kUnitName, 341);
    const IXMLDirectoryType parent = CheckParentDirectory(fileName);
    const TEntryStatus& status = sender.EntryStatus();
    if (FRecordSizes && status.Known)
        FOpenDirectories.back().Total = SaturatingAdd(FOpenDirectories.back().Total, status.Size);
    if (!FIncludeFilenames)
        return;
    const IXMLDiscType& disc = FSession.XMLDiscData();
    disc.SetFileCount(IncrementedDecimal(disc.FileCount()));
    const IXMLFilenameType file = parent.Filenames().Add();
    file.SetText(LastComponent(fileName));
    if (FRecordSizes && status.Known) {
        file.SetSize(status.Size);
        file.SetModified(status.Modified);
    }
    if (FReadArchives)
        ReadArchive(parent, fileName, status);
}

void TDiscReading::ReadArchive(const IXMLDirectoryType& parent, std::string_view path,
                               const TEntryStatus& status) {
    if (!FDirReader.Active())
        return; // stopped meanwhile
    TArchiveFolder folder(FSession, parent, LastComponent(path), FRecordSizes);
    const std::optional<std::int64_t> modified =
        status.Known ? std::optional<std::int64_t>(status.Modified) : std::nullopt;
    // Stop is checked per entry and inside an entry's data: one archive may hold millions of
    // entries, and one compressed entry gigabytes.
    const auto keepGoing = [this] {
        FDirReader.ProcessEvents();
        return FDirReader.Active();
    };
    const TArchiveListing listing = ListArchive(
        std::string(path),
        [&](std::string_view format) {
            folder.Begin(format, modified);
            if (OnArchiveFound)
                OnArchiveFound(path);
        },
        [&](const TArchiveEntry& entry) {
            folder.Add(entry);
            return keepGoing();
        },
        keepGoing);
    if (listing == TArchiveListing::NotAnArchive)
        return;
    folder.Finish();
    ++FArchiveCount;
    FArchiveEntryCount += folder.EntryCount();
    if (listing == TArchiveListing::Broken)
        ++FArchivesNotWhole;
}

void TDiscReading::CloseDirectory() {
    const TOpenDirectory closed = FOpenDirectories.back();
    FOpenDirectories.pop_back();
    if (closed.Known)
        closed.Element.SetSize(closed.Total);
    if (!FOpenDirectories.empty())
        FOpenDirectories.back().Total = SaturatingAdd(FOpenDirectories.back().Total, closed.Total);
}

IXMLDirectoryType TDiscReading::CheckParentDirectory(std::string_view path) {
    if (!LastXMLDirectory)
        throw EAssertionFailed("TOrlentaForm.CheckParentDirectory -> LastXMLDirectory not Assigned",
                               kUnitName, 157);
    const std::string_view parentPath = ExtractParentPath(path);
    std::string_view current = LastParentDirectory;
    IXMLDirectoryType element = LastXMLDirectory;
    // The reader finishes a subtree before the next entry of its parent, so the parent is the
    // last reported directory or one of its ancestors: climb path and element in step.
    if (current == parentPath)
        return element;
    while (current != parentPath) {
        current = ExtractParentPath(current);
        const TXMLNode holder = element.ParentNode().ParentNode();
        if (!holder.Is(TXMLBinding::Directory)) {
            while (FOpenDirectories.size() > 1)
                CloseDirectory();
            element = FSession.XMLDiscData().Root();
            break;
        }
        if (FOpenDirectories.size() > 1)
            CloseDirectory();
        element = AsDirectory(holder);
    }
    // Each step up closed a directory for good: the next entry must start from here, or it
    // would climb again and close the parent too, while the parent's files are still coming.
    LastParentDirectory.assign(parentPath);
    LastXMLDirectory = element;
    return element;
}

} // namespace orlenta
