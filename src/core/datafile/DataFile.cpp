#include "core/datafile/DataFile.h"

#include "core/base/OrlentaError.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orlenta {

namespace {

[[noreturn]] void ThrowNotRegular(const std::string& path, unsigned mode) {
    if (S_ISDIR(mode))
        throw CannotOpenFileError(path, EISDIR);
    throw CannotOpenNonRegularFileError(path, mode);
}

} // namespace

TFilePtr OpenFileForReading(const std::string& path) {
    // Looked at before opening, because opening a device may already do something to it.
    struct stat info {};
    if (stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode))
        ThrowNotRegular(path, info.st_mode);
    // Without O_NONBLOCK a FIFO put there in the meantime would hold the open until a writer came.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        throw CannotOpenFileError(path, errno);
    if (fstat(fd, &info) != 0) {
        const int error = errno;
        close(fd);
        throw CannotOpenFileError(path, error);
    }
    if (!S_ISREG(info.st_mode)) {
        close(fd);
        ThrowNotRegular(path, info.st_mode);
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    TFilePtr file(fdopen(fd, "rb"));
    if (!file) {
        const int error = errno;
        close(fd);
        throw CannotOpenFileError(path, error);
    }
    return file;
}

} // namespace orlenta
