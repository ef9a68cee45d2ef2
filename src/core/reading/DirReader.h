#pragma once

// TDirReader walks a directory tree and reports every directory and file it meets. It knows
// nothing of discs or catalogues. The walk is synchronous: Start returns when it is over, and
// after every entry the reader calls OnProcessEvents so that a window can repaint and take a
// Stop from its button.

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace orlenta {

class TDirReader;

// A file passed the filters; fileName is its full path. The view dies with the call.
using TFileFoundEvent = std::function<void(TDirReader& sender, std::string_view fileName)>;
// A directory is about to be walked; directory is its full path, ending in '/'. The view dies
// with the call.
using TDirectoryFoundEvent = std::function<void(TDirReader& sender, std::string_view directory)>;
// A walk is over, however it ended.
using TReadyEvent = std::function<void(TDirReader& sender)>;
// Lets the front end run its pending events; called after every entry, so it should be cheap
// and decide for itself how often it does real work.
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

    // Directories that are neither reported nor entered; compared without ASCII case, with or
    // without a trailing '/'.
    std::vector<std::string>& ExcludeDirs() { return FExcludeDirs; }
    const std::vector<std::string>& ExcludeDirs() const { return FExcludeDirs; }

    const TFileFoundEvent& OnFileFound() const { return FFileFound; }
    void SetOnFileFound(TFileFoundEvent handler) { FFileFound = std::move(handler); }
    const TDirectoryFoundEvent& OnDirectoryFound() const { return FDirectoryFound; }
    void SetOnDirectoryFound(TDirectoryFoundEvent handler) { FDirectoryFound = std::move(handler); }
    const TReadyEvent& OnReady() const { return FReady; }
    void SetOnReady(TReadyEvent handler) { FReady = std::move(handler); }
    const TProcessEventsEvent& OnProcessEvents() const { return FProcessEvents; }
    void SetOnProcessEvents(TProcessEventsEvent handler) { FProcessEvents = std::move(handler); }

private:
    // One directory's entries, read whole and sorted before any is reported. Kept per depth so
    // that their buffers are reused from one directory to the next.
    struct TEntry {
        std::uint32_t Offset;
        std::uint32_t Length;
        bool IsDirectory;
    };
    struct TLevel {
        std::string Names;
        std::vector<TEntry> Entries;
        int Fd =
            -1; // open while the entries are walked, so that subdirectories open relative to it
    };
    struct TFileId {
        dev_t Device;
        ino_t Inode;
    };

    void Walk();
    void WalkDirectory(std::size_t depth);
    // Opens the directory at FPath into the level's descriptor, relative to the level above when
    // that is open. False when it cannot be opened or is already on the walk path.
    bool OpenLevel(std::size_t depth, bool& onWalkPath);
    // Fills level with the sorted entries of the directory open in level.Fd.
    void ReadEntries(TLevel& level);
    bool IsExcluded(std::string_view directory) const;
    bool PassesFilter(std::string_view name) const;
    bool PassesDelays() const;
    void ProcessEvents();

    std::string FDirectory;
    std::string FFileMask;
    bool FActive = false;
    bool FRecursive = false;
    std::int32_t FDelayTimeStamp = 0;
    std::int32_t FDelayLastAccess = 0;
    std::vector<std::string> FExcludeDirs;
    TFileFoundEvent FFileFound;
    TDirectoryFoundEvent FDirectoryFound;
    TReadyEvent FReady;
    TProcessEventsEvent FProcessEvents;

    // Walk state: the path of the entry at hand (one buffer for the whole walk), the entry lists
    // of the open levels, and the identities of the directories on the way down, which keep a
    // link back to an ancestor from being entered again.
    std::string FPath;
    std::deque<TLevel> FLevels;
    std::vector<TFileId> FWalkPath;
    std::vector<char> FDirentBuffer;
};

} // namespace orlenta
