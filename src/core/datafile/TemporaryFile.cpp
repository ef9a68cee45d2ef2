#include "core/datafile/TemporaryFile.h"

#include "core/base/FileLock.h"
#include "core/base/OrlentaError.h"
#include "core/base/PathText.h"
#include "core/datafile/ExclusiveLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orlenta {

namespace {

// The temporary file's name may hold anything another user put there; only a regular file of
// ours that is nothing else under another name is ours to overwrite. A file of another user is
// refused by root too: whoever made it may keep it open and read every catalogue written into it.
void RefuseUnlessPlainFile(const struct stat& info) {
    if (S_ISDIR(info.st_mode))
        throw CannotCreateFileError(kTemporaryFileName, EISDIR);
    if (!S_ISREG(info.st_mode))
        throw CannotCreateNonRegularFileError(kTemporaryFileName, info.st_mode);
    if (info.st_nlink > 1)
        throw CannotCreateLinkedFileError(kTemporaryFileName);
    if (info.st_uid != geteuid())
        throw CannotCreateForeignFileError(kTemporaryFileName);
}

// The file that bears the temporary file's name, locked, and its size and mode once the lock
// was ours.
struct TLockedFile {
    int Descriptor;
    off_t Size;
    mode_t Mode;
};

TLockedFile OpenLocked(ICatalogueHost& host) {
    for (;;) {
        // Looked at before opening, because opening a device may already do something to it.
        struct stat named {};
        if (lstat(kTemporaryFileName, &named) == 0)
            RefuseUnlessPlainFile(named);
        // What stays in it after a failure is a catalogue's text: for its owner's eyes alone.
        const int fd =
            open(kTemporaryFileName,
                 O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0600);
        if (fd < 0) {
            const int error = errno;
            if (error == ELOOP && lstat(kTemporaryFileName, &named) == 0)
                RefuseUnlessPlainFile(named);
            throw CannotCreateFileError(kTemporaryFileName, error);
        }
        struct stat held {};
        try {
            if (fstat(fd, &held) != 0)
                throw CannotCreateFileError(kTemporaryFileName, errno);
            RefuseUnlessPlainFile(held);
        } catch (...) {
            close(fd);
            throw;
        }
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        LockExclusively(fd, host);
        // The process we waited for removed the file when it was done, and another may have made
        // a new one since: only the file that bears the name is the one others lock.
        if (lstat(kTemporaryFileName, &named) == 0 && SameFile(named, held))
            return {fd, named.st_size, named.st_mode};
        close(fd);
    }
}

} // namespace

TTemporaryFile::TTemporaryFile(ICatalogueHost& host) {
    const auto [fd, size, mode] = OpenLocked(host);
    // One left behind by an older version may be readable by others.
    if ((mode & 077) != 0)
        fchmod(fd, 0600);
    // Emptied only now: truncating before the lock was ours would cut another process's text.
    // A file that is empty already (the usual case: it was made just now) is not truncated: on
    // ext4 a truncation to nothing marks the file to be written out when it is closed, which
    // sends all of the text to the disk, tens of milliseconds, after the file has been removed.
    if (size > 0 && ftruncate(fd, 0) != 0) {
        const int error = errno;
        close(fd);
        throw CannotCreateFileError(kTemporaryFileName, error);
    }
    FStream = fdopen(fd, "r+b");
    if (FStream == nullptr) {
        const int error = errno;
        close(fd);
        throw CannotCreateFileError(kTemporaryFileName, error);
    }
    // The XML writer hands over small pieces; a large buffer batches them.
    FBuffer.resize(1 << 18);
    std::setvbuf(FStream, FBuffer.data(), _IOFBF, FBuffer.size());
}

TTemporaryFile::~TTemporaryFile() {
    if (FStream != nullptr)
        std::fclose(FStream);
}

void TTemporaryFile::StartReading() {
    errno = 0;
    if (std::fflush(FStream) != 0 || std::ferror(FStream))
        throw CannotWriteFileError(kTemporaryFileName, errno != 0 ? errno : EIO);
    std::rewind(FStream);
}

void TTemporaryFile::Remove() {
    unlink(kTemporaryFileName);
    std::fclose(FStream);
    FStream = nullptr;
}

bool IsTemporaryFile(const std::string& path) {
    struct stat temporary {};
    struct stat data {};
    if (lstat(kTemporaryFileName, &temporary) == 0 && stat(path.c_str(), &data) == 0 &&
        SameFile(temporary, data))
        return true;
    const std::string target = ResolveLinks(path);
    if (LastComponent(target) != kTemporaryFileName)
        return false;
    struct stat folder {};
    struct stat working {};
    return stat(DirectoryOf(target).c_str(), &folder) == 0 && stat(".", &working) == 0 &&
           SameFile(folder, working);
}

} // namespace orlenta
