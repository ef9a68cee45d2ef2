#include "core/datafile/AtomicFile.h"

#include "core/base/OrlentaError.h"
#include "core/base/PathText.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orlenta {

namespace {

unsigned CurrentUmask() {
    const mode_t mask = umask(0);
    umask(mask);
    return mask;
}

} // namespace

TAtomicFile::TAtomicFile(const std::string& path) : FPath(path), FTargetPath(ResolveLinks(path)) {
    struct stat info {};
    if (stat(FTargetPath.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode))
            throw CannotCreateFileError(FPath, EISDIR);
        // A FIFO or a device is no file to put a catalogue in, and renaming over it would
        // swap a device node for a regular file.
        if (!S_ISREG(info.st_mode))
            throw CannotCreateNonRegularFileError(FPath, info.st_mode);
        // Even where the system would let us (as root), a file without any write permission
        // is one its owner meant to keep as it is.
        if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
            throw CannotCreateFileError(FPath, EACCES);
        const int probe = open(FTargetPath.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (probe < 0)
            throw CannotCreateFileError(FPath, errno);
        close(probe);
        FTargetExists = true;
        FMode = info.st_mode & 07777;
        FUid = info.st_uid;
        FGid = info.st_gid;
    } else {
        FMode = 0666 & ~CurrentUmask();
    }
    std::string pattern =
        DirectoryOf(FTargetPath) + "/." + std::string(LastComponent(FTargetPath)) + ".XXXXXX";
    FFd = mkostemp(pattern.data(), O_CLOEXEC);
    if (FFd < 0)
        throw CannotCreateFileError(FPath, errno);
    FNewPath = pattern;
}

TAtomicFile::~TAtomicFile() {
    if (FFd >= 0)
        close(FFd);
    if (!FNewPath.empty())
        unlink(FNewPath.c_str());
}

void TAtomicFile::ThrowWriteError(int errnoValue) const {
    throw CannotWriteFileError(FPath, errnoValue);
}

void TAtomicFile::Write(const char* data, size_t size) {
    while (size > 0) {
        const ssize_t written = write(FFd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            ThrowWriteError(errno);
        }
        data += written;
        size -= static_cast<size_t>(written);
    }
}

void TAtomicFile::Commit() {
    if (FTargetExists) {
        // The group first and on its own: any member of it may give it, so that a catalogue
        // shared through its group stays shared when another member saves it. Without it the
        // new file keeps the saver's group (only the permissions are kept then).
        [[maybe_unused]] const int keptGroup = fchown(FFd, static_cast<uid_t>(-1), FGid);
        // Only a privileged user may give a file away; for anyone else it stays the saver's.
        if (FUid != geteuid()) {
            [[maybe_unused]] const int keptOwner = fchown(FFd, FUid, static_cast<gid_t>(-1));
        }
    }
    // Last: a change of owner or group clears the set-user-ID and set-group-ID bits.
    if (fchmod(FFd, FMode) != 0)
        ThrowWriteError(errno);
    if (fsync(FFd) != 0)
        ThrowWriteError(errno);
    const int fd = FFd;
    FFd = -1;
    if (close(fd) != 0)
        ThrowWriteError(errno);
    if (rename(FNewPath.c_str(), FTargetPath.c_str()) != 0)
        ThrowWriteError(errno);
    FNewPath.clear();
    // Make the rename itself durable.
    const int directory =
        open(DirectoryOf(FTargetPath).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (directory >= 0) {
        fsync(directory);
        close(directory);
    }
}

} // namespace orlenta
