#include "core/catalogue/CatalogueSession.h"

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

} // namespace orlenta
