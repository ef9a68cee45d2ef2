#pragma once

// The lock file beside a data file, on which its writers serialize.

#include "core/CatalogueHost.h"

#include <string>

namespace orlenta {

// The lock file of the data file at path: ".NAME.lock" beside the file the path finally names.
std::string DataFileLockPath(const std::string& path);

// The lock that writers of one data file serialize on. Saving renames a new file over the data
// file, so a lock on the data file itself would be lost with the old file; the lock is on a file
// of its own beside it, which its holder removes when letting go.
class TDataFileLock {
public:
    // Takes the lock of the data file at path, waiting for another process that holds it. Where
    // the lock file cannot be made (a folder that cannot be written, a file system without
    // locks) the lock is not taken: nobody can replace the data file there either, and a save
    // reports why.
    TDataFileLock(const std::string& path, ICatalogueHost& host);
    // Removes the lock file and lets go.
    ~TDataFileLock();
    TDataFileLock(const TDataFileLock&) = delete;
    TDataFileLock& operator=(const TDataFileLock&) = delete;

    // True when this is the lock of the data file at path.
    bool Covers(const std::string& path) const;

private:
    std::string FLockPath;
    int FFd = -1;
};

} // namespace orlenta
