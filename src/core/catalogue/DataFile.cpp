#include "core/catalogue/DataFile.h"

#include "core/OrlentaError.h"

#include <cerrno>
#include <sys/stat.h>

namespace orlenta {

TFilePtr OpenFileForReading(const std::string& path) {
    TFilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file)
        throw CannotOpenFileError(path, errno);
    struct stat info {};
    if (fstat(fileno(file.get()), &info) == 0 && S_ISDIR(info.st_mode))
        throw CannotOpenFileError(path, EISDIR);
    return file;
}

TFilePtr CreateFileForWriting(const std::string& path) {
    TFilePtr file(std::fopen(path.c_str(), "wb"));
    if (!file)
        throw CannotCreateFileError(path, errno);
    return file;
}

} // namespace orlenta
