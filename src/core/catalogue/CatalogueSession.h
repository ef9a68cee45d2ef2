#pragma once

#include "core/catalogue/OrlentaData.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace orlenta {

// The kinds of message box the program shows.
enum class TMessageKind { Error, Information, Confirmation, Plain };

// What the catalogue operations need from the front end that runs them: the window implements it
// with its widgets, the command-line tool with stderr, tests with a recorder.
class ICatalogueHost {
public:
    virtual ~ICatalogueHost() = default;
    // Enters busy mode with a status text; the empty text leaves it. It does not nest.
    virtual void SetBusy(const std::string& statusText) = 0;
    // FileChanged became changed: the Save command is enabled exactly when it is true.
    virtual void FileChangedSet(bool changed) = 0;
    // A message box of this kind with the one button OK.
    virtual void ShowMessage(TMessageKind kind, const std::string& text) = 0;
    // The operation has been waiting a second for another process to let go of a file: the
    // status text says so; the empty text follows when the wait is over.
    virtual void ShowWaiting(const std::string& statusText) { (void)statusText; }
};

// Busy mode with a status text for as long as the object lives, left however the operation ends.
class TBusyScope {
public:
    TBusyScope(ICatalogueHost& host, const std::string& text) : FHost(host) { FHost.SetBusy(text); }
    ~TBusyScope() { FHost.SetBusy(""); }
    TBusyScope(const TBusyScope&) = delete;
    TBusyScope& operator=(const TBusyScope&) = delete;

private:
    ICatalogueHost& FHost;
};

// A host that shows nothing and answers nothing: for measuring and for tests that only need the
// operations' results.
class TSilentHost : public ICatalogueHost {
public:
    void SetBusy(const std::string&) override {}
    void FileChangedSet(bool) override {}
    void ShowMessage(TMessageKind, const std::string&) override {}
};

// The name of the temporary file of loads and saves, relative to the working directory.
inline constexpr const char* kTemporaryFileName = "Orlenta.tmp";

class TDataFileLock;

// The open catalogue and the toolkit-free operations on it: what the main window owns and the
// command-line tool shares.
class TCatalogueSession {
public:
    explicit TCatalogueSession(ICatalogueHost& host);
    ~TCatalogueSession();
    TCatalogueSession(const TCatalogueSession&) = delete;
    TCatalogueSession& operator=(const TCatalogueSession&) = delete;

    ICatalogueHost& Host() const { return FHost; }

    // Where loads learn how many bytes of memory they may use (a load refuses a text that would
    // not fit); the system's figure when not set. Tests lower it.
    void SetAvailableMemory(std::function<uint64_t()> probe) {
        FAvailableMemory = std::move(probe);
    }

    // Root of the open catalogue; holds the document alive. Empty before the first New or Open.
    IXMLOrlentaDataType XMLIndexData;
    // The selected disc, or none.
    IXMLDiscType XMLDiscData;
    // Path of the open catalogue's data file; empty for a catalogue never saved.
    std::string OrlentaFilename;

    bool FileChanged() const { return FFileChanged; }
    void SetFileChanged(bool changed);

    // The next directory ID of the open catalogue.
    long long NextDirectoryID();

    // A new catalogue becomes the open one: no file, title "Untitled", empty LastDirectoryID,
    // no selected disc.
    void NewCatalogue();

    // Makes the data file at path the open catalogue, its first disc selected. When it cannot be
    // read, the open catalogue (if any) keeps its own file name, its first disc selected, and the
    // failure is shown (false) or thrown. True when the new file was opened.
    bool OpenDataFile(const std::string& path);

    // Reads the data file OrlentaFilename into the open catalogue. When the file is not valid
    // DEFLATE data it shows "Error reading Orlenta datafile." and returns false, the open
    // catalogue unchanged; other failures throw, among them a text that cannot be XML or would not
    // fit in memory, found while inflating. True when the open catalogue was replaced.
    bool LoadDataFile();

    // Writes the open catalogue to OrlentaFilename (not empty) and clears FileChanged. The data
    // file is replaced whole or not at all, under its writers' lock (HoldDataFileLock) when the
    // session does not hold it already. Throws on failure, FileChanged unchanged.
    void SaveDataFile();

    // Takes the lock that writers of the data file at path serialize on (waiting for another
    // process that holds it) and keeps it until ReleaseDataFileLock or the session's end; a lock
    // held before is let go first. A load, changes and a save of that file in between are one
    // step that no other writer comes between.
    void HoldDataFileLock(const std::string& path);
    void ReleaseDataFileLock();

private:
    ICatalogueHost& FHost;
    bool FFileChanged = false;
    std::unique_ptr<TDataFileLock> FHeldLock;
    std::function<uint64_t()> FAvailableMemory;
};

// The data-file lock of path held by session for as long as the object lives.
class THeldDataFileLock {
public:
    THeldDataFileLock(TCatalogueSession& session, const std::string& path) : FSession(session) {
        FSession.HoldDataFileLock(path);
    }
    ~THeldDataFileLock() { FSession.ReleaseDataFileLock(); }
    THeldDataFileLock(const THeldDataFileLock&) = delete;
    THeldDataFileLock& operator=(const THeldDataFileLock&) = delete;

private:
    TCatalogueSession& FSession;
};

} // namespace orlenta
