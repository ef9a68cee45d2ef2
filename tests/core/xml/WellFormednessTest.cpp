#include "core/xml/WellFormedness.h"

#include "TestSupport.h"
#include "core/catalogue/OrlentaData.h"
#include "core/xml/XmlBlockMasks.h"

#include <gtest/gtest.h>
#include <random>
#include <sstream>
#include <string>

namespace orlenta {
namespace {

using test::ErrorText;
using test::TScratchDirectory;
using test::WriteFileBytes;

// What loading text gives: the error's text, or "(loaded)".
std::string LoadResult(const TScratchDirectory& dir, const std::string& text) {
    WriteFileBytes(dir / "in.xml", text);
    const std::string error = ErrorText([&] { LoadOrlentaData(dir / "in.xml"); });
    return error == "(no error)" ? "(loaded)" : error;
}

std::string ParseError(const std::string& reason, int line, const std::string& lineStart) {
    return reason + "\r\nLine: " + std::to_string(line) + "\r\n" + lineStart;
}

// The scan chooses its instructions at run time: each test of it runs once with each set, where
// the processor has it.
#if ORLENTA_XML_BLOCKS_X86
using TInstructions = TXmlBlocksInstructions;
const TInstructions kInstructions[] = {TInstructions::Sse2, TInstructions::Avx2,
                                       TInstructions::Avx512};
const char* const kInstructionsNames[] = {"SSE2", "AVX2", "AVX512"};
#else
enum class TInstructions { Portable };
const TInstructions kInstructions[] = {TInstructions::Portable};
const char* const kInstructionsNames[] = {"Portable"};
#endif

class WellFormedness : public testing::TestWithParam<TInstructions> {
protected:
    void SetUp() override {
#if ORLENTA_XML_BLOCKS_X86
        CapXmlBlocksInstructions(GetParam());
        if (XmlBlocksInstructions() != GetParam())
            GTEST_SKIP() << "This processor has no "
                         << kInstructionsNames[static_cast<int>(GetParam())] << ".";
#endif
    }
    void TearDown() override {
#if ORLENTA_XML_BLOCKS_X86
        CapXmlBlocksInstructions(TInstructions::Avx512);
#endif
    }
};

INSTANTIATE_TEST_SUITE_P(Instructions, WellFormedness, testing::ValuesIn(kInstructions),
                         [](const testing::TestParamInfo<TInstructions>& info) {
                             return std::string(kInstructionsNames[info.index]);
                         });

TEST_P(WellFormedness, SmallTextsLoadOnlyWhenTheyAreWellFormedXml) {
    TScratchDirectory dir;
    const std::string loaded = "(loaded)";
    const struct {
        const char* What;
        std::string Text;
        std::string Result;
    } cases[] = {
        // Faults pugixml lets through.
        {"repeated attribute", R"(<OrlentaData Title="a" Title="b"/>)",
         ParseError("Duplicate attribute 'Title'.", 1, R"(<OrlentaData Title="a" Title="b"/>)")},
        {"two top-level elements", "<OrlentaData/>\n<OrlentaData/>",
         ParseError("Only one top level element is allowed in an XML document.", 2,
                    "<OrlentaData/>")},
        {"raw < in an attribute", "<OrlentaData>\n<Discs Title=\"a<b\"/></OrlentaData>",
         ParseError("The character '<' cannot be used in an attribute value.", 2,
                    "<Discs Title=\"a<b\"/></OrlentaData>")},
        {"bare & in an attribute", R"(<OrlentaData Title="Tom & Jerry"/>)",
         ParseError("An '&' must begin an entity or character reference.", 1,
                    R"(<OrlentaData Title="Tom & Jerry"/>)")},
        {"reference without ';'", R"(<OrlentaData Title="&amp"/>)",
         ParseError("An '&' must begin an entity or character reference.", 1,
                    R"(<OrlentaData Title="&amp"/>)")},
        {"undeclared entity", R"(<OrlentaData Title="&foo;"/>)",
         ParseError("Reference to undefined entity 'foo'.", 1, R"(<OrlentaData Title="&foo;"/>)")},
        {"entity the document type declares",
         "<!DOCTYPE OrlentaData [<!ENTITY t \"x\">]>\n<OrlentaData Title=\"&t;\"/>",
         ParseError("Reference to entity 't' of the document type: only the predefined entities "
                    "are supported.",
                    2, R"(<OrlentaData Title="&t;"/>)")},
        {"&#1;", R"(<OrlentaData Title="&#1;"/>)",
         ParseError("Invalid character reference.", 1, R"(<OrlentaData Title="&#1;"/>)")},
        {"&#0; in text", "<OrlentaData><x>&#0;</x></OrlentaData>",
         ParseError("Invalid character reference.", 1, "<OrlentaData><x>&#0;</x></OrlentaData>")},
        {"a surrogate by reference", R"(<OrlentaData Title="&#xD800;"/>)",
         ParseError("Invalid character reference.", 1, R"(<OrlentaData Title="&#xD800;"/>)")},
        {"U+FFFE by reference", R"(<OrlentaData Title="&#xFFFE;"/>)",
         ParseError("Invalid character reference.", 1, R"(<OrlentaData Title="&#xFFFE;"/>)")},
        {"past U+10FFFF by reference", R"(<OrlentaData Title="&#99999999999;"/>)",
         ParseError("Invalid character reference.", 1, R"(<OrlentaData Title="&#99999999999;"/>)")},
        {"upper-case X", R"(<OrlentaData Title="&#X41;"/>)",
         ParseError("Invalid character reference.", 1, R"(<OrlentaData Title="&#X41;"/>)")},
        {"Latin-1 byte, no declaration", "<OrlentaData Title=\"caf\xE9\"/>",
         ParseError("Invalid UTF-8 byte sequence.", 1, "<OrlentaData Title=\"caf\xE9\"/>")},
        {"Latin-1 byte, UTF-8 declared",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<OrlentaData Title=\"caf\xE9\"/>",
         ParseError("Invalid UTF-8 byte sequence.", 2, "<OrlentaData Title=\"caf\xE9\"/>")},
        {"encoded surrogate", "<OrlentaData Title=\"\xED\xA0\x80\"/>",
         ParseError("Invalid UTF-8 byte sequence.", 1, "<OrlentaData Title=\"\xED\xA0\x80\"/>")},
        {"control character", "<OrlentaData Title=\"a\x01\"/>",
         ParseError("Character not allowed in XML.", 1, "<OrlentaData Title=\"a\x01\"/>")},
        {"U+FFFF", "<OrlentaData Title=\"\xEF\xBF\xBF\"/>",
         ParseError("Character not allowed in XML.", 1, "<OrlentaData Title=\"\xEF\xBF\xBF\"/>")},
        {"text after the root", "<OrlentaData/>\nmore",
         ParseError("Invalid at the top level of the document.", 2, "more")},
        {"text before the root", "<?xml version=\"1.0\"?>text<OrlentaData/>",
         ParseError("Invalid at the top level of the document.", 1,
                    "<?xml version=\"1.0\"?>text<OrlentaData/>")},
        {"character data after the root", "<OrlentaData/><![CDATA[x]]>",
         ParseError("Invalid at the top level of the document.", 1, "<OrlentaData/><![CDATA[x]]>")},
        {"'--' in a comment", "<OrlentaData><!-- a -- b --></OrlentaData>",
         ParseError("A comment must not contain '--'.", 1,
                    "<OrlentaData><!-- a -- b --></OrlentaDat")},
        {"']]>' in text", "<OrlentaData><x>a]]>b</x></OrlentaData>",
         ParseError("The text ']]>' is not allowed in content.", 1,
                    "<OrlentaData><x>a]]>b</x></OrlentaData>")},
        {"second XML declaration", "<OrlentaData/>\n<?xml version=\"1.0\"?>",
         ParseError("An XML declaration is allowed only at the start of the document.", 2,
                    "<?xml version=\"1.0\"?>")},
        {"declaration without version", "<?xml encoding=\"UTF-8\"?><OrlentaData/>",
         ParseError("Invalid XML declaration.", 1, "<?xml encoding=\"UTF-8\"?><OrlentaData/>")},
        {"document type after the root", "<OrlentaData/><!DOCTYPE OrlentaData>",
         ParseError("Invalid at the top level of the document.", 1,
                    "<OrlentaData/><!DOCTYPE OrlentaData>")},
        {"a name character XML refuses",
         "<OrlentaData><a\xC3\x97"
         "b/></OrlentaData>",
         ParseError("Invalid character in a name.", 1,
                    "<OrlentaData><a\xC3\x97"
                    "b/></OrlentaData>")},
        {"root in a namespace", R"(<OrlentaData xmlns="urn:x"/>)", "Interface not supported"},
        // Faults pugixml reports keep its texts.
        {"broken start tag", "<OrlentaData>\n<Discs Title=\"x\" <Disc/>",
         ParseError("Error parsing start element tag", 2, "<Discs Title=\"x\" <Disc/>")},
        {"element left open", "<OrlentaData><Discs>",
         ParseError("Start-end tags mismatch", 1, "<OrlentaData><Discs>")},
        // Well-formed texts load as before.
        {"comments, instructions, document type",
         "\xEF\xBB\xBF<?xml version='1.0' standalone='yes'?>\r\n<!-- head -->\r\n"
         "<?xml-stylesheet href=\"a.xsl\"?>\r\n"
         "<!DOCTYPE OrlentaData SYSTEM \"o.dtd\" [<!ENTITY t \"x\"> <!ATTLIST x a CDATA \"]>\">]>"
         "\r\n<OrlentaData Title='say \"hi\" &amp; &lt;go&gt;'>\r\n  <!-- a - b -->\r\n"
         "  <x>text &apos;&quot; ]] ><![CDATA[<&]]]]></x>\r\n</OrlentaData>\r\n<!-- tail -->\r\n",
         loaded},
        {"character references", R"(<OrlentaData Title="&#9;&#xA;&#x1F600;&#65;&#x10FFFF;"/>)",
         loaded},
        {"names past ASCII",
         "<OrlentaData \xC3\xA9t\xC3\xA9=\"1\"><\xE6\x9D\xB1-\xC2\xB7/>"
         "</OrlentaData>",
         loaded},
        {"an empty default namespace", R"(<OrlentaData xmlns=""/>)", loaded},
        {"'>' and ']]>' in a value", R"(<OrlentaData Title="a > ]]> b"/>)", loaded},
    };
    for (const auto& [what, text, result] : cases)
        EXPECT_EQ(LoadResult(dir, text), result) << what;
}

// Repeated attributes are found by a set once a tag has many: a crafted tag costs its length.
TEST_P(WellFormedness, ATagOfManyAttributesIsReadInOnePass) {
    TScratchDirectory dir;
    std::string text = "<OrlentaData";
    for (int i = 0; i < 50000; ++i)
        text += " a" + std::to_string(i) + "=\"\"";
    EXPECT_EQ(LoadResult(dir, text + "/>"), "(loaded)");
    EXPECT_TRUE(
        LoadResult(dir, text + " a49999=\"\"/>").starts_with("Duplicate attribute 'a49999'."));
}

std::string SavedRaw(const pugi::xml_document& document) {
    std::ostringstream out;
    document.save(out, "", pugi::format_raw, pugi::encoding_utf8);
    return out.str();
}

// Parsed with only the conversions the scan found work for, a text gives the DOM it gives with all.
TEST_P(WellFormedness, LoadingLeavesOutOnlyConversionsWithNothingToDo) {
    TScratchDirectory dir;
    const std::string texts[] = {
        "<OrlentaData Title=\"plain\"><x>text</x></OrlentaData>",
        "<OrlentaData Title=\"a\r\nb\rc\"/>",
        "<OrlentaData Title=\"tab\there\nline\"/>",
        "<OrlentaData Title=\"x\"><x>one\r\ntwo\rthree</x></OrlentaData>",
        "<OrlentaData\r\n  Title=\"x\"\r\n/>",
        "<OrlentaData><!-- a\r\nb --><?p a\rb?><x><![CDATA[c\r\nd]]></x></OrlentaData>",
        "<OrlentaData Title=\"&amp;&#13;&#x9;\"><x>&lt;&#10;</x></OrlentaData>",
        "<OrlentaData Title='it&apos;s\t'/>\r\n",
    };
    for (const std::string& text : texts) {
        WriteFileBytes(dir / "in.xml", text);
        const IXMLOrlentaDataType root = LoadOrlentaData(dir / "in.xml");
        std::string copy = text;
        pugi::xml_document all;
        ASSERT_TRUE(all.load_buffer_inplace(copy.data(), copy.size(),
                                            pugi::parse_default | pugi::parse_declaration |
                                                pugi::parse_comments | pugi::parse_pi |
                                                pugi::parse_doctype,
                                            pugi::encoding_utf8));
        EXPECT_EQ(SavedRaw(root.Document()->Xml()), SavedRaw(all)) << text;
    }
}

// A catalogue of a few hundred lines: most of it goes through the block screen.
std::string LongCatalogue() {
    std::string text = "<?xml version=\"1.0\"?>\n<OrlentaData Title=\"Shelf\"><Discs>\n"
                       "<Disc Title=\"One\" Memo=\"\"><Root ID=\"1\"><Directories>\n";
    const char* names[] = {"beach.jpg",
                           "M\xC3\xBCller \xC3\x85land.mp3",
                           "\xE6\x9D\xB1\xE4\xBA\xAC.txt",
                           "smile \xF0\x9F\x98\x80.png",
                           "Tom &amp; Jerry",
                           "it's here",
                           "a &gt; b"};
    for (int d = 0; d < 20; ++d) {
        text += "<Directory Name=\"dir" + std::to_string(d) + "\" ID=\"" + std::to_string(d + 2) +
                "\"><Filenames>\n";
        for (int f = 0; f < 12; ++f)
            text += std::string("<Filename Text=\"") + names[(d + f) % 7] + "\"/>\n";
        text += "</Filenames></Directory>\n";
    }
    return text + "</Directories></Root></Disc></Discs></OrlentaData>\n";
}

TEST_P(WellFormedness, FaultsDeepInALongCatalogueAreFoundOnTheirLine) {
    TScratchDirectory dir;
    const std::string text = LongCatalogue();
    ASSERT_EQ(LoadResult(dir, text), "(loaded)");
    // Each fault replaces the first occurrence of `find`, far into the text, on line 150.
    const size_t line150 = [&] {
        size_t at = 0;
        for (int line = 1; line < 150; ++line)
            at = text.find('\n', at) + 1;
        return at;
    }();
    const struct {
        const char* What;
        std::string Find;
        std::string Replace;
        std::string Reason;
    } cases[] = {
        {"'<' in a value", "Text=\"", "Text=\"<",
         "The character '<' cannot be used in an "
         "attribute value."},
        {"undefined entity", "Text=\"", "Text=\"&nbsp;", "Reference to undefined entity 'nbsp'."},
        {"bare '&'", "Text=\"", "Text=\"& ",
         "An '&' must begin an entity or character "
         "reference."},
        {"repeated attribute", "Text=\"", "Text=\"x\" Text=\"", "Duplicate attribute 'Text'."},
        {"byte that is no UTF-8", "Text=\"", "Text=\"\xC3", "Invalid UTF-8 byte sequence."},
        {"control character", "Text=\"", "Text=\"\x1B", "Character not allowed in XML."},
        {"forbidden reference", "Text=\"", "Text=\"&#xFFFF;", "Invalid character reference."},
    };
    for (const auto& [what, find, replace, reason] : cases) {
        std::string broken = text;
        const size_t at = broken.find(find, line150);
        broken.replace(at, find.size(), replace);
        const std::string error = LoadResult(dir, broken);
        EXPECT_TRUE(error.starts_with(reason + "\r\nLine: 150\r\n")) << what << ": " << error;
    }
}

// The block screen passes a block only where reading it byte by byte finds no fault: on mutated
// catalogues that pugixml parses, both ways find the same first fault, or none.
TEST_P(WellFormedness, TheBlockScreenFindsWhatTheByteScanFinds) {
    const std::string text = LongCatalogue();
    const std::string pieces[] = {"<",
                                  "&",
                                  ">",
                                  "\"",
                                  "'",
                                  "\xC3",
                                  "\xE9",
                                  "\x01",
                                  "&a;",
                                  "&#1;",
                                  "--",
                                  "]]>",
                                  "<x/>",
                                  "\n",
                                  "/",
                                  "!",
                                  "?",
                                  " Text=\"1\"",
                                  "\xF0\x9F\x98\x80",
                                  "\xEF\xBF\xBE",
                                  "<!-- c -->",
                                  "<?p?>",
                                  "\t"};
    std::mt19937 random(2024);
    int parsed = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string mutated = text;
        for (int edits = 1 + static_cast<int>(random() % 3); edits > 0; --edits) {
            const size_t at = random() % mutated.size();
            if (random() % 3 == 0)
                mutated.erase(at, 1 + random() % 3);
            else
                mutated.insert(at, pieces[random() % std::size(pieces)]);
        }
        std::string copy = mutated;
        pugi::xml_document document;
        if (!document.load_buffer_inplace(copy.data(), copy.size(),
                                          pugi::parse_default | pugi::parse_comments |
                                              pugi::parse_pi | pugi::parse_declaration,
                                          pugi::encoding_utf8))
            continue;
        ++parsed;
        const TXmlViolation blocks = FindXmlViolation(mutated, TXmlScan::Blocks);
        const TXmlViolation bytes = FindXmlViolation(mutated, TXmlScan::Bytes);
        ASSERT_EQ(blocks.Reason, bytes.Reason) << mutated;
        ASSERT_EQ(blocks.Offset, bytes.Offset) << mutated;
    }
    EXPECT_GT(parsed, 500);
}

#if ORLENTA_XML_BLOCKS_X86
ORLENTA_XML_BLOCKS_AVX2 TXmlBlockMasks Avx2Masks(const char* p) {
    return Avx2XmlBlockMasks(p);
}

ORLENTA_XML_BLOCKS_AVX512 TXmlBlockMasks Avx512Masks(const char* p) {
    return Avx512XmlBlockMasks(p);
}
#endif

void ExpectSameMasks(const TXmlBlockMasks& a, const TXmlBlockMasks& b, const char* what) {
    EXPECT_EQ(a.Less, b.Less) << what;
    EXPECT_EQ(a.Greater, b.Greater) << what;
    EXPECT_EQ(a.Quote, b.Quote) << what;
    EXPECT_EQ(a.MarkupSign, b.MarkupSign) << what;
    EXPECT_EQ(a.High, b.High) << what;
    EXPECT_EQ(a.Other, b.Other) << what;
    EXPECT_EQ(a.Continuation, b.Continuation) << what;
    EXPECT_EQ(a.LongLead, b.LongLead) << what;
}

// Every byte value lands in the same masks whichever instructions compute them.
TEST(XmlBlockMasks, AgreeOnEveryByte) {
    std::string bytes(256 + 64, '\0');
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i);
    for (size_t start = 0; start + 64 <= bytes.size(); start += 8) {
        const char* block = bytes.data() + start;
        const TXmlBlockMasks portable = PortableXmlBlockMasks(block, kXmlBlockSize);
#if ORLENTA_XML_BLOCKS_X86
        ExpectSameMasks(Sse2XmlBlockMasks(block), portable, "SSE2");
        if (XmlBlocksHaveAvx2())
            ExpectSameMasks(Avx2Masks(block), portable, "AVX2");
        if (XmlBlocksHaveAvx512())
            ExpectSameMasks(Avx512Masks(block), portable, "AVX-512");
#endif
    }
}

} // namespace
} // namespace orlenta
