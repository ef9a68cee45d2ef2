#include "core/datafile/DataFileLock.h"

#include "core/PathText.h"
#include "core/datafile/ExclusiveLock.h"
#include "core/datafile/TemporaryFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orlenta {

std::string DataFileLockPath(const std::string& path) {
    const std::string target = ResolveLinks(path);
    return DirectoryOf(target) + "/." + std::string(LastComponent(target)) + ".lock";
}

TDataFileLock::TDataFileLock(const std::string& path, ICatalogueHost& host)
    : FLockPath(DataFileLockPath(path)) {
    // Only a regular file is ever replaced; anything else is refused by the save itself.
    struct stat data {};
    if ((stat(path.c_str(), &data) == 0 && !S_ISREG(data.st_mode)) || IsTemporaryFile(path))
        return;
    for (;;) {
        // Read-only is enough for flock, so that another user who may write the catalogue can
        // open the lock file too. A link planted in its place is not followed.
        const int fd =
            open(FLockPath.c_str(),
                 O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0644);
        if (fd < 0)
            return;
        struct stat held {};
        if (fstat(fd, &held) != 0 || !S_ISREG(held.st_mode) || !LockExclusively(fd, host)) {
            close(fd);
            return;
        }
        // The holder before us may have removed the file while we waited, and a third process
        // may have made a new one: only the file that bears the name counts.
        struct stat named {};
        if (lstat(FLockPath.c_str(), &named) == 0 && SameFile(named, held)) {
            FFd = fd;
            return;
        }
        close(fd);
    }
}

TDataFileLock::~TDataFileLock() {
    if (FFd < 0)
        return;
    // Removed while still locked: whoever waits on this file finds it gone and starts over.
    unlink(FLockPath.c_str());
    close(FFd);
}

bool TDataFileLock::Covers(const std::string& path) const {
    const std::string lockPath = DataFileLockPath(path);
    if (lockPath == FLockPath)
        return true;
    struct stat named {};
    struct stat held {};
    return FFd >= 0 && lstat(lockPath.c_str(), &named) == 0 && fstat(FFd, &held) == 0 &&
           SameFile(named, held);
}

} // namespace orlenta
