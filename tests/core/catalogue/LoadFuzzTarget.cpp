#include "LoadFuzzTarget.h"

#include "TestSupport.h"
#include "core/base/OrlentaError.h"
#include "core/catalogue/CatalogueSession.h"
#include "core/xml/WellFormedness.h"
#include "core/xml/XmlBlockMasks.h"

#include <cstdlib>
#include <pugixml.hpp>
#include <sstream>
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

constexpr unsigned kAllConversions = pugi::parse_default | pugi::parse_comments | pugi::parse_pi |
                                     pugi::parse_declaration | pugi::parse_doctype;

std::string ParsedAndSaved(const std::string& text, unsigned options) {
    std::string copy = text;
    pugi::xml_document document;
    if (!document.load_buffer_inplace(copy.data(), copy.size(), options, pugi::encoding_utf8))
        return "(no parse)";
    std::ostringstream out;
    document.save(out, "", pugi::format_raw, pugi::encoding_utf8);
    return out.str();
}

// Runs check with the scan on each instruction set the processor has.
template <class TCheck> void OnEachInstructionSet(TCheck check) {
#if ORLENTA_XML_BLOCKS_X86
    for (const TXmlBlocksInstructions set :
         {TXmlBlocksInstructions::Sse2, TXmlBlocksInstructions::Avx2,
          TXmlBlocksInstructions::Avx512}) {
        CapXmlBlocksInstructions(set);
        if (XmlBlocksInstructions() == set)
            check();
    }
    CapXmlBlocksInstructions(TXmlBlocksInstructions::Avx512);
#else
    check();
#endif
}

// The block screen may pass only what the byte scan passes: on any text pugixml parses, both find
// the same first fault, or none, whatever instructions compute the blocks' masks. And where there
// is none, the conversions the scan leaves out change nothing in the DOM.
void CheckScansAgree(const std::string& text) {
    const std::string all = ParsedAndSaved(text, kAllConversions);
    if (all == "(no parse)")
        return;
    const TXmlViolation bytes = FindXmlViolation(text, TXmlScan::Bytes);
    OnEachInstructionSet([&] {
        TXmlConversions conversions;
        const TXmlViolation blocks = FindXmlViolation(text, TXmlScan::Blocks, &conversions);
        if (blocks.Reason != bytes.Reason || blocks.Offset != bytes.Offset)
            std::abort();
        if (!blocks &&
            ParsedAndSaved(text, WithoutIdleConversions(kAllConversions, conversions)) != all)
            std::abort();
    });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CheckScansAgree(std::string(reinterpret_cast<const char*>(data), size));
    static test::TScratchDirectory dir;
    static const std::string path = dir / "fuzz.olx";
    test::WriteFileBytes(path, std::string(reinterpret_cast<const char*>(data), size));
    test::TRecordingHost host;
    TCatalogueSession session(host);
    session.SetOrlentaFilename(path);
    try {
        if (session.LoadDataFile()) {
            const TXMLDiscsType discs = session.XMLIndexData().Discs();
            for (int i = 0; i < discs.Count(); ++i)
                Walk(discs.Disc(i).Root());
            session.XMLIndexData().Document()->SaveToFile(dir / "resaved.xml");
        }
    } catch (const EOrlentaError&) {
    }
    return 0;
}
