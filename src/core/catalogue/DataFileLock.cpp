#include "core/catalogue/DataFileLock.h"

#include "core/PathText.h"
#include "core/catalogue/TemporaryFile.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace orlenta {

namespace {

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

} // namespace

bool LockExclusively(int fd, ICatalogueHost& host) {
    // Most waits are for a load or save of a small catalogue: try again at growing intervals
    // first, and only tell the user when it takes a noticeable time.
    using namespace std::chrono_literals;
    const auto announceAt = std::chrono::steady_clock::now() + 1s;
    std::chrono::milliseconds pause = 1ms;
    for (;;) {
        if (flock(fd, LOCK_EX | LOCK_NB) == 0)
            return true;
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK)
            return false;
        if (std::chrono::steady_clock::now() >= announceAt)
            break;
        std::this_thread::sleep_for(pause);
        pause = std::min<std::chrono::milliseconds>(pause * 2, 50ms);
    }
    host.ShowWaiting(kWaitingForAnotherOrlenta);
    int result = 0;
    while ((result = flock(fd, LOCK_EX)) != 0 && errno == EINTR) {
    }
    host.ShowWaiting("");
    return result == 0;
}

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
