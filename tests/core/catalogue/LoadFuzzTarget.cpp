#include "LoadFuzzTarget.h"

#include "TestSupport.h"
#include "core/OrlentaError.h"
#include "core/catalogue/CatalogueSession.h"

#include <string>

using namespace orlenta;

namespace {

void Walk(const TXMLDirectoryType& directory) {
    const TXMLFilenamesType files = directory.Filenames();
    for (int i = 0; i < files.Count(); ++i)
        files.Filename(i).Text();
    const TXMLDirectoriesType subdirectories = directory.Directories();
    for (int i = 0; i < subdirectories.Count(); ++i)
        Walk(subdirectories.Directory(i));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static test::TScratchDirectory dir;
    static const std::string path = dir / "fuzz.olx";
    test::WriteFileBytes(path, std::string(reinterpret_cast<const char*>(data), size));
    test::TRecordingHost host;
    TCatalogueSession session(host);
    session.OrlentaFilename = path;
    try {
        if (session.LoadDataFile()) {
            const TXMLDiscsType discs = session.XMLIndexData.Discs();
            for (int i = 0; i < discs.Count(); ++i)
                Walk(discs.Disc(i).Root());
            session.XMLIndexData.Document()->SaveToFile(dir / "resaved.xml");
        }
    } catch (const EOrlentaError&) {
    }
    return 0;
}
