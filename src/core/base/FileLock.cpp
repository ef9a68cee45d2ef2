#include "core/base/FileLock.h"

#include "core/base/OrlentaError.h"
#include "core/base/PathText.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orlenta {

namespace {

// The lock file at lockPath opened for writing, made with mode when missing; -1 with errno set.
// A link planted in its place is not followed.
int OpenLockFile(const std::string& lockPath, mode_t mode) {
    constexpr int kFlags = O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    for (;;) {
        int fd = open(lockPath.c_str(), kFlags | O_CREAT | O_EXCL, mode);
        if (fd >= 0) {
            // The umask must not lock out another user who may write the file; at worst the
            // lock file keeps what the umask left.
            (void)fchmod(fd, mode);
            return fd;
        }
        if (errno != EEXIST)
            return -1;
        fd = open(lockPath.c_str(), kFlags);
        // ENOENT: its holder removed it between the two calls.
        if (fd >= 0 || errno != ENOENT)
            return fd;
    }
}

} // namespace

std::string FileLockPath(const std::string& path) {
    const std::string target = ResolveLinks(path);
    return DirectoryOf(target) + "/." + std::string(LastComponent(target)) + ".lock";
}

TFileLock::TFileLock(const std::string& path) : FLockPath(FileLockPath(path)) {
    // Read and write for its owner whatever the file allows: the maker's other processes open it
    // for writing too.
    struct stat guarded {};
    const mode_t mode = stat(path.c_str(), &guarded) == 0 && S_ISREG(guarded.st_mode)
                            ? (guarded.st_mode & 0666) | S_IRUSR | S_IWUSR
                            : S_IRUSR | S_IWUSR;
    for (;;) {
        // Open for writing: over NFS an exclusive flock needs a descriptor open for writing.
        const int fd = OpenLockFile(FLockPath, mode);
        if (fd < 0)
            throw CannotLockFileError(FLockPath, errno);
        struct stat held {};
        if (fstat(fd, &held) != 0) {
            const int error = errno;
            close(fd);
            throw CannotLockFileError(FLockPath, error);
        }
        if (!S_ISREG(held.st_mode)) {
            close(fd);
            throw CannotOpenNonRegularFileError(FLockPath, held.st_mode);
        }
        // Waits without a word: whoever holds it reads and writes a small file, or at most
        // rebuilds a MIME cache, and lets go.
        int result = 0;
        while ((result = flock(fd, LOCK_EX)) != 0 && errno == EINTR) {
        }
        if (result != 0) {
            const int error = errno;
            close(fd);
            throw CannotLockFileError(FLockPath, error);
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

TFileLock::~TFileLock() {
    // Removed while still locked: whoever waits on this file finds it gone and starts over.
    unlink(FLockPath.c_str());
    close(FFd);
}

} // namespace orlenta
