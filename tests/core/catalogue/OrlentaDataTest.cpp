#include "core/catalogue/OrlentaData.h"

#include "TestSupport.h"
#include "core/base/OrlentaError.h"

#include <gtest/gtest.h>

namespace orlenta {
namespace {

using test::ReadFileBytes;
using test::TScratchDirectory;
using test::WriteFileBytes;

const std::string kDeclaration = R"(<?xml version="1.0"?>)";

std::string SavedText(const IXMLOrlentaDataType& root, const TScratchDirectory& dir) {
    root.Document()->SaveToFile(dir / "saved.xml");
    return ReadFileBytes(dir / "saved.xml");
}

IXMLOrlentaDataType LoadText(const TScratchDirectory& dir, const std::string& bytes) {
    WriteFileBytes(dir / "in.xml", bytes);
    return LoadOrlentaData(dir / "in.xml");
}

std::string LoadError(const TScratchDirectory& dir, const std::string& bytes) {
    try {
        LoadText(dir, bytes);
    } catch (const EOrlentaError& error) {
        return error.what();
    }
    return "(loaded)";
}

TEST(OrlentaData, NewCatalogueAfterFirstRebuildIsWrittenAsExpected) {
    TScratchDirectory dir;
    IXMLOrlentaDataType root = NewOrlentaData();
    root.SetTitle("Untitled");
    root.SetLastDirectoryID("");
    EXPECT_EQ(root.Discs().Count(), 0);
    EXPECT_EQ(SavedText(root, dir),
              kDeclaration +
                  R"(<OrlentaData Title="Untitled" LastDirectoryID=""><Discs/></OrlentaData>)");
}

TEST(OrlentaData, ReadingAddsAbsentAttributesAndChildren) {
    TScratchDirectory dir;
    IXMLOrlentaDataType root = LoadText(
        dir,
        R"(<OrlentaData><Discs><Disc><Root ID="1"><Filenames/></Root></Disc></Discs></OrlentaData>)");
    EXPECT_EQ(root.Memo(), "");
    TXMLDirectoryType top = root.Discs().Disc(0).Root();
    EXPECT_EQ(top.Directories().Count(), 0);
    EXPECT_EQ(SavedText(root, dir),
              kDeclaration + R"(<OrlentaData Memo=""><Discs><Disc><Root ID="1"><Filenames/>)"
                             R"(<Directories/></Root></Disc></Discs></OrlentaData>)");
}

TEST(OrlentaData, KeepsWhatTheSchemaDoesNotName) {
    TScratchDirectory dir;
    const std::string text =
        kDeclaration +
        R"(<OrlentaData Title="T" Extra="x"><!--note--><Discs><Disc Title="a"/><Shelf No="3"><Disc/></Shelf>)"
        R"(<Disc Title="b" Rating="5"/></Discs><Tags><Tag/></Tags></OrlentaData>)";
    IXMLOrlentaDataType root = LoadText(dir, text);
    ASSERT_EQ(root.Discs().Count(), 2);
    EXPECT_EQ(root.Discs().Disc(1).Title(), "b");
    std::string walked;
    for (const TXMLDiscType disc : root.Discs())
        walked += disc.Title();
    EXPECT_EQ(walked, "ab");
    EXPECT_EQ(SavedText(root, dir), text);
}

TEST(OrlentaData, CollectionsAddAndRemoveInDocumentOrder) {
    IXMLOrlentaDataType root = NewOrlentaData();
    TXMLDiscsType discs = root.Discs();
    for (const char* title : {"one", "two", "three"})
        discs.Add().SetTitle(title);
    ASSERT_EQ(discs.Count(), 3);
    EXPECT_EQ(discs.Disc(2).Title(), "three");

    TXMLDiscType two = discs.Disc(1);
    two.Root().Directories().Add().Directories().Add(); // item lists inside the removed subtree
    EXPECT_EQ(discs.Remove(two), 1);
    EXPECT_EQ(discs.Remove(two), -1);
    ASSERT_EQ(discs.Count(), 2);
    EXPECT_EQ(discs.Disc(1).Title(), "three");

    // Nodes created after a removal may reuse its memory; they must not inherit its item lists.
    for (int i = 0; i < 50; ++i) {
        TXMLDirectoryType added = discs.Add().Root();
        EXPECT_EQ(added.Directories().Count(), 0);
    }
    EXPECT_EQ(discs.Count(), 52);
    EXPECT_EQ(discs.Disc(51).Root().Directories().Count(), 0);
}

TEST(OrlentaData, BindingTestAndParents) {
    IXMLOrlentaDataType root = NewOrlentaData();
    TXMLDiscType disc = root.Discs().Add();
    TXMLDirectoryType top = disc.Root();
    TXMLDirectoryType sub = top.Directories().Add();
    TXMLFilenameType file = sub.Filenames().Add();

    EXPECT_TRUE(top.Is(TXMLBinding::Directory));
    EXPECT_TRUE(sub.Is(TXMLBinding::Directory));
    EXPECT_TRUE(disc.Is(TXMLBinding::Disc));
    // From a directory up to the directory that holds it, as the disc reading climbs.
    EXPECT_TRUE(sub.ParentNode().ParentNode() == top);
    EXPECT_TRUE(sub.ParentNode().ParentNode().Is(TXMLBinding::Directory));
    EXPECT_TRUE(top.ParentNode().ParentNode().Is(TXMLBinding::Discs));
    EXPECT_TRUE(top.ParentNode().Is(TXMLBinding::Disc));
    EXPECT_TRUE(file.ParentNode().ParentNode() == sub);
    EXPECT_FALSE(root.ParentNode());

    // An element the schema does not register is plain, and so is everything below it.
    pugi::xml_node shelf = disc.XmlNode().append_child("Shelf");
    pugi::xml_node inner = shelf.append_child("Directories");
    TXMLNode plain(inner, root.OwnerDocument(), TXMLBinding::Plain);
    EXPECT_TRUE(plain.ParentNode().Is(TXMLBinding::Plain));
    EXPECT_TRUE(plain.ParentNode().ParentNode().Is(TXMLBinding::Disc));
}

TEST(OrlentaData, NextDirectoryIDCountsOnFromTheStoredValue) {
    const std::pair<const char*, long long> cases[] = {{"", 1},    {"abc", 1}, {"7", 8},
                                                       {"40", 41}, {"12x", 1}, {"-3", -2}};
    for (const auto& [stored, next] : cases) {
        IXMLOrlentaDataType root = NewOrlentaData();
        root.SetLastDirectoryID(stored);
        EXPECT_EQ(NextDirectoryID(root), next) << stored;
        EXPECT_EQ(root.LastDirectoryID(), std::to_string(next));
    }
}

TEST(OrlentaData, RemovingTheLastDiscKeepsTheCounter) {
    IXMLOrlentaDataType root = NewOrlentaData();
    root.SetLastDirectoryID("40");
    TXMLDiscType only = root.Discs().Add();
    root.Discs().Remove(only);
    EXPECT_EQ(root.LastDirectoryID(), "40");
    EXPECT_EQ(NextDirectoryID(root), 41);
}

TEST(OrlentaData, TextsSurviveASaveAndALoad) {
    TScratchDirectory dir;
    const std::string awkward = "<a & \"b\" 'c'> caf\xC3\xA9 \xF0\x9F\x92\xBF";
    IXMLOrlentaDataType root = NewOrlentaData();
    root.SetTitle(awkward);
    TXMLDiscType first = root.Discs().Add();
    first.SetTitle("first");
    first.Root().Filenames().Add().SetText("tab\there\r\nline");
    root.Discs().Add().SetTitle("second");

    IXMLOrlentaDataType again = LoadText(dir, SavedText(root, dir));
    EXPECT_EQ(again.Title(), awkward);
    ASSERT_EQ(again.Discs().Count(), 2);
    EXPECT_EQ(again.Discs().Disc(0).Title(), "first");
    EXPECT_EQ(again.Discs().Disc(1).Title(), "second");
    EXPECT_EQ(again.Discs().Disc(0).Root().Filenames().Filename(0).Text(), "tab\there\r\nline");
}

TEST(OrlentaData, TextsXmlCannotCarryAreStoredAsReplacementCharacters) {
    TScratchDirectory dir;
    const std::pair<std::string, std::string> cases[] = {
        {std::string("a\0b", 3), "a\xEF\xBF\xBD"
                                 "b"},
        {"bell\x07", "bell\xEF\xBF\xBD"},
        {"latin1 caf\xE9", "latin1 caf\xEF\xBF\xBD"},
        {"cut \xC3", "cut \xEF\xBF\xBD"},
        {"surrogate \xED\xA0\x80", "surrogate \xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"nonchar \xEF\xBF\xBF", "nonchar \xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"fine \xF0\x9F\x92\xBF", "fine \xF0\x9F\x92\xBF"},
    };
    IXMLOrlentaDataType root = NewOrlentaData();
    TXMLFilenamesType names = root.Discs().Add().Root().Filenames();
    for (const auto& [name, stored] : cases)
        names.Add().SetText(name);
    IXMLOrlentaDataType again = LoadText(dir, SavedText(root, dir));
    TXMLFilenamesType loaded = again.Discs().Disc(0).Root().Filenames();
    for (int i = 0; i < loaded.Count(); ++i)
        EXPECT_EQ(loaded.Filename(i).Text(), cases[i].second) << i;
}

TEST(OrlentaData, WritingAnAttributeItsOwnValueKeepsIt) {
    IXMLOrlentaDataType root = NewOrlentaData();
    root.SetTitle("a title long enough to live in its own buffer");
    root.SetTitle(root.Title());
    root.SetTitle(root.Title().substr(2));
    EXPECT_EQ(root.Title(), "title long enough to live in its own buffer");
}

TEST(LoadOrlentaData, ReadsWhatOtherToolsWrite) {
    TScratchDirectory dir;
    const std::string body =
        "<OrlentaData Title=\"Caf\xC3\xA9\">\n  <Discs>\n    <Disc Title=\"x\"/>\n  "
        "</Discs>\n</OrlentaData>\n";
    // Latin-1 text as UTF-16LE with a byte-order mark: each byte is the low byte of a unit.
    auto utf16le = [](const std::string& latin1) {
        std::string out = "\xFF\xFE";
        for (char c : latin1) {
            out += c;
            out += '\0';
        }
        return out;
    };
    const std::pair<const char*, std::string> cases[] = {
        {"UTF-8 with indentation", body},
        {"UTF-8 with a byte-order mark", "\xEF\xBB\xBF" + body},
        {"UTF-16 with a byte-order mark",
         utf16le("<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n<OrlentaData Title=\"Caf\xE9\">"
                 "<Discs><Disc Title=\"x\"/></Discs></OrlentaData>")},
        {"Latin-1 declared",
         "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><OrlentaData Title=\"Caf\xE9\"><Discs>"
         "<Disc Title=\"x\"/></Discs></OrlentaData>"},
        {"Windows-1252 declared",
         "<?xml version='1.0' encoding='windows-1252'?>\r\n<OrlentaData Title=\"Caf\xE9\"><Discs>"
         "<Disc Title=\"x\"/></Discs></OrlentaData>"},
    };
    for (const auto& [what, bytes] : cases) {
        IXMLOrlentaDataType root = LoadText(dir, bytes);
        EXPECT_EQ(root.Title(), "Caf\xC3\xA9") << what;
        ASSERT_EQ(root.Discs().Count(), 1) << what;
        const std::string saved = SavedText(root, dir);
        // Indentation is gone, and the declaration no longer names an 8-bit or 16-bit encoding.
        EXPECT_EQ(saved.find('\n'), std::string::npos) << what;
        EXPECT_EQ(saved.find("encoding=\"ISO"), std::string::npos) << what;
        EXPECT_EQ(LoadText(dir, saved).Title(), "Caf\xC3\xA9") << what;
    }
}

TEST(LoadOrlentaData, ReportsErrorsWithTheirTexts) {
    TScratchDirectory dir;
    EXPECT_EQ(LoadError(dir, R"(<Catalogue><Discs/></Catalogue>)"), "Interface not supported");
    EXPECT_EQ(
        LoadError(dir, "<?xml version=\"1.0\"?>\n<OrlentaData>\n  <Discs>\n"
                       "    <Disc Title=\"a very long title that goes on\" <Root/>\n"),
        "Error parsing start element tag\r\nLine: 4\r\n    <Disc Title=\"a very long title that ");
    const std::string empty = LoadError(dir, "");
    EXPECT_NE(empty.find("\r\nLine: 1\r\n"), std::string::npos) << empty;
    EXPECT_EQ(LoadError(dir, "<?xml version=\"1.0\" encoding=\"no-such-code\"?><OrlentaData/>"),
              "System does not support the specified encoding.\r\nLine: 1\r\n"
              "<?xml version=\"1.0\" encoding=\"no-such-co");
    // Forty characters, not forty bytes.
    const std::string line =
        "<OrlentaData Title=\"\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9"
        "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9"
        "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\" <";
    const std::string error = LoadError(dir, line);
    EXPECT_EQ(error.substr(error.rfind('\n') + 1), line.substr(0, 20 + 2 * 20));
    EXPECT_THROW(LoadOrlentaData(dir / "missing.xml"), EOrlentaError);
}

} // namespace
} // namespace orlenta

namespace orlenta {
namespace {

// New elements share their tag and attribute names; saving in between, renaming and removing
// must neither show that nor disturb it.
TEST(OrlentaData, SharedNamesStayInvisibleAcrossSaves) {
    test::TScratchDirectory dir;
    IXMLOrlentaDataType root = NewOrlentaData();
    root.SetTitle("T");
    TXMLDiscType disc = root.Discs().Add();
    disc.Root().SetID("1");
    disc.Root().Filenames().Add().SetText("a");
    root.Document()->SaveToFile(dir / "first.xml");
    disc.Root().Filenames().Add().SetText("b");
    TXMLDiscType second = root.Discs().Add();
    second.SetTitle("gone");
    root.Discs().Remove(second);
    disc.Root().Filenames().Filename(0).SetText("a renamed");
    root.Document()->SaveToFile(dir / "second.xml");
    EXPECT_EQ(test::ReadFileBytes(dir / "first.xml"),
              R"(<?xml version="1.0"?><OrlentaData Title="T"><Discs><Disc><Root ID="1">)"
              R"(<Filenames><Filename Text="a"/></Filenames></Root></Disc></Discs></OrlentaData>)");
    EXPECT_EQ(test::ReadFileBytes(dir / "second.xml"),
              R"(<?xml version="1.0"?><OrlentaData Title="T"><Discs><Disc><Root ID="1">)"
              R"(<Filenames><Filename Text="a renamed"/><Filename Text="b"/></Filenames></Root>)"
              R"(</Disc></Discs></OrlentaData>)");
}

} // namespace
} // namespace orlenta
