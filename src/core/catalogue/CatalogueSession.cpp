#include "core/catalogue/CatalogueSession.h"

#include "core/OrlentaError.h"
#include "core/catalogue/AtomicFile.h"
#include "core/catalogue/DataFile.h"
#include "core/catalogue/RawDeflate.h"
#include "core/catalogue/XmlTextGuard.h"

#include <cstdio>

namespace orlenta {

void TCatalogueSession::SetFileChanged(bool changed) {
    FFileChanged = changed;
    FHost.FileChangedSet(changed);
}

long long TCatalogueSession::NextDirectoryID() {
    return orlenta::NextDirectoryID(XMLIndexData);
}

void TCatalogueSession::NewCatalogue() {
    OrlentaFilename.clear();
    XMLDiscData = {};
    XMLIndexData = NewOrlentaData();
    XMLIndexData.SetTitle("Untitled");
    XMLIndexData.SetLastDirectoryID("");
}

bool TCatalogueSession::OpenDataFile(const std::string& path) {
    // The open catalogue stays bound to its own file when the new one cannot be loaded, so that a
    // later Save cannot write it over the file the user meant to open.
    std::string previousFilename = OrlentaFilename;
    OrlentaFilename = path;
    bool loaded = false;
    try {
        loaded = LoadDataFile();
    } catch (...) {
        OrlentaFilename = std::move(previousFilename);
        throw;
    }
    if (!loaded)
        OrlentaFilename = std::move(previousFilename);
    if (XMLIndexData) {
        const IXMLDiscsType discs = XMLIndexData.Discs();
        XMLDiscData = discs.Count() > 0 ? discs.Disc(0) : IXMLDiscType();
    }
    return loaded;
}

bool TCatalogueSession::LoadDataFile() {
    TBusyScope busy(FHost, "Loading datafile...");
    TFilePtr dataFile = OpenFileForReading(OrlentaFilename);
    TFilePtr temporaryFile = CreateFileForWriting(kTemporaryFileName);
    TXmlTextGuard guard(OrlentaFilename,
                        FAvailableMemory ? FAvailableMemory() : SystemAvailableMemory());
    bool inflated = InflateRaw(dataFile.get(), temporaryFile.get(), &guard);
    if (std::fclose(temporaryFile.release()) != 0)
        inflated = false;
    dataFile.reset();
    if (!inflated) {
        FHost.ShowMessage(TMessageKind::Error, kErrorReadingDataFile);
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
    TFilePtr temporaryFile = OpenFileForReading(kTemporaryFileName);
    TAtomicFile dataFile(OrlentaFilename);
    DeflateRaw(temporaryFile.get(), dataFile);
    dataFile.Commit();
    temporaryFile.reset();
    std::remove(kTemporaryFileName);
    SetFileChanged(false);
}

} // namespace orlenta
