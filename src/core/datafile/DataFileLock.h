#pragma once

// The lock file beside a data file, on which its writers serialize.

#include "core/base/CatalogueHost.h"

#include <string>

namespace orlenta {

// What a lock is taken for. A writer must hold it before it writes anything, and holds it alone.
// Readers share it: one waits for a writer to finish, and a writer waits for every reader; a
// reader may go without, since a save replaces the data file whole.
enum class TLockPurpose { Reading, Writing };

// The lock that writers of one data file serialize on, and that its readers share. Saving renames
// a new file over the data file, so a lock on the data file itself would be lost with the old
// file; the lock is on a file of its own beside it, which its last holder removes when letting go.
class TDataFileLock {
public:
    // Takes the lock of the data file at path, waiting for another process that holds it. A new
    // lock file gets the data file's read and write permissions and its group (beside a data file
    // not there yet: what a new data file gets), so that whoever may write the data file may take
    // its lock. No lock is taken where nothing can be written: a data file that is no regular file
    // or is the temporary file, a folder in which no file can be made; a save there fails with its
    // own reason. Anywhere else a lock for Writing that cannot be taken throws "Cannot lock "%s".
    // %s" (path as given); a lock for Reading goes without.
    TDataFileLock(const std::string& path, ICatalogueHost& host, TLockPurpose purpose);
    // Removes the lock file, unless another reader still holds it, and lets go.
    ~TDataFileLock();
    TDataFileLock(const TDataFileLock&) = delete;
    TDataFileLock& operator=(const TDataFileLock&) = delete;

    // True when this lock is held and is the lock of the data file at path.
    bool Covers(const std::string& path) const;

private:
    // Throws why a writer cannot have the lock (error: the errno of the failed step), unless the
    // folder takes no new file.
    void RefuseWriting(const std::string& path, int error) const;

    std::string FLockPath;
    int FFd = -1;
    bool FShared = false;
};

} // namespace orlenta
