// A short, bounded and repeatable fuzz run of the data-file loader for every test run; the same
// entry point builds into a libFuzzer binary for longer runs (ORLENTA_FUZZ, see the README).

#include "LoadFuzzTarget.h"
#include "TestSupport.h"

#include <gtest/gtest.h>
#include <random>
#include <string>

namespace orlenta {
namespace {

const std::string kSeedText =
    "<?xml version=\"1.0\"?><OrlentaData Title=\"Shelf &amp; box\" LastDirectoryID=\"3\" "
    "Memo=\"a\\r\\nb\"><Discs><Disc Title=\"Photos\" DirCount=\"2\"><Root ID=\"1\"><Directories>"
    "<Directory Name=\"2022\" ID=\"2\"><Filenames><Filename Text=\"beach.jpg\"/></Filenames>"
    "<Directories><Directory Name=\"misc\" ID=\"3\"/></Directories></Directory></Directories>"
    "<Filenames><Filename Text=\"caf\xC3\xA9.txt\"/></Filenames></Root></Disc><!--c--></Discs>"
    "</OrlentaData>";

// Longer than a few blocks of the well-formedness scan, with what it treats apart.
std::string MarkupSeedText() {
    std::string text =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE OrlentaData [<!ENTITY e "
        "\"x\">]>\n<OrlentaData Title='it&apos;s' LastDirectoryID=\"9\"><Discs>"
        "<Disc Title=\"A &amp; B\"><Root ID=\"1\"><Filenames>";
    for (int i = 0; i < 12; ++i)
        text += "<Filename Text=\"M\xC3\xBCller \xE6\x9D\xB1 \xF0\x9F\x98\x80 &#x41;\"/>\n";
    return text + "</Filenames><!-- c --><?p i?><x><![CDATA[<&]]></x></Root></Disc></Discs>"
                  "</OrlentaData>\n";
}

std::string Mutated(std::string bytes, std::mt19937& random) {
    const std::string interesting = "<>&\"'/=?!\xC3\xA9\xFF\xFE\0\n\r\t;#x";
    const int edits = 1 + static_cast<int>(random() % 4);
    for (int e = 0; e < edits; ++e) {
        const size_t at = bytes.empty() ? 0 : random() % bytes.size();
        switch (random() % 4) {
        case 0:
            if (!bytes.empty())
                bytes[at] = static_cast<char>(random());
            break;
        case 1: bytes.insert(at, 1, interesting[random() % interesting.size()]); break;
        case 2:
            if (!bytes.empty())
                bytes.erase(at, 1 + random() % 8);
            break;
        case 3: bytes.insert(at, bytes.substr(at, random() % 16)); break;
        }
    }
    return bytes;
}

void LoadBytes(const std::string& bytes) {
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

TEST(LoadFuzz, MutatedXmlAndMutatedStreamsLoadOrFailCleanly) {
    std::mt19937 random(1951);
    const std::string seedStream = test::RawDeflateBytes(kSeedText);
    const std::string markupSeed = MarkupSeedText();
    for (int round = 0; round < 800; ++round) {
        LoadBytes(test::RawDeflateBytes(Mutated(kSeedText, random)));
        const std::string markup = Mutated(markupSeed, random);
        LoadBytes(test::RawDeflateBytes(markup));
        // As raw bytes it is no DEFLATE stream, but the target reads it as XML text too.
        LoadBytes(markup);
        LoadBytes(Mutated(seedStream, random));
    }
}

} // namespace
} // namespace orlenta
