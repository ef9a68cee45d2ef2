#include "core/datafile/ExclusiveLock.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <sys/file.h>
#include <thread>

namespace orlenta {

namespace {

// operation: LOCK_EX or LOCK_SH.
bool WaitForLock(int fd, ICatalogueHost& host, int operation) {
    // Most waits are for a load or save of a small catalogue: try again at growing intervals
    // first, and only tell the user when it takes a noticeable time.
    using namespace std::chrono_literals;
    const auto announceAt = std::chrono::steady_clock::now() + 1s;
    std::chrono::milliseconds pause = 1ms;
    for (;;) {
        if (flock(fd, operation | LOCK_NB) == 0)
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
    while ((result = flock(fd, operation)) != 0 && errno == EINTR) {
    }
    // The caller may want to say why the lock could not be had.
    const int error = errno;
    host.ShowWaiting("");
    errno = error;
    return result == 0;
}

} // namespace

bool LockExclusively(int fd, ICatalogueHost& host) {
    return WaitForLock(fd, host, LOCK_EX);
}

bool LockShared(int fd, ICatalogueHost& host) {
    return WaitForLock(fd, host, LOCK_SH);
}

} // namespace orlenta
