#include "core/search/FindAll.h"

#include "TestSupport.h"

#include <chrono>
#include <gtest/gtest.h>
#include <sstream>

namespace orlenta {
namespace {

using TStrings = std::vector<std::string>;

// Three discs. The first has a memo in its stored, escaped form, files in its top directory, a
// directory whose Directories come before its Filenames, and one unknown element; the second a
// directory without a name (an empty step in a path, as orlenta-cli search prints it) and a file
// name without text; the third no Root at all.
constexpr const char* kCatalogueXml =
    R"(<?xml version="1.0"?><OrlentaData Title="Shelf"><Discs>)"
    R"(<Disc Title="Holiday 2022" Vendor="Acme" Memo="beach\r\nholiday"><Root ID="1">)"
    R"(<Filenames><Filename Text="index.html"/></Filenames><Directories>)"
    R"(<Directory Name="2022" ID="2"><Directories><Directory Name="beach misc" ID="3"/>)"
    R"(</Directories><Filenames><Filename Text="beach.jpg"/><Filename Text="Beach 2.JPG"/>)"
    R"(</Filenames></Directory><Note Name="beach"/>)"
    R"(<Directory Name="photos" ID="4"><Filenames><Filename Text="beach.jpg"/></Filenames>)"
    R"(</Directory></Directories></Root></Disc>)"
    R"(<Disc Title="Software" Vendor="Beach Soft"><Root ID="5"><Directories>)"
    R"(<Directory ID="6"><Filenames><Filename/><Filename Text="setup.exe"/></Filenames>)"
    R"(</Directory></Directories></Root></Disc>)"
    R"(<Disc Title="beach box"/>)"
    R"(</Discs></OrlentaData>)";

// Find all's starting point: every field, wildcards allowed.
TSearchRequest Request(const char* text) {
    TSearchRequest request;
    request.Text = text;
    request.InTitle = request.InVendor = request.InMemo = true;
    request.InDirectory = request.InFilename = true;
    request.Wildcards = true;
    return request;
}

std::string DocumentText(const TXMLNode& root) {
    std::ostringstream text;
    root.OwnerDocument()->Xml().save(text, "", pugi::format_raw);
    return text.str();
}

class FindAllTest : public ::testing::Test {
protected:
    FindAllTest() {
        test::WriteFileBytes(Dir / "shelf.xml", kCatalogueXml);
        Root = LoadOrlentaData(Dir / "shelf.xml");
    }

    // The hits as orlenta-cli search lists them, one string per hit without the line feed.
    TStrings Lines(const TSearchRequest& request) const {
        const TNameIndex index(Root);
        return Lines(index, FindAll(index, request));
    }
    static TStrings Lines(const TNameIndex& index, const std::vector<TFindHit>& hits) {
        TStrings lines;
        for (const TFindHit& hit : hits) {
            std::string line;
            AppendHitLine(line, index, hit);
            line.pop_back();
            lines.push_back(line);
        }
        return lines;
    }
    test::TScratchDirectory Dir;
    IXMLOrlentaDataType Root;
};

TEST_F(FindAllTest, ListsEveryHitWithItsPathInTheOrderOfTheCommandLine) {
    EXPECT_EQ(Lines(Request("beach")), (TStrings{
                                           "0\tHoliday 2022\tmemo\t/",
                                           "0\tHoliday 2022\tfilename\t/2022/beach.jpg",
                                           "0\tHoliday 2022\tfilename\t/2022/Beach 2.JPG",
                                           "0\tHoliday 2022\tdirectory\t/2022/beach misc",
                                           "0\tHoliday 2022\tfilename\t/photos/beach.jpg",
                                           "1\tSoftware\tvendor\t/",
                                           "2\tbeach box\ttitle\t/",
                                       }));
    EXPECT_EQ(Lines(Request("E")), (TStrings{
                                       "0\tHoliday 2022\tvendor\t/",
                                       "0\tHoliday 2022\tmemo\t/",
                                       "0\tHoliday 2022\tfilename\t/index.html",
                                       "0\tHoliday 2022\tfilename\t/2022/beach.jpg",
                                       "0\tHoliday 2022\tfilename\t/2022/Beach 2.JPG",
                                       "0\tHoliday 2022\tdirectory\t/2022/beach misc",
                                       "0\tHoliday 2022\tfilename\t/photos/beach.jpg",
                                       "1\tSoftware\ttitle\t/",
                                       "1\tSoftware\tvendor\t/",
                                       "1\tSoftware\tfilename\t//setup.exe",
                                       "2\tbeach box\ttitle\t/",
                                   }));
}

TEST_F(FindAllTest, LooksOnlyInTheTickedFields) {
    struct TCase {
        bool TSearchRequest::*Field;
        TStrings Expected;
    };
    const TCase cases[] = {
        {&TSearchRequest::InTitle, {"2\tbeach box\ttitle\t/"}},
        {&TSearchRequest::InVendor, {"1\tSoftware\tvendor\t/"}},
        {&TSearchRequest::InMemo, {"0\tHoliday 2022\tmemo\t/"}},
        {&TSearchRequest::InDirectory, {"0\tHoliday 2022\tdirectory\t/2022/beach misc"}},
        {&TSearchRequest::InFilename,
         {"0\tHoliday 2022\tfilename\t/2022/beach.jpg",
          "0\tHoliday 2022\tfilename\t/2022/Beach 2.JPG",
          "0\tHoliday 2022\tfilename\t/photos/beach.jpg"}},
    };
    for (const TCase& c : cases) {
        TSearchRequest request = Request("beach");
        request.InTitle = request.InVendor = request.InMemo = false;
        request.InDirectory = request.InFilename = false;
        request.*(c.Field) = true;
        EXPECT_EQ(Lines(request), c.Expected);
    }
    TSearchRequest none = Request("beach");
    none.InTitle = none.InVendor = none.InMemo = none.InDirectory = none.InFilename = false;
    EXPECT_TRUE(Lines(none).empty());
    EXPECT_TRUE(Lines(Request("")).empty());
}

TEST_F(FindAllTest, WildcardsMatchWholeValuesAndAPlainKeywordStaysASubstring) {
    EXPECT_EQ(Lines(Request("*.jpg")), (TStrings{
                                           "0\tHoliday 2022\tfilename\t/2022/beach.jpg",
                                           "0\tHoliday 2022\tfilename\t/2022/Beach 2.JPG",
                                           "0\tHoliday 2022\tfilename\t/photos/beach.jpg",
                                       }));
    EXPECT_EQ(Lines(Request("[0-9]*")), TStrings{"0\tHoliday 2022\tdirectory\t/2022"});
    // The memo is matched in its stored form, escapes and all.
    EXPECT_EQ(Lines(Request(R"(beach\r\n*)")), TStrings{"0\tHoliday 2022\tmemo\t/"});
    EXPECT_TRUE(Lines(Request("beach?")).empty());

    // Without wildcards the same texts are plain keywords: nothing holds "*.jpg" literally.
    TSearchRequest plain = Request("*.jpg");
    plain.Wildcards = false;
    EXPECT_TRUE(Lines(plain).empty());
    plain.Text = ".JPG";
    EXPECT_EQ(Lines(plain).size(), 3u);
}

TEST_F(FindAllTest, BuildingTheIndexLeavesTheDocumentAsItWas) {
    const std::string before = DocumentText(Root);
    const TNameIndex index(Root);
    FindAll(index, Request("e"));
    EXPECT_EQ(DocumentText(Root), before);

    // What the index knows to select a hit in the tree: the directory and its ID.
    ASSERT_EQ(index.DiscCount(), 3u);
    const std::vector<TFindHit> hits = FindAll(index, Request("setup"));
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(index.DirectoryID(hits[0].Directory), "6");
    EXPECT_EQ(index.DirectoryID(index.Disc(0).FirstDirectory), "1");
    EXPECT_EQ(index.DirectoryID(index.Disc(2).FirstDirectory), ""); // no Root: no ID
    EXPECT_EQ(HitPath(index, FindAll(index, Request("index"))[0]), "/index.html");
}

TEST_F(FindAllTest, AnIndexIsASnapshotAndANewOneFollowsTheDocument) {
    const TNameIndex before(Root);
    TXMLDiscType disc = Root.Discs().Add();
    disc.SetTitle("Added");
    disc.Root().SetID("7");
    TXMLDirectoryType directory = disc.Root().Directories().Add();
    directory.SetName("new beach");
    directory.SetID("8");
    Root.Discs().Disc(1).SetVendor("Sand Soft");
    Root.Discs().Remove(Root.Discs().Disc(0));

    EXPECT_EQ(Lines(before, FindAll(before, Request("beach"))).size(), 7u);
    EXPECT_EQ(Lines(Request("beach")), (TStrings{
                                           "1\tbeach box\ttitle\t/",
                                           "2\tAdded\tdirectory\t/new beach",
                                       }));
}

TEST_F(FindAllTest, AnIndexBuiltADiscAtATimeIsTheIndexBuiltAtOnce) {
    const TNameIndex whole(Root);
    TNameIndexBuilder builder(Root);
    // A time already past adds one disc per call.
    int calls = 1;
    while (!builder.AddDiscs(TNameIndexBuilder::TClock::now() - std::chrono::seconds(1)))
        ++calls;
    EXPECT_EQ(calls, 3);
    const TNameIndex pieces = builder.Finish();
    const TSearchRequest everything = Request("*");
    EXPECT_EQ(Lines(pieces, FindAll(pieces, everything)), Lines(whole, FindAll(whole, everything)));
    EXPECT_EQ(pieces.DirectoryCount(), whole.DirectoryCount());

    // The disc due next removed between two calls: the builder holds no node of it, so it reads
    // the disc now in its place, not freed memory (which the sanitizer build would see).
    TNameIndexBuilder changed(Root);
    changed.AddDiscs(TNameIndexBuilder::TClock::now());
    Root.Discs().Remove(Root.Discs().Disc(1));
    EXPECT_TRUE(changed.AddDiscs(TNameIndexBuilder::TClock::now()));
    EXPECT_EQ(changed.Finish().DiscCount(), 2u);
}

TEST_F(FindAllTest, SortsByEachColumnWithTiesInTheOrderFound) {
    const TNameIndex index(Root);
    std::vector<TFindHit> hits = FindAll(index, Request("e"));
    const TStrings found = Lines(index, hits);

    SortFindHits(index, hits, TFindOrder::Path, false);
    EXPECT_EQ(Lines(index, hits), (TStrings{
                                      "0\tHoliday 2022\tvendor\t/",
                                      "0\tHoliday 2022\tmemo\t/",
                                      "1\tSoftware\ttitle\t/",
                                      "1\tSoftware\tvendor\t/",
                                      "2\tbeach box\ttitle\t/",
                                      "0\tHoliday 2022\tfilename\t/index.html",
                                      "1\tSoftware\tfilename\t//setup.exe",
                                      "0\tHoliday 2022\tfilename\t/2022/Beach 2.JPG",
                                      "0\tHoliday 2022\tfilename\t/2022/beach.jpg",
                                      "0\tHoliday 2022\tdirectory\t/2022/beach misc",
                                      "0\tHoliday 2022\tfilename\t/photos/beach.jpg",
                                  }));

    SortFindHits(index, hits, TFindOrder::Disc, true);
    EXPECT_EQ(Lines(index, hits), (TStrings{
                                      "1\tSoftware\ttitle\t/",
                                      "1\tSoftware\tvendor\t/",
                                      "1\tSoftware\tfilename\t//setup.exe",
                                      "0\tHoliday 2022\tvendor\t/",
                                      "0\tHoliday 2022\tmemo\t/",
                                      "0\tHoliday 2022\tfilename\t/index.html",
                                      "0\tHoliday 2022\tfilename\t/2022/beach.jpg",
                                      "0\tHoliday 2022\tfilename\t/2022/Beach 2.JPG",
                                      "0\tHoliday 2022\tdirectory\t/2022/beach misc",
                                      "0\tHoliday 2022\tfilename\t/photos/beach.jpg",
                                      "2\tbeach box\ttitle\t/",
                                  }));

    SortFindHits(index, hits, TFindOrder::Field, false);
    TStrings fields;
    for (const std::string& line : Lines(index, hits))
        fields.push_back(line.substr(0, line.rfind('\t')));
    EXPECT_EQ(fields, (TStrings{
                          "0\tHoliday 2022\tdirectory",
                          "0\tHoliday 2022\tfilename",
                          "0\tHoliday 2022\tfilename",
                          "0\tHoliday 2022\tfilename",
                          "0\tHoliday 2022\tfilename",
                          "1\tSoftware\tfilename",
                          "0\tHoliday 2022\tmemo",
                          "1\tSoftware\ttitle",
                          "2\tbeach box\ttitle",
                          "0\tHoliday 2022\tvendor",
                          "1\tSoftware\tvendor",
                      }));

    SortFindHits(index, hits, TFindOrder::Found, false);
    EXPECT_EQ(Lines(index, hits), found);
}

TEST_F(FindAllTest, CountsThatLieOnlySizeTheIndexBadly) {
    const TNameIndex uncounted(Root); // the catalogue holds no counts
    const std::vector<std::string> found = Lines(Request("e"));
    for (const char* count : {"4000000000", "-3", "many", "0"}) {
        for (const TXMLDiscType disc : Root.Discs()) {
            disc.SetDirCount(count);
            disc.SetFileCount(count);
        }
        const TNameIndex index(Root);
        EXPECT_EQ(Lines(index, FindAll(index, Request("e"))), found) << count;
        // Room reserved for names that never came is given back.
        EXPECT_LT(index.MemoryBytes(), uncounted.MemoryBytes() + 4096) << count;
    }
}

TEST(FindAll, IndexesDirectoriesNestedDeeperThanTheCallStackAllows) {
    const int depth = 200000;
    const IXMLOrlentaDataType root = test::DeepCatalogue(depth);
    const TNameIndex index(root);
    const std::vector<TFindHit> hits = FindAll(index, Request("needle"));
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(index.DirectoryID(hits[0].Directory), std::to_string(depth));
    EXPECT_EQ(HitPath(index, hits[0]).size(), 2u * depth + 11);
}

} // namespace
} // namespace orlenta
