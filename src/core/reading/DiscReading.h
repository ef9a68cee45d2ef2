#pragma once

// Adding a disc to the open catalogue and reading it: the toolkit-free part of Disc, Add and the
// handlers that turn the directory reader's events into Directory and Filename elements. The
// window and the command-line tool both drive it; they bind the hooks below to show what goes on.

#include "core/catalogue/CatalogueSession.h"
#include "core/catalogue/DiscProperties.h"
#include "core/reading/DirReader.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace orlenta {

// How an Add ended.
enum class TAddDiscResult {
    Added,            // a disc was appended (read, stopped, or virtual)
    InvalidDirectory, // the source is not an existing directory; nothing changed
};

// The text shown when the source is not an existing directory.
inline constexpr const char* kInvalidDirectoryText = "Invalid directory.";

class TDiscReading;

// What to tell the user of the directories the last reading could not read: their count, what
// became of them (outcome, if any) and the first few paths, one a line ("2 folders could not be
// read; outcome:\n  /src/a\n  /src/b"). Empty when every directory was read.
std::string UnreadableDirectoriesText(const TDiscReading& reading, std::string_view outcome);

class TDiscReading {
public:
    // The reader is set up recursive with the mask "*.*" and its directory and ready events
    // bound here; a front end binds OnProcessEvents on DirReader() itself.
    explicit TDiscReading(TCatalogueSession& session);
    TDiscReading(const TDiscReading&) = delete;
    TDiscReading& operator=(const TDiscReading&) = delete;

    TCatalogueSession& Session() const { return FSession; }
    TDirReader& DirReader() { return FDirReader; }

    // Front-end hooks; an unassigned one is not called.
    // The walk of disc is about to begin: show its title and the progress window, disable the
    // main window. Busy mode is entered right after, through the catalogue host.
    std::function<void(const TXMLDiscType& disc)> OnReadingStarts;
    // A directory was reported (the start directory too): the progress label.
    std::function<void(std::string_view directory)> OnDirectoryFound;
    // The disc is complete (walk over, stopped, or failed; or a virtual disc): the ready handler,
    // which also leaves busy mode. Called once per Add that appended a disc and began its walk.
    std::function<void()> OnReady;
    // An archive was found at path (a file's full path) and its contents are being listed: the
    // progress label, which otherwise stands still while a large archive is read.
    std::function<void(std::string_view path)> OnArchiveFound;
    // The reader refused to start (the source vanished after the check): undo OnReadingStarts.
    // Busy mode is left by this class; the error then reaches the caller of AddDisc.
    std::function<void()> OnReadingNotStarted;
    // The main window's disc panel is to show no disc, before the new one is filled.
    std::function<void()> OnDiscPanelCleared;

    // Adds one disc with these dialog values and reads source into it (an empty source gives a
    // virtual disc). An error inside the walk reaches the caller after OnReady; what was
    // recorded stays.
    TAddDiscResult AddDisc(const std::string& source, bool includeFilenames,
                           const TDiscProperties& properties);
    // Whether the next readings record sizes and dates (off until set): each file name its size
    // and modification time, each directory and the Root the total size of the files below it
    // and its own time. Without file names the directories still get theirs.
    bool RecordSizes() const { return FRecordSizes; }
    void SetRecordSizes(bool value) { FRecordSizes = value; }

    // Whether the next readings also record what archives hold (off until set): each file that
    // is an archive by its content gets a directory of the same name beside it, bearing the
    // format, with the archive's folders and files below. Only with file names; off, reading
    // costs nothing more.
    bool ReadArchives() const { return FReadArchives; }
    void SetReadArchives(bool value) { FReadArchives = value; }
    // Of the last reading: the archives whose contents were recorded, how many of them could not
    // be read whole (corrupt, truncated, encrypted headers), and the folders and files recorded
    // inside archives.
    std::uint64_t ArchiveCount() const { return FArchiveCount; }
    std::uint64_t ArchivesNotWhole() const { return FArchivesNotWhole; }
    std::uint64_t ArchiveEntryCount() const { return FArchiveEntryCount; }

    // A directory of the last reading that could not be listed, or not whole (see
    // TDirReader::DirectoryUnreadable): its full path as the reader gave it, and its element,
    // which holds only what could be listed. The disc's Root when the source itself could not be.
    struct TUnreadableDirectory {
        std::string Path;
        IXMLDirectoryType Element;
    };
    const std::vector<TUnreadableDirectory>& UnreadableDirectories() const {
        return FUnreadableDirectories;
    }

    // Ends a running reading at the reader's next check; what was recorded stays.
    void StopReading() { FDirReader.Stop(); }

private:
    void DirectoryFoundHandler(TDirReader& sender, std::string_view directory);
    void FileFoundHandler(TDirReader& sender, std::string_view fileName);
    // The directory element under which path belongs, climbing from the last reported directory.
    IXMLDirectoryType CheckParentDirectory(std::string_view path);

    // The path of the directory whose element LastXMLDirectory holds.
    std::string LastParentDirectory;
    // The directory element appended last during the reading; at first the new disc's Root.
    IXMLDirectoryType LastXMLDirectory;

    // A directory between the Root and the last one reported, with the total of the file sizes
    // found below it so far; written when the walk leaves it.
    struct TOpenDirectory {
        IXMLDirectoryType Element;
        std::uint64_t Total = 0;
        bool Known = false; // its stat worked: it gets a size and a time
    };

    void ReadyHandler(TDirReader& sender);
    // Writes the last open directory's total and adds it to its parent's.
    void CloseDirectory();
    // Records the contents of the file at path, in parent, when it is an archive. They stay out
    // of the totals of the directories above: those keep counting the file system.
    void ReadArchive(const IXMLDirectoryType& parent, std::string_view path,
                     const TEntryStatus& status);

    std::vector<TOpenDirectory> FOpenDirectories;
    std::vector<TUnreadableDirectory> FUnreadableDirectories;
    bool FRecordSizes = false;
    bool FIncludeFilenames = false;
    bool FReadArchives = false;
    std::uint64_t FArchiveCount = 0;
    std::uint64_t FArchivesNotWhole = 0;
    std::uint64_t FArchiveEntryCount = 0;

    TCatalogueSession& FSession;
    TDirReader FDirReader;
    bool FReadyFired = false;
};

} // namespace orlenta
