#pragma once

#include "core/base/CatalogueHost.h"
#include "core/catalogue/OrlentaData.h"
#include "core/datafile/DataFileLock.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace orlenta {

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
    const IXMLOrlentaDataType& XMLIndexData() const { return FXMLIndexData; }
    // The selected disc, or none.
    const IXMLDiscType& XMLDiscData() const { return FXMLDiscData; }
    // Path of the open catalogue's data file; empty for a catalogue never saved.
    const std::string& OrlentaFilename() const { return FOrlentaFilename; }

    // disc (of the open catalogue) becomes the selected one; an empty handle selects none.
    void SelectDisc(const IXMLDiscType& disc) { FXMLDiscData = disc; }
    // A new, empty disc appended to the open catalogue (a new document when there is none), and
    // selected.
    IXMLDiscType AppendDisc();
    // root becomes the open catalogue (empty: none, as before the first New or Open), no disc
    // selected; the file name stays. For a catalogue made elsewhere, and for taking back one that
    // an operation began.
    void ReplaceCatalogue(IXMLOrlentaDataType root);
    // The data file that LoadDataFile reads and SaveDataFile writes.
    void SetOrlentaFilename(std::string path) { FOrlentaFilename = std::move(path); }

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

    // Reads the data file OrlentaFilename() into the open catalogue. When the file is not valid
    // DEFLATE data it shows "Error reading Orlenta datafile." and returns false, the open
    // catalogue unchanged; other failures throw, among them a text that cannot be XML or would not
    // fit in memory, found while inflating. True when the open catalogue was replaced.
    bool LoadDataFile();

    // Writes the open catalogue to OrlentaFilename() (not empty) and clears FileChanged. The data
    // file is replaced whole or not at all, under its writers' lock (HoldDataFileLock) when the
    // session does not hold it already; when that lock cannot be taken, nothing is written.
    // Throws on failure, FileChanged unchanged.
    void SaveDataFile();

    // Save As: path becomes the catalogue's file name, then SaveDataFile writes it there.
    void SaveDataFileAs(const std::string& path);

    // Takes the lock that writers of the data file at path serialize on and its readers share
    // (waiting for another process whose hold excludes this one) and keeps it until
    // ReleaseDataFileLock or the session's end; a lock held before is let go first. A load, changes
    // and a save of that file in between are one step that no other writer comes between. Throws as
    // TDataFileLock.
    void HoldDataFileLock(const std::string& path, TLockPurpose purpose);
    void ReleaseDataFileLock();

private:
    ICatalogueHost& FHost;
    IXMLOrlentaDataType FXMLIndexData;
    IXMLDiscType FXMLDiscData;
    std::string FOrlentaFilename;
    bool FFileChanged = false;
    std::unique_ptr<TDataFileLock> FHeldLock;
    std::function<uint64_t()> FAvailableMemory;
};

// The data-file lock of path held by session for as long as the object lives.
class THeldDataFileLock {
public:
    THeldDataFileLock(TCatalogueSession& session, const std::string& path,
                      TLockPurpose purpose = TLockPurpose::Writing)
        : FSession(session) {
        FSession.HoldDataFileLock(path, purpose);
    }
    ~THeldDataFileLock() { FSession.ReleaseDataFileLock(); }
    THeldDataFileLock(const THeldDataFileLock&) = delete;
    THeldDataFileLock& operator=(const THeldDataFileLock&) = delete;

private:
    TCatalogueSession& FSession;
};

} // namespace orlenta
