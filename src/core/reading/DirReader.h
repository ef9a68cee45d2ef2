#pragma once

// TDirReader walks a directory tree and reports every directory and file it meets. It knows
// nothing of discs or catalogues. The walk is synchronous: Start returns when it is over, and
// after every entry, also while a directory is being listed, the reader calls OnProcessEvents so
// that a window can repaint and take a Stop from its button.

#include "core/reading/EntryStatus.h"
#include "core/reading/FileIdSet.h"
#include "core/reading/PseudoFileSystems.h"
#include "core/reading/StatAhead.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace orlenta {

class TDirReader;

// A file passed the filters; fileName is its full path. The view dies with the call.
using TFileFoundEvent = std::function<void(TDirReader& sender, std::string_view fileName)>;
// A directory is about to be walked; directory is its full path, ending in '/'. One that is not
// entered (unreadable, read already in this walk, or on a pseudo file system) is reported too,
// with nothing below it. The view dies with the call.
using TDirectoryFoundEvent = std::function<void(TDirReader& sender, std::string_view directory)>;
// A walk is over, however it ended.
using TReadyEvent = std::function<void(TDirReader& sender)>;
// Lets the front end run its pending events; called after every entry listed and every entry
// walked, so it should be cheap and decide for itself how often it does real work.
using TProcessEventsEvent = std::function<void(TDirReader& sender)>;

class TDirReader {
public:
    TDirReader();
    virtual ~TDirReader();
    TDirReader(const TDirReader&) = delete;
    TDirReader& operator=(const TDirReader&) = delete;

    // True while a walk runs.
    bool Active() const { return FActive; }
    // true walks Directory and returns when the walk is over; false stops a running walk at its
    // next check. Either fails when Directory is not an existing directory (unless unchanged).
    // true does nothing while a walk runs, also while a stopped one is still unwinding.
    void SetActive(bool value);
    void Start() { SetActive(true); }
    void Stop() { SetActive(false); }

    bool Recursive() const { return FRecursive; }
    void SetRecursive(bool value) { FRecursive = value; }

    // The start directory, always ending in '/'.
    const std::string& Directory() const { return FDirectory; }
    // Fails while a walk runs, and for an empty value or one that is not an existing directory.
    void SetDirectory(const std::string& value);

    // "*.*" passes every file; any other mask passes the files with the mask's extension.
    const std::string& Filemask() const { return FFileMask; }
    void SetFilemask(const std::string& value) { FFileMask = value; }

    // Minimum distance in seconds of a file's last write (last access) from now; 0 = no test.
    // Negative values are stored as their absolute value.
    std::int32_t DelayTimeStamp() const { return FDelayTimeStamp; }
    void SetDelayTimeStamp(std::int32_t value);
    std::int32_t DelayLastAccess() const { return FDelayLastAccess; }
    void SetDelayLastAccess(std::int32_t value);

    // Whether every reported entry is stat'ed, for EntryStatus; off by default.
    bool StatEntries() const { return FStatEntries; }
    void SetStatEntries(bool value) { FStatEntries = value; }
    // During OnFileFound and OnDirectoryFound, with StatEntries on: what the stat of the reported
    // entry found (a directory's own time; the size of a directory means nothing).
    const TEntryStatus& EntryStatus() const { return FEntryStatus; }
    // During OnDirectoryFound: whether the directory could not be listed, or not whole (denied,
    // or a read error part way). Such a directory is reported with what could be listed, which
    // is not what it holds. A directory left out on purpose (read already, on a pseudo file
    // system) or gone since its parent was listed is not counted as unreadable.
    bool DirectoryUnreadable() const { return FDirectoryUnreadable; }
    // Whether a second thread stats files ahead of the walk (on by default). Then a file may be
    // stat'ed a little before it is reported, and a name that goes in between keeps its values.
    bool StatAhead() const { return FStatAheadWanted; }
    void SetStatAhead(bool value) { FStatAheadWanted = value; }

    // Directories that are neither reported nor entered; compared without ASCII case, with or
    // without a trailing '/'.
    std::vector<std::string>& ExcludeDirs() { return FExcludeDirs; }
    const std::vector<std::string>& ExcludeDirs() const { return FExcludeDirs; }

    // Handlers may be replaced at any time, also from inside their own call.
    const TFileFoundEvent& OnFileFound() const;
    void SetOnFileFound(TFileFoundEvent handler);
    const TDirectoryFoundEvent& OnDirectoryFound() const;
    void SetOnDirectoryFound(TDirectoryFoundEvent handler);
    const TReadyEvent& OnReady() const;
    void SetOnReady(TReadyEvent handler);
    const TProcessEventsEvent& OnProcessEvents() const;
    void SetOnProcessEvents(TProcessEventsEvent handler);
    // Gives the front end its turn, as after every entry: for long work done inside the report
    // of one entry, such as listing an archive, so that the window moves and Stop is taken.
    void ProcessEvents();

private:
    // One directory's entries, read whole and sorted before any is reported. Kept per depth so
    // that their buffers are reused from one directory to the next.
    struct TEntry {
        std::uint32_t Offset;
        std::uint32_t Length;
        bool IsDirectory;
        std::uint32_t Slot = 0; // a file's place in the level's batch
    };
    struct TLevel {
        std::string Names;
        std::vector<TEntry> Entries;
        std::size_t Next = 0;     // the entry to walk next
        std::size_t PathSize = 0; // FPath's length for this directory, its '/' included
        // Open while the entries are walked, so that subdirectories open relative to it; let go
        // when descriptors run short, and opened again when needed.
        int Fd = -1;
        dev_t Device = 0; // which directory Fd must be when it is opened again
        ino_t Inode = 0;
        // The files to report, stat'ed by this thread and FStatAhead's, when sizes are wanted.
        std::shared_ptr<TStatBatch> Batch;
    };

    void Walk();
    // Reports the directory at FPath and reads its entries into the level. True when the walk
    // goes on into it; false when it is excluded, cannot be read, must not be entered, or the
    // walk was stopped while it was listed.
    bool BeginDirectory(std::size_t depth);
    void EndDirectory(std::size_t depth);
    // Opens the directory at FPath into the level. False when it cannot be opened, lies on a
    // pseudo file system, or was already read in this walk.
    bool OpenLevel(std::size_t depth);
    // Fills level with the sorted entries of the directory open in level.Fd; the front end gets
    // its turn after each, and a Stop ends the listing.
    void ReadEntries(TLevel& level);
    // The level's descriptor, opened again along FPath when it was let go; -1 when that fails.
    int LevelFd(std::size_t depth);
    // openat for a directory; when descriptors run short, lets go of open levels (never level 0
    // nor keep) and tries again.
    int OpenDirectory(int directoryFd, const char* name, std::size_t keep);
    // Lets go of the open level nearest the start directory, other than level 0 and keep.
    bool ReleaseShallowest(std::size_t keep);
    void CloseLevel(std::size_t depth);
    void CloseLevels();
    bool IsExcluded(std::string_view directory) const;
    bool PassesFilter(std::string_view name) const;
    bool PassesDelays(std::size_t depth);
    // Hands the level's files that will be reported to the second stat thread.
    void SubmitStats(TLevel& level);

    std::string FDirectory;
    std::string FFileMask;
    bool FActive = false;
    bool FRecursive = false;
    bool FStatEntries = false;
    bool FStatAheadWanted = true;
    TEntryStatus FEntryStatus;
    bool FDirectoryUnreadable = false;
    std::int32_t FDelayTimeStamp = 0;
    std::int32_t FDelayLastAccess = 0;
    std::vector<std::string> FExcludeDirs;
    // Shared, so that a call holds its handler alive when the handler is replaced meanwhile;
    // copying the pointer costs less than copying the callable for each of a million entries.
    // Empty when unassigned.
    std::shared_ptr<const TFileFoundEvent> FFileFound;
    std::shared_ptr<const TDirectoryFoundEvent> FDirectoryFound;
    std::shared_ptr<const TReadyEvent> FReady;
    std::shared_ptr<const TProcessEventsEvent> FProcessEvents;

    // Walk state: whether a walk is on the call stack (FActive turns false as soon as it is
    // stopped), the path of the entry at hand (one buffer for the whole walk), the levels from
    // the start directory down with how many of them hold a descriptor and may, and the
    // directories read so far, which are never entered twice.
    bool FWalking = false;
    std::string FPath;
    std::deque<TLevel> FLevels;
    std::size_t FOpenLevels = 0;
    std::size_t FMaxOpenLevels = 0;
    TFileIdSet FReadDirectories;
    TPseudoFileSystems FPseudoFileSystems;
    std::vector<char> FDirentBuffer;
    // During a walk with StatEntries: the second thread that stats files ahead of the walk.
    std::unique_ptr<TStatAhead> FStatAhead;
};

} // namespace orlenta
