#include "core/catalogue/CatalogueSession.h"

#include "core/base/OrlentaError.h"
#include "core/datafile/AtomicFile.h"
#include "core/datafile/DataFile.h"
#include "core/datafile/RawDeflate.h"
#include "core/datafile/TemporaryFile.h"
#include "core/xml/XmlTextGuard.h"

#include <cerrno>
#include <cstdio>

namespace orlenta {

TCatalogueSession::TCatalogueSession(ICatalogueHost& host) : FHost(host) {}

TCatalogueSession::~TCatalogueSession() = default;

void TCatalogueSession::SetFileChanged(bool changed) {
    FFileChanged = changed;
    FHost.FileChangedSet(changed);
}

long long TCatalogueSession::NextDirectoryID() {
    return orlenta::NextDirectoryID(FXMLIndexData);
}

void TCatalogueSession::NewCatalogue() {
    FOrlentaFilename.clear();
    FXMLDiscData = {};
    FXMLIndexData = NewOrlentaData();
    FXMLIndexData.SetTitle("Untitled");
    FXMLIndexData.SetLastDirectoryID("");
}

IXMLDiscType TCatalogueSession::AppendDisc() {
    if (!FXMLIndexData)
        FXMLIndexData = NewOrlentaData();
    FXMLDiscData = FXMLIndexData.Discs().Add();
    return FXMLDiscData;
}

void TCatalogueSession::ReplaceCatalogue(IXMLOrlentaDataType root) {
    FXMLDiscData = {};
    FXMLIndexData = std::move(root);
}

void TCatalogueSession::SaveDataFileAs(const std::string& path) {
    FOrlentaFilename = path;
    SaveDataFile();
}

bool TCatalogueSession::OpenDataFile(const std::string& path) {
    // The open catalogue stays bound to its own file when the new one cannot be loaded, so that a
    // later Save cannot write it over the file the user meant to open.
    std::string previousFilename = FOrlentaFilename;
    FOrlentaFilename = path;
    bool loaded = false;
    try {
        loaded = LoadDataFile();
    } catch (...) {
        FOrlentaFilename = std::move(previousFilename);
        throw;
    }
    if (!loaded)
        FOrlentaFilename = std::move(previousFilename);
    if (FXMLIndexData) {
        const IXMLDiscsType discs = FXMLIndexData.Discs();
        FXMLDiscData = discs.Count() > 0 ? discs.Disc(0) : IXMLDiscType();
    }
    return loaded;
}

bool TCatalogueSession::LoadDataFile() {
    TBusyScope busy(FHost, "Loading datafile...");
    if (IsTemporaryFile(FOrlentaFilename))
        throw DataFileIsTemporaryFileError(FOrlentaFilename, kTemporaryFileName);
    TFilePtr dataFile = OpenFileForReading(FOrlentaFilename);
    TTemporaryFile temporaryFile(FHost);
    TXmlTextGuard guard(FOrlentaFilename,
                        FAvailableMemory ? FAvailableMemory() : SystemAvailableMemory());
    if (!InflateRaw(dataFile.get(), temporaryFile.Stream(), &guard)) {
        // A full working folder is no fault of the data file.
        if (std::ferror(temporaryFile.Stream()))
            throw CannotWriteFileError(kTemporaryFileName, errno != 0 ? errno : EIO);
        FHost.ShowMessage(TMessageKind::Error, kErrorReadingDataFile);
        return false;
    }
    temporaryFile.StartReading();
    dataFile.reset();
    IXMLOrlentaDataType loaded = LoadOrlentaData(temporaryFile.Stream(), kTemporaryFileName);
    // The selected disc belongs to the document being replaced.
    FXMLDiscData = {};
    FXMLIndexData = std::move(loaded);
    temporaryFile.Remove();
    return true;
}

void TCatalogueSession::SaveDataFile() {
    TBusyScope busy(FHost, "Saving datafile...");
    if (IsTemporaryFile(FOrlentaFilename))
        throw DataFileIsTemporaryFileError(FOrlentaFilename, kTemporaryFileName);
    std::unique_ptr<TDataFileLock> ownLock;
    if (!FHeldLock || !FHeldLock->Covers(FOrlentaFilename))
        ownLock = std::make_unique<TDataFileLock>(FOrlentaFilename, FHost, TLockPurpose::Writing);
    TTemporaryFile temporaryFile(FHost);
    FXMLIndexData.Document()->SaveToStream(temporaryFile.Stream(), kTemporaryFileName);
    temporaryFile.StartReading();
    TAtomicFile dataFile(FOrlentaFilename);
    DeflateRaw(temporaryFile.Stream(), dataFile);
    dataFile.Commit();
    temporaryFile.Remove();
    SetFileChanged(false);
}

void TCatalogueSession::HoldDataFileLock(const std::string& path, TLockPurpose purpose) {
    FHeldLock.reset();
    FHeldLock = std::make_unique<TDataFileLock>(path, FHost, purpose);
}

void TCatalogueSession::ReleaseDataFileLock() {
    FHeldLock.reset();
}

} // namespace orlenta
