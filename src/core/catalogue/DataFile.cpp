// Loading and saving the data file: the XML text passes through the temporary file in the working
// directory, and the data file holds it as one raw DEFLATE stream.

#include "core/OrlentaError.h"
#include "core/catalogue/AtomicFile.h"
#include "core/catalogue/CatalogueSession.h"
#include "core/catalogue/RawDeflate.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <sys/stat.h>

namespace orlenta {

namespace {

struct TFileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using TFilePtr = std::unique_ptr<std::FILE, TFileCloser>;

TFilePtr OpenForReading(const std::string& path) {
    TFilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file)
        throw CannotOpenFileError(path, errno);
    struct stat info {};
    if (fstat(fileno(file.get()), &info) == 0 && S_ISDIR(info.st_mode))
        throw CannotOpenFileError(path, EISDIR);
    return file;
}

TFilePtr CreateForWriting(const std::string& path) {
    TFilePtr file(std::fopen(path.c_str(), "wb"));
    if (!file)
        throw CannotCreateFileError(path, errno);
    return file;
}

} // namespace

bool TCatalogueSession::LoadDataFile() {
    TBusyScope busy(FHost, "Loading datafile...");
    TFilePtr dataFile = OpenForReading(OrlentaFilename);
    TFilePtr temporaryFile = CreateForWriting(kTemporaryFileName);
    bool inflated = InflateRaw(dataFile.get(), temporaryFile.get());
    if (std::fclose(temporaryFile.release()) != 0)
        inflated = false;
    dataFile.reset();
    if (!inflated) {
        FHost.ShowMessage(TMessageKind::Error, "Error reading Orlenta datafile.");
        return false;
    }
    IXMLOrlentaDataType loaded = LoadOrlentaData(kTemporaryFileName);
    // The selected disc belongs to the document being replaced.
    XMLDiscData = {};
    XMLIndexData = std::move(loaded);
    std::remove(kTemporaryFileName);
    return true;
}

void TCatalogueSession::SaveDataFile() {
    TBusyScope busy(FHost, "Saving datafile...");
    XMLIndexData.Document()->SaveToFile(kTemporaryFileName);
    TFilePtr temporaryFile = OpenForReading(kTemporaryFileName);
    TAtomicFile dataFile(OrlentaFilename);
    DeflateRaw(temporaryFile.get(), dataFile);
    dataFile.Commit();
    temporaryFile.reset();
    std::remove(kTemporaryFileName);
    SetFileChanged(false);
}

} // namespace orlenta
