#include "core/datafile/DataFileLock.h"

#include "core/base/FileLock.h"
#include "core/base/OrlentaError.h"
#include "core/base/PathText.h"
#include "core/datafile/ExclusiveLock.h"
#include "core/datafile/TemporaryFile.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orlenta {

namespace {

// A link planted in the lock file's place is not followed, and a FIFO does not block.
constexpr int kLockOpenFlags = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;

// True when the running user may make files in folder. Where it may not, no save can replace a
// data file there either (the new file is made beside it), and the save says why.
bool FolderTakesNewFiles(const std::string& folder) {
    return faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

void GiveDataFilePermissions(int fd, const struct stat& data) {
    // Only a member of the data file's group may give it; without it the permissions for others
    // still let the others in.
    [[maybe_unused]] const int ignored = fchown(fd, static_cast<uid_t>(-1), data.st_gid);
    fchmod(fd, data.st_mode & 0666);
}

// A new lock file at lockPath, open for reading and writing, or -1 with errno (EEXIST: another
// process made one first). Beside an existing data file (data) it bears its name only once it has
// the data file's permissions and group: a maker whose umask keeps others out must not keep out,
// even for a moment, another user who may write the catalogue.
int CreateLockFile(const std::string& lockPath, const struct stat* data) {
    if (data == nullptr)
        return open(lockPath.c_str(), O_RDWR | O_CREAT | O_EXCL | kLockOpenFlags, 0666);
    std::string pattern = lockPath + ".XXXXXX";
    const int fd = mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0)
        return -1;
    GiveDataFilePermissions(fd, *data);
    const int linked = link(pattern.c_str(), lockPath.c_str());
    const int error = errno;
    unlink(pattern.c_str());
    if (linked == 0)
        return fd;
    close(fd);
    if (error != EPERM && error != EOPNOTSUPP && error != ENOSYS) {
        errno = error;
        return -1;
    }
    // A file system without hard links: made under its name, its permissions given right after.
    const int made = open(lockPath.c_str(), O_RDWR | O_CREAT | O_EXCL | kLockOpenFlags, 0600);
    if (made >= 0)
        GiveDataFilePermissions(made, *data);
    return made;
}

} // namespace

TDataFileLock::TDataFileLock(const std::string& path, ICatalogueHost& host, TLockPurpose purpose)
    : FLockPath(FileLockPath(path)) {
    // Only a regular file is ever replaced; anything else is refused by the save itself.
    struct stat data {};
    const bool dataExists = stat(path.c_str(), &data) == 0;
    if ((dataExists && !S_ISREG(data.st_mode)) || IsTemporaryFile(path))
        return;
    const bool writing = purpose == TLockPurpose::Writing;
    for (;;) {
        // Open for writing: on NFS flock takes an exclusive lock only through such a descriptor.
        int fd = open(FLockPath.c_str(), O_RDWR | kLockOpenFlags);
        if (fd < 0 && errno == ENOENT) {
            fd = CreateLockFile(FLockPath, dataExists ? &data : nullptr);
            if (fd < 0 && errno == EEXIST)
                continue;
        }
        // Someone who may only read the catalogue may not open its lock for writing; a local
        // flock works through a descriptor for reading too.
        if (fd < 0 && errno == EACCES && !writing)
            fd = open(FLockPath.c_str(), O_RDONLY | kLockOpenFlags);
        if (fd < 0) {
            if (writing)
                RefuseWriting(path, errno);
            return;
        }
        struct stat held {};
        if (fstat(fd, &held) != 0 || !S_ISREG(held.st_mode) ||
            !(writing ? LockExclusively(fd, host) : LockShared(fd, host))) {
            const int error = errno;
            close(fd);
            if (writing)
                RefuseWriting(path, error);
            return;
        }
        // The holder before us may have removed the file while we waited, and a third process
        // may have made a new one: only the file that bears the name counts.
        struct stat named {};
        if (lstat(FLockPath.c_str(), &named) == 0 && SameFile(named, held)) {
            FFd = fd;
            FShared = !writing;
            return;
        }
        close(fd);
    }
}

TDataFileLock::~TDataFileLock() {
    if (FFd < 0)
        return;
    // Removed while still locked: whoever waits on this file finds it gone and starts over. A
    // reader may remove it only once it is the last: a writer that made a new file while another
    // reader still holds this one would not wait for that reader. Trading the shared lock for an
    // exclusive one that is not waited for succeeds only for the last holder; the others let go.
    if (!FShared || flock(FFd, LOCK_EX | LOCK_NB) == 0)
        unlink(FLockPath.c_str());
    close(FFd);
}

void TDataFileLock::RefuseWriting(const std::string& path, int error) const {
    if (!FolderTakesNewFiles(DirectoryOf(FLockPath)))
        return;
    struct stat named {};
    if (lstat(FLockPath.c_str(), &named) == 0 && !S_ISREG(named.st_mode))
        throw CannotLockNonRegularFileError(path, std::string(LastComponent(FLockPath)),
                                            named.st_mode);
    throw CannotLockError(path, error);
}

bool TDataFileLock::Covers(const std::string& path) const {
    if (FFd < 0)
        return false;
    const std::string lockPath = FileLockPath(path);
    if (lockPath == FLockPath)
        return true;
    struct stat named {};
    struct stat held {};
    return lstat(lockPath.c_str(), &named) == 0 && fstat(FFd, &held) == 0 && SameFile(named, held);
}

} // namespace orlenta
