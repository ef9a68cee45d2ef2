#pragma once

// The lock that the writers of a file serialize on when they read it, change it and replace it
// by renaming a new file over it: the profile, the user's default applications, the MIME package.

#include <string>
#include <sys/stat.h>

namespace orlenta {

// True when a and b describe the same file.
inline bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The lock file of the file at path: ".NAME.lock" beside the file the path finally names.
std::string FileLockPath(const std::string& path);

// An exclusive lock on a lock file of its own beside the file, held for as long as the object
// lives. A lock on the file itself would go with the old file at the first replacement, and a
// writer that waited on it would then read a file that is no longer there.
class TFileLock {
public:
    // Takes the lock of the file at path, waiting for as long as another process holds it. A new
    // lock file gets the permission bits of the file (0600 while there is none), so that whoever
    // may write the file may take its lock. Throws "Cannot lock file "%s". %s" with the lock
    // file's path when the lock file cannot be made or opened for writing or the file system
    // offers no locks, and "Cannot open file "%s". It is a FIFO, ..." for something in its place
    // that is not a regular file.
    explicit TFileLock(const std::string& path);
    // Removes the lock file and lets go.
    ~TFileLock();
    TFileLock(const TFileLock&) = delete;
    TFileLock& operator=(const TFileLock&) = delete;

private:
    std::string FLockPath;
    int FFd = -1;
};

} // namespace orlenta
